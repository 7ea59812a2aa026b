#pragma once

#include "app/declares.h"

#include <QString>

// bot.dat: one "trigger|reply" record per line, each line ended by CR LF,
// one byte per character.
namespace BotFile {

inline const QString FileName = QStringLiteral("bot.dat");

enum class Fault {
    None,
    Unreadable,      // missing or cannot be read
    Unterminated,    // three or more characters left without a line end
    NoSeparator,     // a record without "|" (an empty line among the records is one)
    TooManyRecords,  // a record that would go past the last row of the table
};

struct LoadResult {
    Fault fault = Fault::None;
    int rowsStored = 0;
    bool ok() const { return fault == Fault::None; }
};

// Fills BotTable from row 0 with the records of text. Rows past the last
// record stored keep what they held. At a fault it stops; the rows stored
// before the faulty record stay.
LoadResult parseInto(Declares& state, const QString& text);

// LoadBotTable: reads folder/bot.dat whole and parses it into BotTable.
LoadResult LoadBotTable(Declares& state, const QString& folder);

QString path(const QString& folder);

} // namespace BotFile
