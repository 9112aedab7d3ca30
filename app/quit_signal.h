// The quit signal (SIGQUIT, Ctrl+\ in a terminal) as an ordinary end of the game. SDL 1.2 handles it
// with the handler it installs for crash signals, which shuts video down from inside the signal: when
// the signal lands while the main thread holds Xlib's lock, that handler waits for the lock for ever.
// The game takes the signal over and only notes it; the main loop ends at its next pass.
#pragma once

// Replaces whatever handles SIGQUIT with one that notes the signal. Called after each SDL_Init, which
// leaves a handler it finds in place, so SDL's other signal handling stays as it is.
void catchQuitSignal();
// Whether a quit signal has arrived since the start (or the last clearQuitSignal).
bool quitSignalled();
void clearQuitSignal();
