// PlayScreen: the game being played. Escape opens the pause menu; otherwise the world moves on and is
// drawn over a black field.
#pragma once

#include "app/screens.h"

class PlayScreen : public Screen {
public:
    // Resumes the music the pause menu (or start-up) left paused.
    void enter() override;
    void frame(float dt) override;
    void leave() override;

    // The frame's picture without the buffer swap: the window black, the world drawn over it.
    void draw();
};
