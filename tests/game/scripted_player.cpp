// The scripted player's planning over the remote-control chain.
#include "tests/game/scripted_player.h"

#include <deque>

#include "app/services.h"
#include "game/avatar.h"
#include "game/world.h"
#include "input/actions.h"
#include "input/key_state.h"

namespace {
const int kNone = Avatar::kNoCommand;

const Avatar* avatarOf(const World& world, int index) {
    for (const Avatar* avatar : world.avatars) {
        if (avatar->index == index) {
            return avatar;
        }
    }
    return nullptr;
}

bool allSettled(const World& world) {
    for (const Avatar* avatar : world.avatars) {
        if (!avatar->exited && (avatar->animState > Avatar::kGlance || avatar->pendingCommand != kNone)) {
            return false;
        }
    }
    return true;
}

int stepCommand(int dx, int dy) {
    if (dx < 0) {
        return Avatar::kCommandLeft;
    }
    if (dx > 0) {
        return Avatar::kCommandRight;
    }
    return dy > 0 ? Avatar::kCommandUp : Avatar::kCommandDown;
}

// First step of a shortest walk over the room's enterable floor from the avatar to (tx, ty), or 0
// when it already stands there (or cannot get there).
int firstStepTowards(const World& world, const Avatar& avatar, int tx, int ty, int* distance = nullptr) {
    const int room = avatar.index;
    const int lowRow = 4 * room + 1;
    auto onFloor = [&](int x, int y) { return x >= 3 && x <= 10 && (y == lowRow || y == lowRow + 1); };
    int firstMove[kGridWidth][kGridHeight];
    int steps[kGridWidth][kGridHeight];
    for (auto& column : firstMove) {
        for (int& cell : column) {
            cell = -1;
        }
    }
    std::deque<std::pair<int, int>> open;
    firstMove[avatar.x][avatar.y] = kNone;
    steps[avatar.x][avatar.y] = 0;
    open.emplace_back(avatar.x, avatar.y);
    static const int kDx[4] = {-1, 1, 0, 0};
    static const int kDy[4] = {0, 0, 1, -1};
    while (!open.empty()) {
        const auto [x, y] = open.front();
        open.pop_front();
        if (x == tx && y == ty) {
            if (distance != nullptr) {
                *distance = steps[x][y];
            }
            return firstMove[x][y];
        }
        for (int d = 0; d < 4; ++d) {
            const int nx = x + kDx[d];
            const int ny = y + kDy[d];
            if (!onFloor(nx, ny) || firstMove[nx][ny] != -1 || !world.canEnter(nx, ny)) {
                continue;
            }
            firstMove[nx][ny] = firstMove[x][y] == kNone ? stepCommand(kDx[d], kDy[d]) : firstMove[x][y];
            steps[nx][ny] = steps[x][y] + 1;
            open.emplace_back(nx, ny);
        }
    }
    if (distance != nullptr) {
        *distance = 1000;
    }
    return kNone;
}

int facingOf(int command) {
    switch (command) {
    case Avatar::kCommandLeft:
        return Avatar::kFacingLeft;
    case Avatar::kCommandRight:
        return Avatar::kFacingRight;
    case Avatar::kCommandUp:
        return Avatar::kFacingUp;
    default:
        return Avatar::kFacingDown;
    }
}

// Stand on (x, y), face the way a step `turn` would and act: the command avatar `index` needs now.
int actFrom(const World& world, const Avatar& avatar, int x, int y, int turn) {
    if (avatar.x != x || avatar.y != y) {
        return firstStepTowards(world, avatar, x, y);
    }
    // Facing a wall, a button, a closed door or a lying item, the step is refused and only turns.
    return avatar.facing == facingOf(turn) ? static_cast<int>(Avatar::kCommandAct) : turn;
}

const int kButtonForCommand[6] = {
    0, kCellButtonUp, kCellButtonDown, kCellButtonLeft, kCellButtonRight, kCellButtonAct};

// The command avatar 0 gives so that avatar k comes nearer to carrying out `command`.
int routeDown(const World& world, int k, int command) {
    if (k == 0 || command == kNone) {
        return command;
    }
    const int buttonRow = 4 * (k - 1) + 3;
    int buttonX = -1;
    for (int x = 5; x <= 9; ++x) {
        if (world.cellType[x][buttonRow] == kButtonForCommand[command]) {
            buttonX = x;
        }
    }
    const Avatar* below = avatarOf(world, k - 1);
    if (buttonX < 0 || below == nullptr) {
        return kNone;
    }
    return routeDown(world, k - 1, actFrom(world, *below, buttonX, buttonRow - 1, Avatar::kCommandUp));
}

// What the highest avatar still in play must do next: take its item, open its door, walk out.
int stageCommand(const World& world, const Avatar& avatar) {
    const int room = avatar.index;
    const int floor = 4 * room + 1;
    if (!world.itemTaken[room]) {
        if (!world.itemPresent[room]) {
            return kNone;
        }
        // From above facing down, or from the left facing right: whichever is the shorter walk.
        int fromAbove = 0;
        int fromLeft = 0;
        firstStepTowards(world, avatar, 10, floor + 1, &fromAbove);
        firstStepTowards(world, avatar, 9, floor, &fromLeft);
        if (fromAbove <= fromLeft) {
            return actFrom(world, avatar, 10, floor + 1, Avatar::kCommandDown);
        }
        return actFrom(world, avatar, 9, floor, Avatar::kCommandRight);
    }
    if (!world.doorOpen[room]) {
        return actFrom(world, avatar, 4, floor + 1, Avatar::kCommandUp);
    }
    if (avatar.x != 4 || avatar.y != floor + 1) {
        return firstStepTowards(world, avatar, 4, floor + 1);
    }
    return Avatar::kCommandUp;
}

int keyForCommand(int command) {
    switch (command) {
    case Avatar::kCommandUp:
        return kKeyW;
    case Avatar::kCommandDown:
        return kKeyS;
    case Avatar::kCommandLeft:
        return kKeyA;
    case Avatar::kCommandRight:
        return kKeyD;
    default:
        return kKeySpace;
    }
}
} // namespace

int nextPlayerCommand(const World& world) {
    if (!allSettled(world)) {
        return kNone;
    }
    for (int k = kAvatarCount - 1; k >= 0; --k) {
        const Avatar* avatar = avatarOf(world, k);
        if (avatar != nullptr && !avatar->exited) {
            return routeDown(world, k, stageCommand(world, *avatar));
        }
    }
    return kNone;
}

void ScriptedPlayer::playFrame(World& world, float dt) {
    pressKeys(world);
    world.update(dt);
}

void ScriptedPlayer::pressKeys(const World& world) {
    if (heldKey_ != 0) {
        // A key is let go a few frames after it went down, as fingers do.
        if (++framesHeld_ >= 3) {
            theKeyState->release(heldKey_);
            heldKey_ = 0;
        }
    } else {
        const int command = nextPlayerCommand(world);
        if (command != kNone) {
            heldKey_ = keyForCommand(command);
            framesHeld_ = 0;
            theKeyState->press(heldKey_);
            pressed_.push_back(heldKey_);
            ++keyPresses_;
        }
    }
}
