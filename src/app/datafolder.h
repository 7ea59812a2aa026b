#pragma once

#include <QString>

// Where the player's own files are: bot.dat, which the bot editor saves, and
// the backdrops a player may replace.
namespace DataFolder {

// The program's own folder when it can be written there (a portable copy, the
// build tree); otherwise userFolder, made on first use and given a copy of the
// program's bot.dat, so the editor and "/botupdate" start from the installed
// default. A bot.dat already in userFolder is never replaced. Without a
// userFolder (no home folder) the program's folder is all there is.
QString choose(const QString& programFolder, bool programWritable, const QString& userFolder);

// The folder to read file from: dataFolder when the player keeps a copy there,
// else programFolder, which holds the installed default.
QString holding(const QString& file, const QString& dataFolder, const QString& programFolder);

} // namespace DataFolder
