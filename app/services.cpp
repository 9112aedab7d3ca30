// Storage for the program-wide services declared in services.h.
#include "app/services.h"

int gameMode = kModePlay;
float windowWidth = 0.0f;
float windowHeight = 0.0f;

Camera* theCamera = nullptr;
Viewport* theViewport = nullptr;
KeyState* theKeyState = nullptr;
JoystickDevice* theJoysticks[2] = {nullptr, nullptr};
MusicPlayer* theMusicPlayer = nullptr;
ResourceManager* theResourceManager = nullptr;
FrameClock* theFrameClock = nullptr;
World* theWorld = nullptr;
