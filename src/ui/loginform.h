#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class Shell;
struct Declares;
struct Pictures;

// LoginForm: the first window. A valid name becomes the nickname and leads
// on to the lobby choice; closing the window or Exit ends the program.
class LoginForm : public QWidget {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Zenthara Razaz Aduda Clone");

    LoginForm(Declares& state, Shell& shell, const Pictures& pictures, QWidget* parent = nullptr);

signals:
    // The name was accepted and the window hid itself.
    void loggedIn();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load(const Pictures& pictures);
    void Command1_Click();
    void Command2_Click();

    Declares& m_d;
    Shell& m_shell;
    QLabel* m_background = nullptr;
    QLabel* m_logo = nullptr;
    QLineEdit* m_name = nullptr;
};
