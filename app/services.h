// The program-wide services: one object each, reached through these pointers. Game::init creates them
// and Game::shutdown destroys them, in one fixed order; nothing else sets or clears them (tests that
// exercise a single subsystem install just the services it needs and clear them again).
#pragma once

#include <string>

class Camera;
class Viewport;
class KeyState;
class JoystickDevice;
class MusicPlayer;
class ResourceManager;
class FrameClock;
class World;

// Which screen runs; the main loop switches screens when a screen writes a new value.
enum GameModeValue {
    kModeEnd = 1,      // leave the program, ordinary end (exit code 0)
    kModeEndFatal = 2, // leave the program from a fatal message (exit code 1)
    kModeMessage = 3,  // the fatal-message screen
    kModePlay = 4,     // the play screen
    kModePause = 5,    // the pause menu
};

extern int gameMode;

// Window size in pixels, written only by a successful openDisplay.
extern float windowWidth;
extern float windowHeight;

extern Camera* theCamera;
extern Viewport* theViewport;
extern KeyState* theKeyState;
extern JoystickDevice* theJoysticks[2];
extern MusicPlayer* theMusicPlayer;
extern ResourceManager* theResourceManager;
extern FrameClock* theFrameClock;
extern World* theWorld;
