// The set of keys held down, fed by the main loop's key events. A key stays in the set from its
// key-down until its key-up or until a screen consumes it; a consumed key comes back only with a new
// press, which is what makes one press give exactly one action.
#pragma once

#include <set>

union SDL_Event;

class KeyState {
public:
    // Key-down inserts the key symbol, key-up removes it; other events are ignored.
    void handleKeyEvent(const SDL_Event& event);
    bool isDown(int key) const { return keys_.count(key) != 0; }
    void consume(int key) { keys_.erase(key); }
    // Inserts or removes a key directly, as a key-down or key-up event would (used by replays).
    void press(int key) { keys_.insert(key); }
    void release(int key) { keys_.erase(key); }

private:
    std::set<int> keys_;
};

// The program's one key state, created and destroyed with the other program-wide services
// (app/services.h); null while none is installed, which the actions read as no key held.
extern KeyState* theKeyState;
