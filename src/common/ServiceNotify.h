#pragma once

namespace campanor {

// Tells the service manager that started the program how it is doing: ready
// once the window is on the screen, alive at every tick. Under a watchdog a
// user-interface thread that stops ticking is then ended and started again.
// Without a service manager listening (no NOTIFY_SOCKET) every call is a
// single branch.
namespace serviceNotify {

bool listening();
void ready();
void alive();
// A deliberate end, so that the manager does not wait for the watchdog.
void stopping();

} // namespace serviceNotify
} // namespace campanor
