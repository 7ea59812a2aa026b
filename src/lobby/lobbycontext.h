#pragma once

#include "app/declares.h"
#include "app/ports.h"

#include <functional>

class Connection;

// What the lobby's actions and receivers work with: the client's state, its
// connection and the two desktop ports. end() stops the client for good.
struct LobbyContext {
    Declares& state;
    Connection& connection;
    View& view;
    Shell& shell;
    std::function<void()> end;
};

// Starts the launcher with commandLine; when it cannot be started the chat
// pane says so and the lobby goes on.
void startLauncher(LobbyContext& lobby, const QString& commandLine);
