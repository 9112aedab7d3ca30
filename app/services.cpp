// Storage for the program-wide services declared in services.h, and the one place that creates and
// destroys them.
#include "app/services.h"

#include "app/fatal.h"
#include "app/frame_clock.h"
#include "app/viewport.h"
#include "audio/music_player.h"
#include "game/world.h"
#include "input/joystick_device.h"
#include "input/key_state.h"
#include "render/camera.h"
#include "resources/resource_manager.h"

int gameMode = kModePlay;
float windowWidth = 0.0f;
float windowHeight = 0.0f;

Camera* theCamera = nullptr;
Viewport* theViewport = nullptr;
MusicPlayer* theMusicPlayer = nullptr;
ResourceManager* theResourceManager = nullptr;
FrameClock* theFrameClock = nullptr;
World* theWorld = nullptr;

void createServices() {
    theCamera = new Camera;
    theViewport = new Viewport;
    theViewport->width = windowWidth;
    theViewport->height = windowHeight;
    theKeyState = new KeyState;
    theJoysticks[0] = new JoystickDevice(0);
    theJoysticks[1] = new JoystickDevice(1);
    theMusicPlayer = new MusicPlayer;
    theResourceManager = new ResourceManager;
    theFrameClock = new FrameClock;
    messageText.clear();
}

void destroyServices() {
    delete theWorld;
    theWorld = nullptr;
    delete theCamera;
    theCamera = nullptr;
    delete theViewport;
    theViewport = nullptr;
    delete theKeyState;
    theKeyState = nullptr;
    for (JoystickDevice*& device : theJoysticks) {
        delete device;
        device = nullptr;
    }
    if (theMusicPlayer != nullptr) {
        theMusicPlayer->unloadMusic();
    }
    delete theMusicPlayer;
    theMusicPlayer = nullptr;
    // After the world and the music player, so every texture they gave back is freed here.
    delete theResourceManager;
    theResourceManager = nullptr;
    delete theFrameClock;
    theFrameClock = nullptr;
}
