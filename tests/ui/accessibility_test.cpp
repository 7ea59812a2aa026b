// Screen readers reach every control of every shown window by a name a
// person understands. The hut slots' names are in the lobby window's tests.
#include "uitest.h"

#include "app/lobbychoice.h"

#include <QAccessible>
#include <QAccessibleInterface>

#include <gtest/gtest.h>

namespace {

void walk(QAccessibleInterface* node, QHash<QObject*, QString>& names, int depth = 0)
{
    if (!node || depth > 40)
        return;
    if (QObject* object = node->object())
        names.insert(object, node->text(QAccessible::Name));
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), names, depth + 1);
}

// Every control the window names is in its accessibility tree with a
// non-empty name; returns the names a screen reader reads.
QHash<QObject*, QString> expectAllNamed(QWidget* window)
{
    SCOPED_TRACE(window->objectName().toStdString());
    EXPECT_TRUE(window->isVisible());
    QHash<QObject*, QString> names;
    walk(QAccessible::queryAccessibleInterface(window), names);
    EXPECT_FALSE(names.value(window).isEmpty());
    int named = 0;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() || control->objectName().startsWith(QStringLiteral("qt_")) ||
            control->window() != window)
            continue;
        ++named;
        const std::string what = control->objectName().toStdString() + "(" +
                                 control->property("index").toString().toStdString() + ")";
        EXPECT_TRUE(names.contains(control)) << what << " is not in the accessibility tree";
        EXPECT_FALSE(names.value(control).trimmed().isEmpty()) << what;
    }
    EXPECT_GT(named, 8);
    return names;
}

TEST(Accessibility, EveryControlOfEveryShownWindowHasAName)
{
    // The names given beyond a control's own text.
    Desktop desktop;
    desktop.forms.Main();
    auto names = expectAllNamed(desktop.login());
    EXPECT_EQ(names.value(findControl(desktop.login(), QStringLiteral("NICKNAMEBOX"))),
              QStringLiteral("Nickname"));
    desktop.login()->hide();

    desktop.select()->show();
    names = expectAllNamed(desktop.select());
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(names.value(findControl(desktop.select(), QStringLiteral("LBYSEL"), i)),
                  LobbyChoice::lobbyCaption(i));
    desktop.select()->hide();

    Desktop inLobby;
    inLobby.enterLobby();
    names = expectAllNamed(inLobby.lobby());
    const char* const given[][2] = {{"OUTCHAT", "Chat input"},
                                    {"INCHAT", "Chat messages"},
                                    {"CHAT", "Users Chatting"},
                                    {"PLAY", "Users Playing"},
                                    {"SEND", "Send"}};
    for (const auto& [control, name] : given)
        EXPECT_EQ(names.value(findControl(inLobby.lobby(), QString::fromLatin1(control))), name);

    inLobby.lobby()->showBotEditor();
    expectAllNamed(inLobby.forms.editForm());
}

} // namespace
