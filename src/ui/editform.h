#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Shell;
struct Pictures;

// EditForm: the bot editor. DataBox shows the raw text of bot.dat, which
// Save writes back exactly as it stands.
class EditForm : public QWidget {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Bot Command Edit");

    EditForm(Shell& shell, const Pictures& pictures, QWidget* owner);

    // "/botedit": loads the window if Exit closed it (or it never opened), then shows it.
    void open();
    bool isLoaded() const { return m_loaded; }
    // The working copy, byte for byte as Save writes it.
    const QString& text() const { return m_text; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Esc leaves the editor as Exit does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Command3_Click();
    void Command4_Click();
    void Command1_Click();
    void Command2_Click();
    void setText(const QString& text);

    Shell& m_shell;
    const Pictures& m_pictures;
    QLabel* m_background = nullptr;
    QPlainTextEdit* m_data = nullptr;
    QLineEdit* m_trigger = nullptr;
    QLineEdit* m_reply = nullptr;
    QPushButton* m_exit = nullptr;
    QString m_text;
    bool m_loaded = false;
};
