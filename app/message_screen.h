// MessageScreen: the full-window fatal message, white stroke-font capitals on red, shown until the player
// presses Escape (which ends the program with exit code 1). There is no way back into play.
#pragma once

#include <string>
#include <vector>

#include "app/screens.h"

// The text grid: 32 columns and 18 rows of 1 x 1 cells, row 17 at the top.
constexpr int kMessageColumns = 32;
constexpr int kMessageRows = 18;

// Where one byte of a message lands on the text grid.
struct PlacedCharacter {
    unsigned char code;
    int column;
    int row;
};

// Lays a message out from column 0 of the top row: a line feed starts the next row down, and a row
// that is full continues on the next. Rows below 0 are off screen but still listed.
std::vector<PlacedCharacter> layoutMessage(const std::string& text);

class MessageScreen : public Screen {
public:
    // Switches the viewport to the text grid, swallows an Escape already held, rewinds the music so the
    // screen is silent, and slows the frame clock. Safe to run twice.
    void enter() override;
    // Escape leaves the program; otherwise draws messageText.
    void frame(float dt) override;
};
