#include "app/botfile.h"

#include <QDir>
#include <QFile>

namespace BotFile {

QString path(const QString& folder)
{
    return QDir(folder).filePath(FileName);
}

LoadResult parseInto(Declares& state, const QString& text)
{
    LoadResult result;
    qsizetype pos = 0;
    // Reading stops once two characters or fewer are left: a final CR LF, or a
    // stray character after it, is no record.
    while (text.size() - pos > 2) {
        const qsizetype end = text.indexOf(QStringLiteral("\r\n"), pos);
        if (end < 0) {
            result.fault = Fault::Unterminated;
            return result;
        }
        const QStringView record = QStringView(text).mid(pos, end - pos);
        pos = end + 2;
        const qsizetype bar = record.indexOf(u'|');
        if (bar < 0) {
            result.fault = Fault::NoSeparator;
            return result;
        }
        if (result.rowsStored >= Declares::BotRows) {
            result.fault = Fault::TooManyRecords;
            return result;
        }
        auto& row = state.BotTable[result.rowsStored];
        row[0] = record.left(bar).toString();
        row[1] = record.mid(bar + 1).toString();
        ++result.rowsStored;
    }
    return result;
}

LoadResult LoadBotTable(Declares& state, const QString& folder)
{
    QFile file(path(folder));
    if (!file.open(QIODevice::ReadOnly))
        return {Fault::Unreadable, 0};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {Fault::Unreadable, 0};
    return parseInto(state, QString::fromLatin1(bytes));
}

} // namespace BotFile
