// The program's own files turned hostile, through the windows' start-up, the
// bot editor and the lobby window: one message where one is due, never a
// crash, a hang or a lost bot.dat.
#include "fakes.h"
#include "filesizelimit.h"

#include "ui/editform.h"
#include "ui/forms.h"
#include "ui/lobbywindow.h"
#include "ui/loginform.h"
#include "ui/pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString DataFilesMessage = QStringLiteral("Could Not Load Data Files");

// A copy of the files the build puts beside the program, to spoil at will.
class ProgramFiles {
public:
    ProgramFiles()
    {
        const QDir built(QCoreApplication::applicationDirPath());
        for (const char* name : {"bg.jpg", "huts.jpg", "select.jpg", "bot.dat"})
            QFile::copy(built.filePath(QString::fromLatin1(name)), file(QString::fromLatin1(name)));
    }
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QByteArray read(const QString& name) const
    {
        QFile in(file(name));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile::remove(file(name));
        QFile out(file(name));
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
    }

private:
    QTemporaryDir m_dir;
};

// The program's windows around a client on fake ports, its folder a spoilable copy.
struct Program {
    ProgramFiles files;
    FakeTransport transport;
    FakeShell shell;
    Forms forms{transport, shell};

    Program() { shell.folder = files.path(); }
    QStringList messages() const
    {
        QStringList texts;
        for (const auto& m : shell.messages)
            texts << m.text;
        return texts;
    }
};

// A real JPEG whose header claims 65,000 by 65,000 pixels: 17 GB to decode.
QByteArray hugeDeclaredJpeg(QByteArray jpeg)
{
    for (qsizetype i = 0; i + 8 < jpeg.size(); ++i) {
        const auto marker = uchar(jpeg[i + 1]);
        if (uchar(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC1 || marker == 0xC2)) {
            // Height, then width, two bytes each after the length and the precision.
            for (int k : {5, 7}) {
                jpeg[i + k] = char(0xFD);
                jpeg[i + k + 1] = char(0xE8);
            }
            return jpeg;
        }
    }
    return {};
}

QByteArray noise(int size)
{
    QByteArray bytes(size, '\0');
    quint32 x = 2463534242u;
    for (char& c : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x);
    }
    return bytes;
}

TEST(HostileStartUp, APictureFileThatIsNoPictureEndsTheLoadingWithOneMessageThenTheLogin)
{
    const ProgramFiles original;
    ASSERT_FALSE(hugeDeclaredJpeg(original.read(QStringLiteral("select.jpg"))).isEmpty());
    const struct {
        const char* what;
        QString file;
        std::function<void(const ProgramFiles&)> spoil;
    } cases[] = {
        {"an empty bg.jpg", QStringLiteral("bg.jpg"), [](const ProgramFiles& f) { f.write(QStringLiteral("bg.jpg"), {}); }},
        {"huts.jpg cut off after its header", QStringLiteral("huts.jpg"),
         [](const ProgramFiles& f) { f.write(QStringLiteral("huts.jpg"), f.read(QStringLiteral("huts.jpg")).left(300)); }},
        {"select.jpg claiming 65000 x 65000 pixels", QStringLiteral("select.jpg"),
         [](const ProgramFiles& f) { f.write(QStringLiteral("select.jpg"), hugeDeclaredJpeg(f.read(QStringLiteral("select.jpg")))); }},
        {"a megabyte of noise as bg.jpg", QStringLiteral("bg.jpg"),
         [](const ProgramFiles& f) { f.write(QStringLiteral("bg.jpg"), noise(1 << 20)); }},
        {"huts.jpg is a folder", QStringLiteral("huts.jpg"),
         [](const ProgramFiles& f) {
             QFile::remove(f.file(QStringLiteral("huts.jpg")));
             QDir(f.path()).mkdir(QStringLiteral("huts.jpg"));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Program program;
        c.spoil(program.files);
        program.forms.Main();

        EXPECT_EQ(program.messages(), QStringList{DataFilesMessage});
        EXPECT_TRUE(program.forms.loginForm()->isVisible());
        const Pictures& pictures = program.forms.pictures();
        const bool bgBad = c.file == QStringLiteral("bg.jpg");
        const bool hutsBad = c.file == QStringLiteral("huts.jpg");
        EXPECT_EQ(pictures.BG1.isNull(), bgBad);
        EXPECT_EQ(pictures.HUTSIMG.isNull(), bgBad || hutsBad);
        EXPECT_TRUE(pictures.SELECT1.isNull());
        // The loading stopped before the bot table.
        EXPECT_TRUE(program.forms.client().state().BotTable[0][0].isEmpty());
    }
}

TEST(HostileStartUp, AHostileBotFileLoadsWhatItCanAndShowsTheMessageForAFault)
{
    QByteArray tenMegabytes;
    for (int i = 0; tenMegabytes.size() < 10 * 1000 * 1000; ++i)
        tenMegabytes += "t" + QByteArray::number(i) + "|reply " + QByteArray::number(i) + "\r\n";
    QByteArray fiveThousand;
    for (int i = 0; i < 5000; ++i)
        fiveThousand += "t" + QByteArray::number(i) + "|r\r\n";
    const struct {
        const char* what;
        QByteArray bytes;
        bool message;
        QString lastTrigger;
    } cases[] = {
        {"10 MB of records", tenMegabytes, true, QStringLiteral("t1000")},
        {"5,000 records", fiveThousand, true, QStringLiteral("t1000")},
        {"10 MB without a line end", QByteArray(10 * 1000 * 1000, 'z'), true, QString()},
        {"NUL bytes", QByteArray("a\0b|c\0d\r\n", 9), false, QStringLiteral("a") + QChar(0) + u'b'},
        {"no line ends", "hi|hello", true, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Program program;
        program.files.write(QStringLiteral("bot.dat"), c.bytes);
        program.forms.Main();

        EXPECT_EQ(program.messages(), c.message ? QStringList{DataFilesMessage} : QStringList());
        EXPECT_TRUE(program.forms.loginForm()->isVisible());
        const Declares& d = program.forms.client().state();
        int rows = 0;
        while (rows < Declares::BotRows && !d.BotTable[rows][0].isEmpty())
            ++rows;
        EXPECT_EQ(rows > 0 ? d.BotTable[rows - 1][0] : QString(), c.lastTrigger);
    }
}

QPushButton* button(QWidget* window, const char* name)
{
    return window->findChild<QPushButton*>(QString::fromLatin1(name));
}

TEST(HostileEditor, ASaveThatCannotBeWrittenSaysSoKeepsTheTextAndLeavesTheFileWhole)
{
    Program program;
    const QByteArray old = program.files.read(QStringLiteral("bot.dat"));
    ASSERT_FALSE(old.isEmpty());
    EditForm* editor = program.forms.editForm();
    editor->open();
    editor->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("hello"));
    editor->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QString(8192, u'x'));
    button(editor, "Command3")->click();
    const QString edited = editor->text();
    ASSERT_TRUE(edited.endsWith(QStringLiteral("hello|") + QString(8192, u'x') + QStringLiteral("\r\n")));

    {
        // Less than the new text needs, more than the old file holds.
        FileSizeLimit limit(rlim_t(old.size() + 1024));
        ASSERT_TRUE(limit.ok());
        button(editor, "Command1")->click();
    }
    EXPECT_EQ(program.messages(), QStringList{QStringLiteral("Could Not Save Data")});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), edited);
    EXPECT_EQ(program.files.read(QStringLiteral("bot.dat")), old);
    EXPECT_EQ(QDir(program.files.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"bg.jpg", "bot.dat", "huts.jpg", "select.jpg"}));

    // Once there is room again the same text is saved.
    button(editor, "Command1")->click();
    EXPECT_EQ(program.shell.messages.size(), 1u);
    EXPECT_EQ(program.files.read(QStringLiteral("bot.dat")), edited.toLatin1());
}

