// The fatal message screen.
#include "app/message_screen.h"

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>

#include "app/fatal.h"
#include "app/frame_clock.h"
#include "app/services.h"
#include "app/stroke_font.h"
#include "app/viewport.h"
#include "audio/music_player.h"
#include "input/actions.h"
#include "input/key_state.h"
#include "render/render_state.h"

namespace {
// A column past this wraps to the next row.
constexpr float kLastColumn = 31.9f;
// Each glyph fills the middle two thirds of its cell.
constexpr float kGlyphInset = 0.167f;
constexpr float kGlyphScale = 0.666f;
constexpr float kMessageFps = 24.0f;
} // namespace

std::vector<PlacedCharacter> layoutMessage(const std::string& text) {
    std::vector<PlacedCharacter> placed;
    int column = 0;
    int row = kMessageRows - 1;
    for (const char byte : text) {
        if (byte == '\n') {
            column = 0;
            --row;
            continue;
        }
        placed.push_back({static_cast<unsigned char>(byte), column, row});
        ++column;
        if (static_cast<float>(column) > kLastColumn) {
            column = 0;
            --row;
        }
    }
    return placed;
}

void MessageScreen::enter() {
    theViewport->width = static_cast<float>(kMessageColumns);
    theViewport->height = static_cast<float>(kMessageRows);
    theKeyState->consume(kKeyEscape);
    if (theMusicPlayer != nullptr) {
        theMusicPlayer->rewindMusic();
    }
    theFrameClock->targetFps = kMessageFps;
    glDisable(GL_CULL_FACE);
}

void MessageScreen::frame(float dt) {
    (void)dt;
    if (theKeyState->isDown(kKeyEscape)) {
        theKeyState->consume(kKeyEscape);
        gameMode = kModeEndFatal;
        return;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    theViewport->begin2D();
    setFlatColour(1, 0, 0, 1);
    theViewport->fillArea();

    glColor4f(1, 1, 1, 1);
    for (const PlacedCharacter& character : layoutMessage(messageText)) {
        glPushMatrix();
        glTranslatef(0, static_cast<float>(character.column) + kGlyphInset,
                     static_cast<float>(character.row) + kGlyphInset);
        glScalef(0, kGlyphScale, kGlyphScale);
        drawGlyph(character.code);
        glPopMatrix();
    }
    SDL_GL_SwapBuffers();
}
