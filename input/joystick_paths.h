// The joysticks a player names in SDL_JOYSTICK_DEVICE (paths separated by ':', read by both SDL 1.2 and
// SDL2 when the joystick subsystem starts). SDL opens each named path for reading and waits there:
// a FIFO keeps the start hanging for ever with no window, and a regular file feeds it garbage. A real
// joystick is always a character device, so only those are kept.
#pragma once

// Rewrites SDL_JOYSTICK_DEVICE that way before SDL reads it; when nothing is left, the variable goes and
// SDL looks for joysticks where it always does. Called before the first SDL_Init.
void keepOnlyJoystickDevices();
