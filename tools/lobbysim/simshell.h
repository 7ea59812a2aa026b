#pragma once

#include "app/ports.h"

#include <QStringList>

// The desktop of a simulated player: nothing is shown and nothing is started.
// Message boxes and command lines are recorded, link questions are answered
// No, and the end of the program only marks the player as gone.
class SimShell : public Shell {
public:
    void message(const QString& title, const QString& text, Icon icon) override;
    void askYesNo(const QString& title, const QString& text, std::function<void(bool yes)> answered) override;
    bool startProgram(const QString& commandLine) override;
    void endProgram() override { m_ended = true; }
    QString programFolder() const override { return m_folder; }
    QString dataFolder() const override { return m_folder; }

    void setProgramFolder(const QString& folder) { m_folder = folder; }

    bool ended() const { return m_ended; }
    const QStringList& messages() const { return m_messages; }
    // The command lines the player's client asked to start, oldest first.
    const QStringList& started() const { return m_started; }
    int questionsAsked() const { return m_questions; }

private:
    QStringList m_messages;
    QStringList m_started;
    QString m_folder;
    int m_questions = 0;
    bool m_ended = false;
};
