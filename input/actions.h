// The six actions every screen reads: the keyboard and both joysticks merged. Each test changes
// nothing; a caller that acts on an action calls consumeActions() first, so one press gives one action.
#pragma once

// Key symbols the game binds (SDL 1.2 values).
enum BoundKey {
    kKeyReturn = 13,
    kKeyEscape = 27,
    kKeySpace = 32,
    kKeyA = 97,
    kKeyD = 100,
    kKeyE = 101,
    kKeyS = 115,
    kKeyW = 119,
    kKeyUp = 273,
    kKeyDown = 274,
    kKeyRight = 275,
    kKeyLeft = 276,
};

bool actionLeft();
bool actionRight();
bool actionUp();
bool actionDown();
// Return, Space, E, or joystick buttons 0 to 15 of either device.
bool actionConfirm();
// Escape.
bool actionBack();

// Removes every bound key from the key state, clears both hats and releases buttons 0 to 15 of both
// devices, so nothing held counts again until it is pressed anew.
void consumeActions();
