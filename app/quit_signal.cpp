// A quit signal noted in a flag that the main loop reads.
#include "app/quit_signal.h"

#include <csignal>

namespace {
volatile std::sig_atomic_t quitSeen = 0;

// Only an async-signal-safe store: no SDL, no Xlib, no allocation.
void noteQuit(int) {
    quitSeen = 1;
}
} // namespace

void catchQuitSignal() {
    struct sigaction action = {};
    action.sa_handler = noteQuit;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGQUIT, &action, nullptr);
}

bool quitSignalled() {
    return quitSeen != 0;
}

void clearQuitSignal() {
    quitSeen = 0;
}
