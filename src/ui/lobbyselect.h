#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class Shell;
struct Declares;
struct Pictures;

// LobbySelect: nine lobby spots over the selection picture, and a clan
// lobby typed by name. A choice sets CurrentChannel and hands over to the lobby.
class LobbySelect : public QWidget {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Select Lobby (lobby 1 is Main Lobby)");

    LobbySelect(Declares& state, Shell& shell, const Pictures& pictures, QWidget* parent = nullptr);

signals:
    // CurrentChannel is set and this window hid itself: the lobby shows now.
    void lobbyChosen();
    // The player closed the window without choosing; it stays until told otherwise.
    void dismissed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load(const Pictures& pictures);
    void LBYSEL_Click(int index);
    void Command1_Click();
    void buildCaptions();
    void buildClanRow(const Pictures& pictures);

    Declares& m_d;
    Shell& m_shell;
    QLabel* m_background = nullptr;
    QLabel* m_select = nullptr;
    QLineEdit* m_clan = nullptr;
};
