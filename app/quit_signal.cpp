// Ending signals noted in a flag that the main loop reads.
//
// Every signal whose default action ends the process, and what the game does with it:
// - SIGINT, SIGTERM: SDL turns them into a quit event (a closed window); left to SDL.
// - SIGQUIT: taken over from SDL's crash handler (see the header), noted.
// - SIGHUP (the terminal or ssh session went away), SIGXCPU (the CPU-time limit is reached: the hard
//   limit's SIGKILL follows, so better end now than be cut off later), SIGUSR1, SIGUSR2, SIGALRM,
//   SIGVTALRM, SIGPROF, SIGIO, SIGPWR, SIGSTKFLT: the game sets no timers, asks for no asynchronous
//   I/O and has no use for the user signals, so any of these comes from outside and means "stop".
//   Noted, so the game ends cleanly at the next pass instead of in the middle of writing the print page
//   (which is then written whole: a signal only sets a flag). Only where nothing else handles them yet:
//   a signal ignored by whoever started the game (nohup ignores SIGHUP) stays ignored, and a profiler's
//   SIGPROF handler stays in place. Classic SDL 1.2 ignores SIGALRM itself from SDL_Init on, which is
//   just as safe; SDL2 under sdl12-compat leaves it to the game.
// - SIGPIPE: ignored. The game writes no pipes; a peer that went away (the X server, a sound server)
//   then shows as EPIPE from the write, which the library handles, rather than as a silent death.
// - SIGXFSZ: ignored. A file-size limit reached while writing the print page or the marker then shows
//   as a failed write, which the game checks, instead of killing it with a cut-off file.
// - SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS: faults of the program itself; going on
//   would be worse than ending. Left as they are (SDL's own handler for some of them included). The
//   print page survives them all the same: it only gets its name once it is complete.
// - SIGKILL, SIGSTOP: cannot be caught.
// - Real-time signals: the C library uses the first of them for its threads; nobody sends the others.
#include "app/quit_signal.h"

#include <csignal>

namespace {
volatile std::sig_atomic_t quitSeen = 0;

// Only an async-signal-safe store: no SDL, no Xlib, no allocation.
void noteQuit(int) {
    quitSeen = 1;
}

const int kNotedWhereUnhandled[] = {
    SIGHUP,    SIGXCPU, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGIO,
#ifdef SIGPWR
    SIGPWR,
#endif
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
};
const int kIgnored[] = {SIGPIPE, SIGXFSZ};

void install(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Restarted, so that a signal arriving during a read or write does not make it fail.
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}
} // namespace

void catchEndingSignals() {
    install(SIGQUIT, noteQuit);
    for (int signal : kNotedWhereUnhandled) {
        struct sigaction current = {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
            install(signal, noteQuit);
        }
    }
    for (int signal : kIgnored) {
        install(signal, SIG_IGN);
    }
}

bool quitSignalled() {
    return quitSeen != 0;
}

void clearQuitSignal() {
    quitSeen = 0;
}
