// Screen: what the main loop runs for the current game mode. A screen moves the game elsewhere only by
// writing gameMode; the loop then runs the old screen's leave() and the new one's enter().
#pragma once

class Screen {
public:
    virtual ~Screen() = default;

    // Called when the game switches to this screen; may be called twice in a row.
    virtual void enter() = 0;
    // One pass of the main loop: input, animation, drawing. dt in seconds, at most 0.125.
    virtual void frame(float dt) = 0;
    virtual void leave() {}
};
