#pragma once

#include "app/declares.h"
#include "app/ports.h"

#include <functional>

class Connection;
class PlayerSettings;
class KeptChat;

// What the lobby's actions and receivers work with: the client's state, its
// connection and the two desktop ports. endWithMessage() stops the client for
// good: nothing more is received or sent, the message is shown, the program ends.
struct LobbyContext {
    Declares& state;
    Connection& connection;
    View& view;
    Shell& shell;
    std::function<void(const QString& title, const QString& text, Shell::Icon icon)> endWithMessage;
    // A link question is open: links that come meanwhile are chat only.
    bool linkQuestionOpen = false;
    // The player's kept choices: who is ignored, whether alerts are on.
    PlayerSettings* settings = nullptr;
    // Where typed chat goes: kept while the lobby channel is not joined.
    KeptChat* chat = nullptr;
};

// Starts the launcher with commandLine; when it cannot be started the chat
// pane says so and the lobby goes on.
void startLauncher(LobbyContext& lobby, const QString& commandLine);
