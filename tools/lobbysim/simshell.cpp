#include "simshell.h"

void SimShell::message(const QString&, const QString& text, Icon)
{
    m_messages.append(text);
}

void SimShell::askYesNo(const QString&, const QString&, std::function<void(bool yes)> answered)
{
    ++m_questions;
    answered(false);
}

bool SimShell::startProgram(const QString& commandLine)
{
    m_started.append(commandLine);
    return true;
}
