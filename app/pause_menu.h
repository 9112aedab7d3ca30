// PauseMenu: the quit-or-resume screen opened by Escape during play. It has no text: a window outline
// with a title bar and a close cross, and a pointer that any direction moves between the centre
// (resume) and the cross (quit). The picture is drawn sixteen times, nested toward the centre, each
// copy lagging behind the one outside it, which leaves a tunnel-like trail when the pointer moves.
#pragma once

#include "app/screens.h"

class PauseMenu : public Screen {
public:
    static constexpr int kCopies = 16;

    // Pointer at the centre, every copy dark, every held input consumed.
    void enter() override;
    void frame(float dt) override;

    // Draws one copy of the picture at scale a of the window, with the pointer at p (0 centre, 1 on the
    // cross) and brightness c.
    void drawNestedFrame(float a, float p, float c) const;

    // false: the pointer rests on the centre (resume); true: on the close cross (quit).
    bool selection = false;
    // Per copy, outermost first.
    float trailPosition[kCopies] = {};
    float trailBrightness[kCopies] = {};

private:
    void animate(float dt);
    void draw() const;
};
