// The program's own files turned hostile, through the windows' start-up, the
// bot editor and the lobby window: one message where one is due, never a
// crash, a hang or a lost bot.dat.
#include "filesizelimit.h"
#include "uitest.h"

#include "ui/pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

const QString DataFilesMessage = QStringLiteral("Could Not Load Data Files");

QStringList messages(const Desktop& desktop)
{
    QStringList texts;
    for (const auto& m : desktop.shell.messages)
        texts << m.text;
    return texts;
}

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
    QRandomGenerator random(2463534242u);
    QByteArray bytes(size, '\0');
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

TEST(HostileStartUp, APictureFileThatIsNoPictureEndsTheLoadingWithOneMessageThenTheLogin)
{
    const ProgramFolder original;
    const QString bg = QStringLiteral("bg.jpg"), huts = QStringLiteral("huts.jpg"),
                  select = QStringLiteral("select.jpg");
    ASSERT_FALSE(hugeDeclaredJpeg(original.read(select)).isEmpty());
    const struct {
        const char* what;
        QString file;
        // What the file becomes; without it, a folder.
        std::function<QByteArray(const QByteArray& original)> spoilt;
    } cases[] = {
        {"an empty bg.jpg", bg, [](const QByteArray&) { return QByteArray(); }},
        {"huts.jpg cut off after its header", huts, [](const QByteArray& jpeg) { return jpeg.left(300); }},
        {"select.jpg claiming 65000 x 65000 pixels", select, hugeDeclaredJpeg},
        {"a megabyte of noise as bg.jpg", bg, [](const QByteArray&) { return noise(1 << 20); }},
        {"huts.jpg is a folder", huts, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Desktop desktop;
        desktop.folder.remove(c.file);
        if (c.spoilt)
            desktop.folder.write(c.file, c.spoilt(original.read(c.file)));
        else
            ASSERT_TRUE(QDir(desktop.folder.path()).mkdir(c.file));
        desktop.forms.Main();

        EXPECT_EQ(messages(desktop), QStringList{DataFilesMessage});
        EXPECT_TRUE(desktop.login()->isVisible());
        const Pictures& pictures = desktop.forms.pictures();
        EXPECT_EQ(pictures.BG1.isNull(), c.file == bg);
        EXPECT_EQ(pictures.HUTSIMG.isNull(), c.file != select);
        EXPECT_TRUE(pictures.SELECT1.isNull());
        // The loading stopped before the bot table.
        EXPECT_TRUE(desktop.state().BotTable[0][0].isEmpty());
    }
}

QPushButton* button(QWidget* window, const char* name)
{
    return window->findChild<QPushButton*>(QString::fromLatin1(name));
}

TEST(HostileEditor, ASaveThatCannotBeWrittenSaysSoKeepsTheTextAndLeavesTheFileWhole)
{
    Desktop desktop;
    const QByteArray old = desktop.folder.read(QStringLiteral("bot.dat"));
    ASSERT_FALSE(old.isEmpty());
    const auto files = [&] { return QDir(desktop.folder.path()).entryList(QDir::Files | QDir::Hidden); };
    const QStringList filesBefore = files();
    EditForm* editor = desktop.forms.editForm();
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
    EXPECT_EQ(messages(desktop), QStringList{QStringLiteral("Could Not Save Data")});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), edited);
    EXPECT_EQ(desktop.folder.read(QStringLiteral("bot.dat")), old);
    EXPECT_EQ(files(), filesBefore);

    // Once there is room again the same text is saved.
    button(editor, "Command1")->click();
    EXPECT_EQ(desktop.shell.messages.size(), 1u);
    EXPECT_EQ(desktop.folder.read(QStringLiteral("bot.dat")), edited.toLatin1());
}

TEST(HostileEditor, TenMegabytesOfBotFileOpenInTheEditor)
{
    for (const QByteArray& bytes :
         {QByteArray("hi|hello\r\n").repeated(1000 * 1000), QByteArray(10 * 1000 * 1000, 'z')}) {
        SCOPED_TRACE(bytes.left(10).toStdString());
        Desktop desktop;
        desktop.folder.write(QStringLiteral("bot.dat"), bytes);
        EditForm* editor = desktop.forms.editForm();
        editor->open();
        QCoreApplication::processEvents();
        EXPECT_TRUE(desktop.shell.messages.empty());
        EXPECT_EQ(editor->text(), QString::fromLatin1(bytes));
    }
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
        Desktop desktop;
        desktop.enterLobby();
        if (lineByLine) {
            for (const QByteArray& line : lines)
                desktop.transport.deliver(line);
        } else {
            desktop.transport.deliver(lines.join());
        }
        desktop.forms.client().Timer1_Timer();
        QCoreApplication::processEvents();

        const auto* chatting = control<QListWidget>(desktop.lobby(), QStringLiteral("CHAT"));
        const auto* playing = control<QListWidget>(desktop.lobby(), QStringLiteral("PLAY"));
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
