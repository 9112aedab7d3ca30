// The browser edition's own input beside the keyboard: the on-screen touch controls, the gamepad reader
// and the page being hidden. The page turns each into changes (pressed, released) and calls the
// functions of web/page_input.cpp, which fold them into the same KeyState and JoystickDevices that SDL's
// events feed, so the game's rules see one kind of input whatever the device. Also the window's size,
// which in the page follows the canvas (web/canvas_fit.js) instead of staying as it was opened.
#pragma once

// Before each pass: runs the page's own readers (web/tavok_library.js tavok_before_pass), then takes a
// new canvas size as the window's, so the pass draws at it.
void readPageInput();

// True when the canvas size differs from the window's and was taken on: the window size, the
// Viewport (except under the message screen's fixed 32 by 18) and the GL viewport follow it. The game
// itself carries on; the aspect check belongs to the start only.
bool followCanvasSize(int width, int height);
