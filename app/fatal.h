// Fatal conditions: the one way any part of the game gives up and hands over to the message screen.
#pragma once

#include <string>

enum FatalCode {
    kFatalDescribed = 0,   // the detail is the whole description
    kFatalResource = 1,    // a resource file failed to load; the detail is its name
    kFatalAudio = 2,       // the audio device failed to open
    kFatalAspectRatio = 3, // the window is too narrow for its height
};

// The text the message screen shows; replaced whole by every report.
extern std::string messageText;

// Composes the message for the code (any unknown code reads as kFatalDescribed), stores it in
// messageText and switches the game to the message screen. Returns normally: the caller carries on and
// the message screen takes over at the main loop's next mode check.
void reportFatal(int code, const std::string& detail);
