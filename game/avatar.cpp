// Avatar control, remote commands, leaving and drawing.
#include "game/avatar.h"

#include <SDL/SDL_mixer.h>
#include <SDL/SDL_opengl.h>
#include <algorithm>

#include "app/random.h"
#include "app/services.h"
#include "app/viewport.h"
#include "game/world.h"
#include "input/actions.h"
#include "render/render_state.h"
#include "render/texture.h"
#include "resources/resource_access.h"
#include "resources/resource_manager.h"

namespace {
// The glance reuses the idle pictures: picture sets are idle, step and act.
const int kPictureSet[4] = {0, 0, 1, 2};
// How far before the end of its step into the door an avatar counts as gone.
const float kLeaveThreshold[kAvatarCount] = {0.17f, 0.17f, 0.17f, 0.0f, 0.25f};
// Each room moves at its own coarseness: offsets snap to these fractions of a cell (0 = smooth).
const float kSnapSteps[kAvatarCount] = {0.0f, 16.0f, 32.0f, 0.0f, 4.0f};

float snapTowardsZero(float value, float stepsPerCell) {
    if (stepsPerCell == 0.0f) {
        return value;
    }
    return static_cast<float>(static_cast<int>(value * stepsPerCell)) / stepsPerCell;
}
} // namespace

Avatar::Avatar(int index_)
    : controlled(index_ == 0), index(index_), x(0), y(0), exited(false), pendingCommand(kNoCommand),
      facing(kFacingDown), animState(kIdle), animProgress(1.0f) {
    // The bottom and top rooms look smooth when enlarged, the middle ones blocky.
    const bool smooth = index == 0 || index == 4;
    for (int f = 0; f < 4; ++f) {
        for (int s = 0; s < 4; ++s) {
            for (int k = 0; k < kFramesPerTexture; ++k) {
                Texture* texture = textureByNumber(avatarTextureNumber(index, f, kPictureSet[s], k));
                if (smooth) {
                    texture->setFilterLinear();
                }
                frameTextures[f][s][k] = texture;
            }
        }
    }
}

void Avatar::releaseTextures() {
    for (auto& byState : frameTextures) {
        for (auto& byFrame : byState) {
            for (Texture*& texture : byFrame) {
                if (texture != nullptr && theResourceManager != nullptr) {
                    theResourceManager->releaseTexture(texture);
                }
                texture = nullptr;
            }
        }
    }
}

void Avatar::startAnimation(int state) {
    animState = state;
    animProgress = 1.0f;
}

void Avatar::step(int direction) {
    static const int kDx[4] = {-1, 1, 0, 0};
    static const int kDy[4] = {0, 0, 1, -1};
    // The avatar turns even when the step is refused.
    facing = direction;
    const int targetX = x + kDx[direction];
    const int targetY = y + kDy[direction];
    if (theWorld->canEnter(targetX, targetY)) {
        x = targetX;
        y = targetY;
        startAnimation(kStep);
    }
}

void Avatar::stepUp() {
    if (!exited && animState <= kGlance) {
        step(kFacingUp);
    }
}

void Avatar::stepDown() {
    if (!exited && animState <= kGlance) {
        step(kFacingDown);
    }
}

void Avatar::stepLeft() {
    if (!exited && animState <= kGlance) {
        step(kFacingLeft);
    }
}

void Avatar::stepRight() {
    if (!exited && animState <= kGlance) {
        step(kFacingRight);
    }
}

void Avatar::remoteAct() {
    if (!exited && animState <= kGlance) {
        startAnimation(kAct);
    }
}

void Avatar::startGlance() {
    if (!exited && animState == kIdle) {
        startAnimation(kGlance);
    }
}

