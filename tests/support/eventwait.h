#pragma once

#include <functional>

// Runs the event loop until `done()` holds or `timeoutMs` have passed; true if
// it holds. `done()` is checked again after every batch of events, so a wait
// for a socket or process event ends as soon as that event has been handled.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);
