#include "app/datafolder.h"

#include "app/botfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace DataFolder {

QString choose(const QString& programFolder, bool programWritable, const QString& userFolder)
{
    // Without a home folder the defaults are at least read; Save then says it failed.
    if (programWritable || userFolder.isEmpty())
        return programFolder;
    // QFile::copy writes a temporary file beside the target and renames it,
    // so a second copy of the program starting at the same time finds either
    // no bot.dat or a whole one.
    const QString seed = BotFile::path(userFolder);
    if (!QFileInfo::exists(seed) && QDir().mkpath(userFolder))
        QFile::copy(BotFile::path(programFolder), seed);
    return userFolder;
}

QString holding(const QString& file, const QString& dataFolder, const QString& programFolder)
{
    return QFileInfo::exists(QDir(dataFolder).filePath(file)) ? dataFolder : programFolder;
}

} // namespace DataFolder