void Avatar::update(float dt) {
    if (exited) {
        return;
    }
    const float before = animProgress;
    animProgress = std::max(0.0f, before - dt * (2.0f + 0.03f * static_cast<float>(index)));
    switch (animState) {
    case kIdle:
        // Now and then the player's avatar glances up, and the glance passes through every room.
        if (index == 0 && dt / 5.0f > randomUnit()) {
            startAnimation(kGlance);
        }
        break;
    case kGlance:
        if (animProgress == 0.0f) {
            theWorld->nudgeNext(index + 1);
        }
        break;
    case kAct:
        // Resolved once, in the frame that crosses the halfway mark, however large the step.
        if (before >= 0.5f && animProgress < 0.5f) {
            static const int kDx[4] = {-1, 1, 0, 0};
            static const int kDy[4] = {0, 0, 1, -1};
            theWorld->triggerCell(x + kDx[facing], y + kDy[facing], x, y);
        }
        break;
    default:
        break;
    }
    if (animProgress == 0.0f) {
        animState = kIdle;
    }
    if (x == 4 && y % 4 == 3 && animProgress <= kLeaveThreshold[index]) {
        leave();
        return;
    }
    if (!controlled) {
        return;
    }
    readPlayerInput();
    if (animState <= kGlance) {
        // While a step or act is under way the command waits; a newer one replaces it.
        runCommand(pendingCommand);
        pendingCommand = kNoCommand;
    }
}

void Avatar::leave() {
    exited = true;
    theWorld->avatarLeft(index - 1);
    // Starts the room's crawler swarm.
    theWorld->exitTime[index] += 0.01f;
    selectMusic(index == 0 ? 0 : 10 - index);
    Mix_SetMusicPosition(static_cast<double>(theWorld->musicClock));
}

void Avatar::readPlayerInput() {
    int command = kNoCommand;
    if (actionUp()) {
        command = kCommandUp;
    } else if (actionDown()) {
        command = kCommandDown;
    } else if (actionLeft()) {
        command = kCommandLeft;
    } else if (actionRight()) {
        command = kCommandRight;
    } else if (actionConfirm()) {
        command = kCommandAct;
    }
    if (command == kNoCommand) {
        return;
    }
    consumeActions();
    pendingCommand = command;
    // The first input of a game lights room 0 and starts the music.
    if (theWorld->level < 1.0f) {
        theWorld->level = 1.0f;
        selectMusic(1);
    }
}

void Avatar::runCommand(int command) {
    if (exited) {
        return;
    }
    switch (command) {
    case kCommandUp:
        step(kFacingUp);
        break;
    case kCommandDown:
        step(kFacingDown);
        break;
    case kCommandLeft:
        step(kFacingLeft);
        break;
    case kCommandRight:
        step(kFacingRight);
        break;
    case kCommandAct:
        startAnimation(kAct);
        break;
    default:
        break;
    }
}

void Avatar::draw() const {
    if (exited) {
        return;
    }
    const float c = theViewport->height / 21.0f;
    if (index == 0) {
        setFlatColour(0.5f, 1.0f, 0.5f, 1.0f);
    } else {
        setFlatColour(1.0f, 1.0f, 1.0f, 1.0f);
    }
    int frame = 0;
    if (animProgress != 0.0f) {
        frame = std::min(3, std::max(0, static_cast<int>((1.0f - animProgress) * 4.0f)));
    }
    // A stepping figure is drawn between its previous and its new cell.
    float dx = 0.0f;
    float dy = 0.0f;
    if (animState == kStep) {
        const float p = animProgress;
        static const float kBackX[4] = {1.0f, -1.0f, 0.0f, 0.0f};
        static const float kBackY[4] = {0.0f, 0.0f, -1.0f, 1.0f};
        dx = snapTowardsZero(kBackX[facing] * p, kSnapSteps[index]);
        dy = snapTowardsZero(kBackY[facing] * p, kSnapSteps[index]);
    }
    frameTextures[facing][animState][frame]->bind();
    const float left = (static_cast<float>(x) + dx) * c;
    const float bottom = (static_cast<float>(y) + dy) * c;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(0.0f, left, bottom);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(0.0f, left + c, bottom);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(0.0f, left + c, bottom + c);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(0.0f, left, bottom + c);
    glEnd();
    unbindTexture();
}
