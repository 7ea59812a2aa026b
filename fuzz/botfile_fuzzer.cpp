// libFuzzer target: any bytes as bot.dat, through the loader into the bot
// table, and through the editor's save and load of the file.
#include "fuzzcheck.h"

#include "app/botfile.h"
#include "bot/boteditor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> folder;
const QString EarlierTrigger = QStringLiteral("earlier");
const QString EarlierReply = QStringLiteral("row from an earlier load");

bool sameRows(const Declares& a, const Declares& b, int rows)
{
    for (int i = 0; i < rows; ++i) {
        if (a.BotTable[i] != b.BotTable[i])
            return false;
    }
    return true;
}

void run(const QByteArray& bytes)
{
    const QString text = QString::fromLatin1(bytes);

    // The tables live across inputs: making 3,000 cells for every input would
    // cost more than the loading under test.
    static Declares loaded;
    static Declares again;
    static Declares fromFile;

    // A reload over a full table, as "/botupdate" does it.
    for (auto& row : loaded.BotTable)
        row = {EarlierTrigger, EarlierReply};
    const BotFile::LoadResult result = BotFile::parseInto(loaded, text);
    const int rows = result.rowsStored;
    fuzzCheck(rows >= 0 && rows <= Declares::BotRows, "row count outside the table");
    for (int i = 0; i < Declares::BotRows; ++i) {
        const auto& row = loaded.BotTable[i];
        if (i >= rows) {
            fuzzCheck(row[0] == EarlierTrigger && row[1] == EarlierReply, "a row past the records read was changed");
            continue;
        }
        fuzzCheck(!row[0].contains(u'|'), "a trigger holds the separator");
        fuzzCheck(!row[0].contains(QStringLiteral("\r\n")) && !row[1].contains(QStringLiteral("\r\n")),
                  "a field holds a line end");
    }

    // What the editor writes for the rows read back gives the same rows.
    QString rewritten;
    for (int i = 0; i < rows; ++i)
        rewritten = BotEditor::add(rewritten, loaded.BotTable[i][0], loaded.BotTable[i][1]);
    const BotFile::LoadResult reread = BotFile::parseInto(again, rewritten);
    fuzzCheck(reread.ok() && reread.rowsStored == rows && sameRows(loaded, again, rows),
              "the editor's text of the rows read reads back differently");

    // Saved by the editor, the file holds the text byte for byte, and the
    // loader reads from it what it reads from the text.
    fuzzCheck(BotEditor::save(folder->path(), text), "the editor could not save");
    const auto shown = BotEditor::load(folder->path());
    fuzzCheck(shown && *shown == text, "the editor loads other text than it saved");
    const BotFile::LoadResult fileResult = BotFile::LoadBotTable(fromFile, folder->path());
    fuzzCheck(fileResult.fault == result.fault && fileResult.rowsStored == rows && sameRows(loaded, fromFile, rows),
              "loading the file differs from loading its text");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** argv)
{
    static int qtArgc = 1;
    static char* qtArgv[] = {(*argv)[0], nullptr};
    static QCoreApplication app(qtArgc, qtArgv);
    // Every input is saved once: on a memory file system when there is one,
    // so the save's flush to disk does not set the pace.
    const QString shm = QStringLiteral("/dev/shm");
    const QString base = QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
    folder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/botfile_fuzzer-XXXXXX"));
    fuzzCheck(folder->isValid(), "no temporary folder for bot.dat");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    run(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
