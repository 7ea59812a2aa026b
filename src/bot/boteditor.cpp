#include "bot/boteditor.h"

#include "app/botfile.h"
#include "app/wiretext.h"

#include <QFile>
#include <QSaveFile>

namespace BotEditor {

std::optional<QString> load(const QString& folder)
{
    QFile file(BotFile::path(folder));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return QString::fromLatin1(bytes);
}

QString add(const QString& text, const QString& trigger, const QString& reply)
{
    return text + WireText::fromTyped(trigger) + u'|' + WireText::fromTyped(reply) + QStringLiteral("\r\n");
}

bool save(const QString& folder, const QString& text)
{
    QSaveFile file(BotFile::path(folder));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = text.toLatin1();
    // A write error may only show when the buffer is flushed, and commit()
    // does not report it: without this check a cut-short file replaces the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace BotEditor
