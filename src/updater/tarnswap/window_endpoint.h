// Tarnswap's view of the running program: its "window" is the program's
// instance socket, named after the window title and the program directory,
// which is Tarnswap's current directory (the program starts it there). The
// naming rule is the program's own (platform/instance_endpoint.cc); Tarnswap
// links nothing of the program, so it keeps a copy here: keep both alike.
#pragma once

#include <string>

namespace tarnswap {

std::string EndpointPath(const std::string& title);

// A window with that title exists: its socket accepts a connection.
bool WindowFound(const std::string& title);

// Asks the program to quit, as the posted quit message does.
void PostQuit(const std::string& title);

}  // namespace tarnswap
