// The program-wide services: one object each, reached through these pointers. createServices and
// destroyServices set and clear them all, in one fixed order, for the game, its test fixture and the
// benchmarks alike (tests that exercise a single subsystem install just the services it needs and clear
// them again). Input's own objects, the key state and the two joysticks, are declared by input/.
#pragma once

#include <string>

class Camera;
class Viewport;
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
extern MusicPlayer* theMusicPlayer;
extern ResourceManager* theResourceManager;
extern FrameClock* theFrameClock;
extern World* theWorld;

// Creates the services in the order the game relies on: the camera, the viewport (sized to the window),
// the key state, joysticks 0 and 1, the music player, the resource manager, the frame clock (60 frames
// a second), then empties messageText. Audio and the world are not services; the caller opens and
// builds them afterwards.
void createServices();
// Destroys the world if one was built (its textures and music go back first), then every service in
// creation order; the music is unloaded before its player goes, and the resource manager, going after
// both, frees whatever they left cached. Every pointer ends null, so a second call does nothing.
void destroyServices();
