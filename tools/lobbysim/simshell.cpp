#include "simshell.h"

void SimShell::message(const QString&, const QString& text, Icon)
{
    m_messages.append(text);
}

bool SimShell::askYesNo(const QString&, const QString&)
{
    ++m_questions;
    return false;
}

bool SimShell::startProgram(const QString& commandLine)
{
    m_started.append(commandLine);
    return true;
}
