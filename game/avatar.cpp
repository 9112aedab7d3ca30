// Avatar control, remote commands, leaving and drawing.
#include "game/avatar.h"

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
} // namespace

Avatar::Avatar(int index_)
    : controlled(index_ == 0), index(index_), x(0), y(0), exited(false), pendingCommand(kNoCommand),
      facing(kFacingDown), animState(kIdle), animProgress(1.0f) {
    const bool smooth = roomDrawnSmooth(index);
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
    // The avatar turns even when the step is refused.
    facing = direction;
    const int targetX = x + kStepX[direction];
    const int targetY = y + kStepY[direction];
    if (theWorld->canEnter(targetX, targetY)) {
        x = targetX;
        y = targetY;
        startAnimation(kStep);
    }
}

bool Avatar::readyForCommand() const {
    // Idle or glancing; a step or act under way runs to its end first.
    return animState <= kGlance;
}

void Avatar::remoteCommand(int command) {
    // The buttons keep nothing: a press this avatar is too busy for is gone.
    if (readyForCommand()) {
        runCommand(command);
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
            theWorld->triggerCell(x + kStepX[facing], y + kStepY[facing], x, y);
        }
        break;
    default:
        break;
    }
    if (animProgress == 0.0f) {
        animState = kIdle;
    }
    if (isDoorCell(x, y) && animProgress <= kLeaveThreshold[index]) {
        leave();
        return;
    }
    if (!controlled) {
        return;
    }
    readPlayerInput();
    if (readyForCommand()) {
        // While a step or act is under way the player's command waits; a newer one replaces it.
        runCommand(pendingCommand);
        pendingCommand = kNoCommand;
    }
}

void Avatar::leave() {
    exited = true;
    theWorld->avatarLeft(index - 1);
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
    theWorld->noticePlayerInput();
}

void Avatar::runCommand(int command) {
    // Commands 1..4 step up, down, left and right; 5 acts.
    static const int kFacingOfStep[] = {kFacingUp, kFacingDown, kFacingLeft, kFacingRight};
    if (exited) {
        return;
    }
    if (command >= kCommandUp && command <= kCommandRight) {
        step(kFacingOfStep[command - kCommandUp]);
    } else if (command == kCommandAct) {
        startAnimation(kAct);
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
        // Back along the step just taken, by the part of it still to go.
        const float p = animProgress;
        dx = snapTowardsZero(static_cast<float>(-kStepX[facing]) * p, index);
        dy = snapTowardsZero(static_cast<float>(-kStepY[facing]) * p, index);
    }
    frameTextures[facing][animState][frame]->bind();
    const float left = (static_cast<float>(x) + dx) * c;
    const float bottom = (static_cast<float>(y) + dy) * c;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    vertex2D(left, bottom);
    glTexCoord2f(1.0f, 1.0f);
    vertex2D(left + c, bottom);
    glTexCoord2f(1.0f, 0.0f);
    vertex2D(left + c, bottom + c);
    glTexCoord2f(0.0f, 0.0f);
    vertex2D(left, bottom + c);
    glEnd();
    unbindTexture();
}
