#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>

// Readable failure output for Qt texts: line ends shown as \r and \n.
inline void PrintTo(const QString& text, std::ostream* os)
{
    QString shown = text;
    *os << '"'
        << shown.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n")).toStdString()
        << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    PrintTo(QString::fromLatin1(bytes), os);
}
