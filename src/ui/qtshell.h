#pragma once

#include "app/ports.h"

// The desktop as the lobby needs it: message boxes, starting the launcher,
// the program's and the player's folders, and ending the process.
class QtShell : public Shell {
public:
    void message(const QString& title, const QString& text, Icon icon = Icon::None) override;
    void askYesNo(const QString& title, const QString& text, std::function<void(bool yes)> answered) override;
    bool startProgram(const QString& commandLine) override;
    // Ends the process on the spot, as the lobby always has: no QUIT line, no
    // further event, nothing saved. The operating system drops the socket.
    [[noreturn]] void endProgram() override;
    QString programFolder() const override;
    // Decided at the first call, which may make the player's folder.
    QString dataFolder() const override;

    // The program and its arguments of a command line split at blanks. A
    // program given without a folder that is not on the search path is
    // looked for in each of folders in turn.
    static QStringList splitCommandLine(const QString& commandLine, const QStringList& folders);

private:
    mutable QString m_dataFolder;
};
