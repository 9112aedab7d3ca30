// The signals that ask the game to end, as an ordinary end of the game, and the ones that would end it
// by surprise in the middle of writing a file, made harmless. SDL 1.2 handles SIGQUIT with the handler it
// installs for crash signals, which shuts video down from inside the signal: when the signal lands while
// the main thread holds Xlib's lock, that handler waits for the lock for ever. The game takes such
// signals over and only notes them; the main loop ends at its next pass, exactly as a closed window.
#pragma once

// Installs the game's signal handling (quit_signal.cpp says which signal gets what, and why). Called
// after each SDL_Init, which leaves a handler it finds in place, so SDL's other signal handling stays
// as it is.
void catchEndingSignals();
// Whether an ending signal has arrived since the start (or the last clearQuitSignal).
bool quitSignalled();
void clearQuitSignal();
