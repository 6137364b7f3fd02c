#include "ServiceNotify.h"

#include <cstdlib>
#include <systemd/sd-daemon.h>

namespace campanor::serviceNotify {

namespace {

void send(const char* state) {
    if (listening())
        sd_notify(0, state);
}

} // namespace

bool listening() {
    // Read on every call: a test sets it after the program has started.
    const char* socket = std::getenv("NOTIFY_SOCKET");
    return socket && *socket;
}

void ready() {
    send("READY=1");
}

void alive() {
    send("WATCHDOG=1");
}

void stopping() {
    send("STOPPING=1");
}

} // namespace campanor::serviceNotify
