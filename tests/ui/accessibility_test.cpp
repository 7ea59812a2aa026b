// Screen readers reach every control of every shown window by a name a
// person understands.
#include "uitest.h"

#include "app/lobbychoice.h"
#include "eventwait.h"
#include "ui/imagebutton.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// Every object reachable through the accessibility tree of `window`, with the
// name and description a screen reader would read.
struct Reached {
    QString name;
    QString description;
};

void walk(QAccessibleInterface* node, QHash<QObject*, Reached>& reached, int depth = 0)
{
    if (!node || depth > 40)
        return;
    if (QObject* object = node->object())
        reached.insert(object, {node->text(QAccessible::Name), node->text(QAccessible::Description)});
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), reached, depth + 1);
}

QHash<QObject*, Reached> accessibleTree(QWidget* window)
{
    QHash<QObject*, Reached> reached;
    walk(QAccessible::queryAccessibleInterface(window), reached);
    return reached;
}

// Every control the window names is in its tree with a non-empty name.
void expectAllNamed(QWidget* window)
{
    SCOPED_TRACE(window->objectName().toStdString());
    ASSERT_TRUE(window->isVisible());
    const QHash<QObject*, Reached> tree = accessibleTree(window);
    EXPECT_FALSE(tree.value(window).name.isEmpty());
    int named = 0;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() || control->objectName().startsWith(QStringLiteral("qt_")) ||
            control->window() != window)
            continue;
        ++named;
        const QVariant index = control->property("index");
        const std::string what = control->objectName().toStdString() +
                                 (index.isValid() ? "(" + index.toString().toStdString() + ")" : "");
        ASSERT_TRUE(tree.contains(control)) << what << " is not in the accessibility tree";
        EXPECT_FALSE(tree.value(control).name.trimmed().isEmpty()) << what;
    }
    EXPECT_GT(named, 8);
}

QString nameOf(QWidget* window, const QString& control, int index = -1)
{
    return accessibleTree(window).value(findControl(window, control, index)).name;
}

TEST(Accessibility, EveryControlOfEveryShownWindowHasAName)
{
    Desktop desktop;
    desktop.forms.Main();
    expectAllNamed(desktop.login());
    EXPECT_EQ(nameOf(desktop.login(), QStringLiteral("NICKNAMEBOX")), QStringLiteral("Nickname"));
    EXPECT_EQ(nameOf(desktop.login(), QStringLiteral("Command1")), QStringLiteral("Login"));
    EXPECT_EQ(nameOf(desktop.login(), QStringLiteral("Label4")), QStringLiteral("V0.60"));
    desktop.login()->hide();

    desktop.forms.lobbySelect()->show();
    expectAllNamed(desktop.select());
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(nameOf(desktop.select(), QStringLiteral("LBYSEL"), i), LobbyChoice::lobbyCaption(i));
    EXPECT_EQ(nameOf(desktop.select(), QStringLiteral("Command1")), QStringLiteral("Join"));
    desktop.select()->hide();

    Desktop inLobby;
    inLobby.enterLobby();
    expectAllNamed(inLobby.lobby());
    const QString names[][2] = {{QStringLiteral("OUTCHAT"), QStringLiteral("Chat input")},
                                {QStringLiteral("INCHAT"), QStringLiteral("Chat messages")},
                                {QStringLiteral("CHAT"), QStringLiteral("Users Chatting")},
                                {QStringLiteral("PLAY"), QStringLiteral("Users Playing")},
                                {QStringLiteral("ChatLabel"), QStringLiteral("Users Chatting")},
                                {QStringLiteral("SEND"), QStringLiteral("Send")}};
    for (const auto& [control, name] : names)
        EXPECT_EQ(nameOf(inLobby.lobby(), control), name);

    inLobby.lobby()->showBotEditor();
    expectAllNamed(inLobby.forms.editForm());
    EXPECT_EQ(nameOf(inLobby.forms.editForm(), QStringLiteral("Command1")), QStringLiteral("Save"));
}

TEST(Accessibility, EachHutSlotIsNamedAndDescribesItsOccupant)
{
    Desktop desktop;
    desktop.enterLobby();
    desktop.forms.client().setTimerIntervals(20, 100000);
    desktop.transport.deliver(":irc.test 353 MM_aaFFFBob = #ZentharaNET_0 :MM_aa032Ann MM_aaFFFBob\r\n");
    ASSERT_TRUE(waitUntil(
        [&] {
            return !control<ImageButton>(desktop.lobby(), QStringLiteral("Hut"), 32)->toolTip().isEmpty();
        },
        5000));

    const QHash<QObject*, Reached> tree = accessibleTree(desktop.lobby());
    for (int hut = 0; hut < 4; ++hut) {
        for (int slot = 0; slot < 4; ++slot) {
            const Reached read =
                tree.value(findControl(desktop.lobby(), QStringLiteral("Hut"), 10 * hut + slot));
            EXPECT_EQ(read.name, QStringLiteral("Hut %1 slot %2").arg(hut).arg(slot));
            EXPECT_EQ(read.description, hut == 3 && slot == 2 ? QStringLiteral("Ann") : QString());
        }
    }
}

} // namespace
