// The game test fixture.
#include "tests/game/game_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "app/fatal.h"
#include "app/random.h"
#include "app/services.h"
#include "app/viewport.h"
#include "audio/audio_device.h"
#include "game/avatar.h"
#include "game/world.h"
#include "resources/resource_access.h"
#include "tests/support/gl_test_context.h"

namespace {
const char* const kTouchedVariables[] = {"HOME", "USERPROFILE", "XDG_DESKTOP_DIR", "XDG_CONFIG_HOME"};

struct SavedVariable {
    bool set;
    std::string value;
};
SavedVariable saved[4];

void openAudioOnce() {
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (ensureSdl()) {
            openAudio();
        }
    }
}
} // namespace

void setEnvironment(const char* name, const char* value) {
    if (value == nullptr) {
        unsetenv(name);
    } else {
        setenv(name, value, 1);
    }
}

GameFixture::GameFixture() : workingDirectory_(scratch_.path()) {
    for (int i = 0; i < 4; ++i) {
        const char* value = std::getenv(kTouchedVariables[i]);
        saved[i] = {value != nullptr, value != nullptr ? value : ""};
        unsetenv(kTouchedVariables[i]);
    }
    std::filesystem::create_directories(desktop());
    setenv("HOME", home().c_str(), 1);
    openAudioOnce();
    createServices();
    // The rules are judged on a 1280x720 field whatever window a drawing test may have opened.
    theViewport->width = 1280.0f;
    theViewport->height = 720.0f;
    resetMusicSelection();
}

GameFixture::~GameFixture() {
    destroyServices();
    resetMusicSelection();
    for (int i = 0; i < 4; ++i) {
        setEnvironment(kTouchedVariables[i], saved[i].set ? saved[i].value.c_str() : nullptr);
    }
    // Pictures missing from the scratch folder only raise the message screen; play carries on.
    gameMode = kModePlay;
    messageText.clear();
}

World& GameFixture::newWorld(unsigned seed) {
    deleteWorld();
    seedRandomWith(seed);
    theWorld = new World();
    return *theWorld;
}

void GameFixture::deleteWorld() {
    delete theWorld;
    theWorld = nullptr;
}

void GameFixture::run(int frames, float dt) {
    for (int i = 0; i < frames; ++i) {
        theWorld->update(dt);
    }
}

Avatar& avatarOf(World& world, int index) {
    for (Avatar* avatar : world.avatars) {
        if (avatar->index == index) {
            return *avatar;
        }
    }
    throw std::logic_error("no such avatar");
}

int buttonColumn(const World& world, int room, int type) {
    for (int x = 5; x <= 9; ++x) {
        if (world.cellType[x][4 * room + 3] == type) {
            return x;
        }
    }
    return -1;
}
