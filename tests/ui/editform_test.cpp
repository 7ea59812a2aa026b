// The bot editor window: load, Add, Clear, Save, Exit, and opening it again.
// Clear, Add and Save together are in the lobby window's tests; a save the
// disk refuses is in the hostile tests.
#include "uitest.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class BotEditorWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        desktop.enterLobby();
        desktop.folder.write(QStringLiteral("bot.dat"), Original);
        desktop.type(QStringLiteral("/botedit"));
        editor = desktop.forms.editForm();
        ASSERT_TRUE(editor->isVisible());
    }

    void press(const char* name) { click(control<QWidget>(editor, QString::fromLatin1(name))); }
    QLineEdit* box(const char* name) { return control<QLineEdit>(editor, QString::fromLatin1(name)); }
    QString shown() { return control<QPlainTextEdit>(editor, QStringLiteral("DataBox"))->toPlainText(); }
    QByteArray file() { return desktop.folder.read(QStringLiteral("bot.dat")); }
    void add(const QString& trigger, const QString& reply)
    {
        box("Text1")->setText(trigger);
        box("Text2")->setText(reply);
        press("Command3");
    }

    const QByteArray Original = QByteArrayLiteral("hi|hello\r\ngg|well played\r\n");
    Desktop desktop;
    EditForm* editor = nullptr;
};

TEST_F(BotEditorWindow, ShowsTheFileAsItIsAddAppendsAPairAndEnterSavesTheTextExactly)
{
    EXPECT_EQ(editor->text().toLatin1(), Original);
    EXPECT_EQ(shown(), QStringLiteral("hi|hello\ngg|well played\n"));
    EXPECT_TRUE(desktop.shell.messages.empty());

    add(QStringLiteral("bye"), QStringLiteral("see you|soon"));
    EXPECT_EQ(box("Text1")->text(), QStringLiteral("bye"));
    EXPECT_EQ(box("Text2")->text(), QStringLiteral("see you|soon"));
    EXPECT_EQ(file(), Original) << "nothing is written before Save";
    QTest::keyClick(box("Text2"), Qt::Key_Return);
    EXPECT_EQ(file(), Original + "bye|see you|soon\r\n");
}

TEST_F(BotEditorWindow, ExitDropsUnsavedChangesAndTheNextBoteditReadsTheFileAgain)
{
    add(QStringLiteral("lost"), QStringLiteral("pair"));
    press("Command2");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(file(), Original);

    desktop.folder.write(QStringLiteral("bot.dat"), "new|text\r\n");
    desktop.type(QStringLiteral("/botedit"));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), QStringLiteral("new|text\r\n"));
    EXPECT_TRUE(box("Text1")->text().isEmpty());
}

TEST_F(BotEditorWindow, BoteditWhileOpenOnlyShowsIt)
{
    add(QStringLiteral("kept"), QStringLiteral("pair"));
    desktop.folder.write(QStringLiteral("bot.dat"), "other|file\r\n");
    editor->hide();
    desktop.type(QStringLiteral("/botedit"));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text().toLatin1(), Original + "kept|pair\r\n");
}

TEST_F(BotEditorWindow, AMissingFileIsReportedAndSaveCreatesIt)
{
    press("Command2");
    desktop.folder.remove(QStringLiteral("bot.dat"));
    desktop.type(QStringLiteral("/botedit"));
    ASSERT_EQ(desktop.shell.messages.size(), 1u);
    EXPECT_EQ(desktop.shell.messages[0].title, QStringLiteral("ZenLobby"));
    EXPECT_EQ(desktop.shell.messages[0].text, QStringLiteral("Could Not Load Data"));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(shown().isEmpty());
    add(QStringLiteral("hi"), QStringLiteral("there"));
    press("Command1");
    EXPECT_EQ(file(), QByteArrayLiteral("hi|there\r\n"));
}

} // namespace