// Opens the editor on bot.dat and returns the text it shows.
QString openEditorOn(const QByteArray& bytes)
{
    Program program;
    program.files.write(QStringLiteral("bot.dat"), bytes);
    EditForm* editor = program.forms.editForm();
    editor->open();
    QCoreApplication::processEvents();
    EXPECT_TRUE(program.shell.messages.empty());
    return editor->text();
}

TEST(HostileEditor, TenMegabytesOfRecordsOpenInTheEditor)
{
    const QByteArray bytes = QByteArray("hi|hello\r\n").repeated(1000 * 1000);
    EXPECT_EQ(openEditorOn(bytes), QString::fromLatin1(bytes));
}

TEST(HostileEditor, TenMegabytesWithoutALineEndOpenInTheEditor)
{
    const QByteArray bytes(10 * 1000 * 1000, 'z');
    EXPECT_EQ(openEditorOn(bytes), QString::fromLatin1(bytes));
}

TEST(HostileLobbyWindow, AHundredThousandNamesFillTheListsOfTheRealWindow)
{
    QByteArrayList lines;
    for (int line = 0; line < 4000; ++line) {
        QByteArray text = ":irc.zen.test 353 MM_aaFFFBob = #ZentharaNET_0 :";
        for (int n = line * 25; n < (line + 1) * 25; ++n)
            text += (n % 2 ? "MM_abFFFP" : "MM_aaFFFC") + QByteArray::number(n) + ' ';
        lines << text + "\r\n";
    }
    lines << ":irc.zen.test 366 MM_aaFFFBob #ZentharaNET_0 :End of NAMES list\r\n";

    for (const bool lineByLine : {false, true}) {
        SCOPED_TRACE(lineByLine ? "a line a read" : "one read");
        Program program;
        program.forms.Main();
        LobbyClient& client = program.forms.client();
        Declares& d = client.state();
        d.CodeLetter = QStringLiteral("a");
        d.MyNick = QStringLiteral("MM_aaFFFBob");
        d.CurrentChannel = QStringLiteral("#ZentharaNET_0");
        client.Form_Load();
        program.transport.acceptConnection();

        if (lineByLine) {
            for (const QByteArray& line : lines)
                program.transport.deliver(line);
        } else {
            program.transport.deliver(lines.join());
        }
        client.Timer1_Timer();
        QCoreApplication::processEvents();

        QWidget* lobby = program.forms.lobby();
        const auto* chatting = lobby->findChild<QListWidget*>(QStringLiteral("CHAT"));
        const auto* playing = lobby->findChild<QListWidget*>(QStringLiteral("PLAY"));
        ASSERT_NE(chatting, nullptr);
        ASSERT_NE(playing, nullptr);
        ASSERT_EQ(chatting->count(), 50000);
        ASSERT_EQ(playing->count(), 50000);
        EXPECT_EQ(chatting->item(0)->text(), QStringLiteral("C0"));
        EXPECT_EQ(chatting->item(49999)->text(), QStringLiteral("C99998"));
        EXPECT_EQ(playing->item(49999)->text(), QStringLiteral("P99999"));
    }
}

} // namespace
