#include "fakes.h"

// The fuzzers build the fakes on their own (fuzz/CMakeLists.txt), and the moc
// output of FakeTransport is compiled only into a target with a source file.
QStringList FakeTransport::takeLines()
{
    QString text = QString::fromLatin1(m_sent);
    m_sent.clear();
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    return text.isEmpty() ? QStringList() : text.split(QStringLiteral("\r\n"));
}
