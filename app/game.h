// Game: creates every program-wide service, the world and the three screens, runs the main loop, and
// takes it all down again in one fixed order. Which screen runs is gameMode's choice; a screen moves
// the game elsewhere by writing gameMode.
#pragma once

#include <optional>

class Screen;
class MessageScreen;
class PlayScreen;
class PauseMenu;
class PicturePrefetch;

class Game {
public:
    Game() = default;
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Services, audio, the aspect check, the world and the screens. A failure along the way leaves the
    // message screen entered instead of the play screen. The world's textures take their pictures from
    // pictures where it decoded them ahead (null: each texture decodes its own).
    void init(PicturePrefetch* pictures = nullptr);
    // The main loop. True for an ordinary end (window closed, quit from the pause menu), false for an
    // end from a fatal message.
    bool run();
    // One pass of the main loop after the frame clock has measured dt: the events, the current screen's
    // frame, and the switch of screens. Holds run()'s result once the loop is over, nothing before.
    std::optional<bool> runPass(float dt);
    void shutdown();

private:
    Screen* screenFor(int mode) const;
    // Runs the message screen's entry hook whenever start-up stops early.
    bool stoppedByFatal();

    MessageScreen* messageScreen_ = nullptr;
    PlayScreen* playScreen_ = nullptr;
    PauseMenu* pauseMenu_ = nullptr;
};
