// The game object: start-up, main loop and shutdown.
#include "app/game.h"

#include <SDL/SDL.h>

#include "app/fatal.h"
#include "app/frame_clock.h"
#include "app/message_screen.h"
#include "app/pause_menu.h"
#include "app/play_screen.h"
#include "app/quit_signal.h"
#include "app/services.h"
#include "audio/audio_device.h"
#include "game/world.h"
#include "input/joystick_device.h"
#include "input/key_state.h"
#include "resources/resource_manager.h"

namespace {
// The single-precision float nearest 2/3, a hair above it: a window of exactly 2:3 is too narrow.
constexpr float kNarrowestAspect = 0.6666667f;
} // namespace

void Game::init(PicturePrefetch* pictures) {
    createServices();
    theResourceManager->setPicturePrefetch(pictures);
    messageScreen_ = new MessageScreen;
    gameMode = kModePlay;

    if (!openAudio()) {
        reportFatal(kFatalAudio, "");
    }
    // Both checks run; the later report replaces the earlier message.
    if (static_cast<double>(windowWidth) / static_cast<double>(windowHeight) <
        static_cast<double>(kNarrowestAspect)) {
        reportFatal(kFatalAspectRatio, "");
    }
    // The world is built whatever happened before; its own set-up may report missing resources.
    theWorld = new World;

    if (stoppedByFatal()) {
        return;
    }
    playScreen_ = new PlayScreen;
    if (stoppedByFatal()) {
        return;
    }
    pauseMenu_ = new PauseMenu;
    if (stoppedByFatal()) {
        return;
    }
    playScreen_->enter();
    stoppedByFatal();
}

bool Game::stoppedByFatal() {
    if (gameMode != kModeMessage) {
        return false;
    }
    messageScreen_->enter();
    return true;
}

Screen* Game::screenFor(int mode) const {
    switch (mode) {
    case kModeMessage:
        return messageScreen_;
    case kModePlay:
        return playScreen_;
    case kModePause:
        return pauseMenu_;
    default:
        return nullptr;
    }
}

bool Game::run() {
    for (;;) {
        const float dt = theFrameClock->waitFrame();
        if (const std::optional<bool> result = runPass(dt)) {
            return *result;
        }
    }
}

std::optional<bool> Game::runPass(float dt) {
    if (quitSignalled()) {
        // A quit signal ends the game like a closed window.
        return true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            theKeyState->handleKeyEvent(event);
            break;
        case SDL_JOYAXISMOTION:
        case SDL_JOYHATMOTION:
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            theJoysticks[0]->handleJoystickEvent(event);
            theJoysticks[1]->handleJoystickEvent(event);
            break;
        case SDL_QUIT:
            // Closing the window ends the game at once, from any screen, as an ordinary end.
            return true;
        default:
            break; // mouse, trackball, activation and resize take no part in the game
        }
    }

    const int mode = gameMode;
    if (Screen* screen = screenFor(mode)) {
        screen->frame(dt);
    }
    if (gameMode != mode) {
        if (Screen* previous = screenFor(mode)) {
            previous->leave();
        }
        if (Screen* next = screenFor(gameMode)) {
            next->enter();
        }
        // A screen's entry hook may itself report a fatal condition; the message screen must be set
        // up either way, and its entry hook does no harm when run twice.
        if (gameMode == kModeMessage) {
            messageScreen_->enter();
        }
    }

    if (gameMode == kModeEnd) {
        return true;
    }
    if (gameMode == kModeEndFatal) {
        return false;
    }
    return std::nullopt;
}

void Game::shutdown() {
    delete messageScreen_;
    messageScreen_ = nullptr;
    delete playScreen_;
    playScreen_ = nullptr;
    delete pauseMenu_;
    pauseMenu_ = nullptr;
    // The world first, then the services in their fixed order.
    destroyServices();
}
