// Avatars are seen from the front, the back or the left side (the right side is the left mirrored).
// Every figure has big eyes on its face side only, so the facing reads even at 34 pixels per cell:
// two eyes looking down, none looking up, one eye and a pointed profile looking sideways.
#include "tools/assetgen/avatars.h"

#include <algorithm>
#include <cmath>

#include "game/world_tables.h"

namespace {
enum class View { Front, Back, Side };

struct Pose {
    float bob = 0;   // cells, negative lifts the figure
    float sway = 0;  // cells, the body's sideways lean while walking
    int stride = 0;  // -1, 0, 1: which foot is forward
    float reach = 0; // 0 arm at rest .. 1 arm stretched out to the next cell
    float look = 0;  // -1 .. 1: eyes glance left or right
    bool blink = false;
    bool flash = false; // the press lands
};

Pose poseFor(int pictureSet, int frame, float pixel) {
    Pose p;
    if (pictureSet == 0) {
        const float looks[4] = {0, -1, 1, 0};
        p.look = looks[frame];
        p.blink = frame == 3;
    } else if (pictureSet == 1) {
        // Stride, pass with the body raised and leaning, stride with the other foot, pass leaning back.
        const int strides[4] = {1, 0, -1, 0};
        const float sways[4] = {0, 1, 0, -1};
        p.stride = strides[frame];
        p.sway = sways[frame] * pixel;
        p.bob = (frame % 2 == 1) ? -pixel * (pixel > 0.05f ? 1 : 2) : 0;
    } else {
        const float reaches[4] = {0.3f, 0.8f, 1.0f, 0.45f};
        p.reach = reaches[frame];
        p.flash = frame == 2;
    }
    return p;
}

struct Figure {
    PixelCanvas& c;
    View view;
    Pose pose;
    float px; // one pixel in cell units

    // Feet: side by side from the front and back, one before the other from the side.
    void feet(Colour colour, float width, float top, float bottom) {
        for (int side = -1; side <= 1; side += 2) {
            if (view == View::Side) {
                const float du =
                    side * 0.09f * (pose.stride == 0 ? 0.5f : static_cast<float>(side * pose.stride));
                c.paint(roundBoxShape(0.44f + du - width, top, 0.44f + du + width, bottom, width * 0.6f),
                        colour);
            } else {
                const float lift = (pose.stride == side) ? 2 * px : 0;
                const float cu = 0.5f + side * 0.12f;
                c.paint(roundBoxShape(cu - width, top - lift, cu + width, bottom - lift, width * 0.6f),
                        colour);
            }
        }
    }

    // The acting arm: from the shoulder towards the facing, ending in a hand.
    void arm(float shoulderU, float shoulderV, Colour sleeve, Colour hand, float thickness) {
        if (pose.reach <= 0) {
            return;
        }
        float handU = shoulderU, handV = shoulderV;
        if (view == View::Front) {
            handV = shoulderV + pose.reach * (0.95f - shoulderV);
            handU = shoulderU + 0.06f * pose.reach;
        } else if (view == View::Back) {
            handV = shoulderV - pose.reach * (shoulderV - 0.05f);
        } else {
            handU = shoulderU - pose.reach * (shoulderU - 0.05f);
            handV = shoulderV + 0.04f;
        }
        c.paint(lineShape(shoulderU, shoulderV, handU, handV, thickness), sleeve);
        c.paint(discShape(handU, handV, thickness * 1.45f), hand);
        if (pose.flash) {
            c.paint(ringShape(handU, handV, thickness * 2.2f, thickness * 2.2f + 1.5f * px),
                    withAlpha(hexColour(0xffffff), 0.9f));
        }
    }

    // Two eyes from the front, one from the side, none from the back.
    void eyes(float centreU, float v, float spacing, float radius, Colour white, Colour pupil) {
        if (view == View::Back) {
            return;
        }
        // A glance moves the pupils and, a little, the eyes themselves, so it shows even at 16 pixels.
        const float shift = pose.look * radius * 0.6f;
        centreU += pose.look * px;
        if (pose.blink) {
            const int count = view == View::Front ? 2 : 1;
            for (int i = 0; i < count; ++i) {
                const float u = view == View::Front ? centreU + (i == 0 ? -spacing : spacing) : centreU;
                c.paint(boxShape(u - radius, v - 0.6f * px, u + radius, v + 0.6f * px + 0.01f), pupil);
            }
            return;
        }
        if (view == View::Front) {
            for (int side = -1; side <= 1; side += 2) {
                const float u = centreU + side * spacing;
                c.paint(discShape(u, v, radius), white);
                c.paint(discShape(u + shift, v + radius * 0.15f, radius * 0.55f), pupil);
            }
        } else {
            c.paint(discShape(centreU, v, radius), white);
            // Looking sideways means looking up or down the screen in profile.
            c.paint(discShape(centreU - radius * 0.35f, v + pose.look * radius * 0.4f, radius * 0.55f),
                    pupil);
        }
    }
};

// Avatar 0: a round little robot with a visor and an antenna (the game tints it green).
void drawRobot(Figure& f) {
    const float b = f.pose.bob;
    const Colour shell = hexColour(0xf2f4f0), shellDark = hexColour(0xaab4b0), visor = hexColour(0x1c2a34);
    f.feet(hexColour(0x505a60), 0.08f, 0.84f, 0.95f);
    f.c.paint(roundBoxShape(0.28f, 0.52f + b, 0.72f, 0.88f + b, 0.1f), shellDark);
    f.c.paint(roundBoxShape(0.3f, 0.52f + b, 0.7f, 0.85f + b, 0.09f), shell);
    if (f.view == View::Front) {
        f.c.paint(roundBoxShape(0.41f, 0.62f + b, 0.59f, 0.74f + b, 0.03f), hexColour(0xff9a4a));
    }
    if (f.view == View::Back) {
        f.c.paint(boxShape(0.38f, 0.6f + b, 0.62f, 0.78f + b), shellDark);
    }
    f.c.paint(lineShape(f.view == View::Side ? 0.56f : 0.5f, 0.2f + b, f.view == View::Side ? 0.62f : 0.5f,
                        0.07f + b, 0.022f),
              shellDark);
    f.c.paint(discShape(f.view == View::Side ? 0.62f : 0.5f, 0.07f + b, 0.045f), hexColour(0xff6a5a));
    f.c.paint(roundBoxShape(0.2f, 0.16f + b, 0.8f, 0.54f + b, 0.14f), shellDark);
    f.c.paint(roundBoxShape(0.21f, 0.16f + b, 0.79f, 0.51f + b, 0.13f), shell);
    if (f.view == View::Front) {
        f.c.paint(roundBoxShape(0.28f, 0.26f + b, 0.72f, 0.44f + b, 0.07f), visor);
        f.eyes(0.5f, 0.35f + b, 0.1f, 0.055f, hexColour(0x90f8ff), hexColour(0x0a4a60));
    } else if (f.view == View::Side) {
        f.c.paint(roundBoxShape(0.14f, 0.26f + b, 0.46f, 0.44f + b, 0.07f), visor);
        f.eyes(0.27f, 0.35f + b, 0, 0.055f, hexColour(0x90f8ff), hexColour(0x0a4a60));
    } else {
        f.c.paint(boxShape(0.32f, 0.3f + b, 0.68f, 0.33f + b), shellDark);
        f.c.paint(boxShape(0.32f, 0.37f + b, 0.68f, 0.4f + b), shellDark);
    }
    f.arm(f.view == View::Side ? 0.46f : 0.66f, 0.64f + b, shellDark, hexColour(0x505a60), 0.045f);
}

// Avatar 1: a wanderer in an orange hood, two glowing eyes in the shadow of the hood.
void drawWanderer(Figure& f) {
    const float b = f.pose.bob;
    const Colour cloak = hexColour(0xe0662c), cloakDark = hexColour(0x9a3a18), face = hexColour(0x2a1410);
    const Colour pack = hexColour(0x6a4020), packLight = hexColour(0x9a6a3a);
    f.feet(hexColour(0x3a2418), 0.09f, 0.84f, 0.96f);
    if (f.view == View::Side) {
        // The pack on the back shows behind the cloak, opposite the face.
        f.c.paint(roundBoxShape(0.6f, 0.42f + b, 0.84f, 0.74f + b, 0.05f), pack);
        f.c.paint(boxShape(0.62f, 0.44f + b, 0.84f, 0.52f + b), packLight);
    }
    f.c.paint(triangleShape(0.5f, 0.3f + b, 0.16f, 0.9f + b, 0.84f, 0.9f + b), cloakDark);
    f.c.paint(triangleShape(0.5f, 0.3f + b, 0.22f, 0.88f + b, 0.78f, 0.88f + b), cloak);
    if (f.view == View::Side) {
        f.c.paint(ellipseShape(0.52f, 0.34f + b, 0.26f, 0.24f), cloak);
        f.c.paint(triangleShape(0.62f, 0.14f + b, 0.86f, 0.34f + b, 0.66f, 0.4f + b), cloakDark);
        f.c.paint(ellipseShape(0.34f, 0.38f + b, 0.14f, 0.15f), face);
        f.eyes(0.31f, 0.38f + b, 0, 0.07f, hexColour(0xfff2a0), hexColour(0xe07020));
    } else {
        f.c.paint(ellipseShape(0.5f, 0.36f + b, 0.3f, 0.26f), cloak);
        f.c.paint(triangleShape(0.4f, 0.16f + b, 0.5f, 0.04f + b, 0.6f, 0.16f + b), cloak);
        if (f.view == View::Front) {
            f.c.paint(ellipseShape(0.5f, 0.4f + b, 0.2f, 0.17f), face);
            f.eyes(0.5f, 0.4f + b, 0.09f, 0.06f, hexColour(0xfff2a0), hexColour(0xe07020));
        } else {
            f.c.paint(roundBoxShape(0.3f, 0.5f + b, 0.7f, 0.8f + b, 0.06f), pack);
            f.c.paint(boxShape(0.3f, 0.5f + b, 0.7f, 0.6f + b), packLight);
            f.c.paint(boxShape(0.46f, 0.58f + b, 0.54f, 0.66f + b), hexColour(0xe8c060));
        }
    }
    f.arm(f.view == View::Side ? 0.46f : 0.66f, 0.6f + b, cloakDark, hexColour(0xf0c090), 0.06f);
}

// Avatar 2: a blue cat with pointed ears and a curling tail.
void drawCat(Figure& f) {
    const float b = f.pose.bob;
    const Colour fur = hexColour(0x5a7ec8), furDark = hexColour(0x34508a), belly = hexColour(0xe8eef8),
                 ear = hexColour(0xf0a0b0);
    if (f.view != View::Front) {
        const float tu = f.view == View::Side ? 0.78f : 0.66f;
        f.c.paint(lineShape(0.56f, 0.8f + b, tu, 0.7f + b, 0.05f), furDark);
        f.c.paint(lineShape(tu, 0.7f + b, tu + 0.06f, 0.52f + b, 0.05f), furDark);
    }
    f.feet(furDark, 0.08f, 0.84f, 0.95f);
    f.c.paint(ellipseShape(0.5f, 0.7f + b, 0.22f, 0.2f), fur);
    if (f.view == View::Front) {
        f.c.paint(ellipseShape(0.5f, 0.73f + b, 0.12f, 0.14f), belly);
    }
    const float headU = f.view == View::Side ? 0.44f : 0.5f;
    for (int side = -1; side <= 1; side += 2) {
        if (f.view == View::Side && side == 1) {
            continue;
        }
        const float eu = headU + side * 0.17f + (f.view == View::Side ? 0.12f : 0.0f);
        f.c.paint(triangleShape(eu - 0.1f, 0.3f + b, eu + 0.02f * side, 0.08f + b, eu + 0.1f, 0.3f + b),
                  furDark);
        if (f.view != View::Back) {
            f.c.paint(
                triangleShape(eu - 0.05f, 0.28f + b, eu + 0.015f * side, 0.15f + b, eu + 0.05f, 0.28f + b),
                ear);
        }
    }
    f.c.paint(ellipseShape(headU, 0.37f + b, 0.26f, 0.19f), fur);
    if (f.view == View::Front) {
        f.c.paint(ellipseShape(0.5f, 0.45f + b, 0.1f, 0.06f), belly);
        f.c.paint(discShape(0.5f, 0.42f + b, 0.025f), ear);
        f.eyes(0.5f, 0.35f + b, 0.11f, 0.065f, hexColour(0xfff6a0), hexColour(0x10202a));
    } else if (f.view == View::Side) {
        f.c.paint(ellipseShape(0.22f, 0.42f + b, 0.08f, 0.06f), belly);
        f.c.paint(discShape(0.15f, 0.4f + b, 0.025f), ear);
        f.eyes(0.32f, 0.34f + b, 0, 0.065f, hexColour(0xfff6a0), hexColour(0x10202a));
    } else {
        // Tabby stripes over the back of the head and down the spine tell the back from the front,
        // which has the face and the white chest.
        for (float u : {0.38f, 0.5f, 0.62f}) {
            f.c.paint(boxShape(u - 0.03f, 0.2f + b, u + 0.03f, (u == 0.5f ? 0.4f : 0.32f) + b), furDark);
        }
        f.c.paint(boxShape(0.47f, 0.56f + b, 0.53f, 0.8f + b), furDark);
        for (float v : {0.62f, 0.72f}) {
            f.c.paint(boxShape(0.36f, v + b, 0.64f, v + 0.04f + b), furDark);
        }
    }
    f.arm(f.view == View::Side ? 0.42f : 0.64f, 0.64f + b, fur, belly, 0.05f);
}

// Avatar 3: a box droid on treads with one big lens.
void drawDroid(Figure& f) {
    const float b = f.pose.bob;
    const Colour metal = hexColour(0xc8ccd0), metalDark = hexColour(0x767e86), lens = hexColour(0xff7a1a);
    const float shift = f.pose.stride * 0.04f;
    f.c.paint(roundBoxShape(0.18f, 0.78f, 0.82f, 0.96f, 0.06f), hexColour(0x2a2e32));
    for (int i = 0; i < 4; ++i) {
        const float u = 0.26f + i * 0.16f + shift;
        f.c.paint(discShape(u, 0.87f, 0.04f), metalDark);
    }
    f.c.paint(roundBoxShape(0.2f, 0.22f + b, 0.8f, 0.8f + b, 0.06f), metalDark);
    f.c.paint(roundBoxShape(0.22f, 0.22f + b, 0.78f, 0.76f + b, 0.05f), metal);
    f.c.paint(lineShape(0.5f, 0.22f + b, 0.5f, 0.1f + b, 0.025f), metalDark);
    f.c.paint(discShape(0.5f, 0.08f + b, 0.045f), lens);
    if (f.view == View::Front || f.view == View::Side) {
        const float lu = f.view == View::Front ? 0.5f : 0.32f;
        if (f.pose.blink) {
            f.c.paint(boxShape(lu - 0.14f, 0.42f + b, lu + 0.14f, 0.47f + b), hexColour(0x20242a));
        } else {
            f.c.paint(discShape(lu, 0.45f + b, 0.16f), hexColour(0x20242a));
            f.c.paint(discShape(lu + f.pose.look * 0.05f, 0.45f + b, 0.1f), lens);
            f.c.paint(discShape(lu + f.pose.look * 0.05f - 0.03f, 0.42f + b, 0.035f), hexColour(0xfff0d0));
        }
    } else {
        // The back is a vent grille and one small status light: nothing that could pass for a face or
        // a screen.
        for (int slit = 0; slit < 3; ++slit) {
            const float v = 0.36f + slit * 0.125f + b;
            f.c.paint(boxShape(0.3f, v, 0.7f, v + 0.0625f), hexColour(0x20242a));
        }
        f.c.paint(boxShape(0.625f, 0.25f + b, 0.6875f, 0.3125f + b), hexColour(0x40ff40));
    }
    f.arm(f.view == View::Side ? 0.4f : 0.7f, 0.62f + b, metalDark, lens, 0.05f);
}

// Avatar 4: a mage in an indigo robe and a tall hat with gold trim.
void drawMage(Figure& f) {
    const float b = f.pose.bob;
    const Colour robe = hexColour(0x3a2a8a), robeDark = hexColour(0x22185a), gold = hexColour(0xe8c050),
                 skin = hexColour(0xf4d8c0);
    f.feet(hexColour(0x1a1230), 0.08f, 0.86f, 0.96f);
    f.c.paint(triangleShape(0.5f, 0.38f + b, 0.18f, 0.92f + b, 0.82f, 0.92f + b), robe);
    f.c.paint(boxShape(0.2f, 0.86f + b, 0.8f, 0.9f + b), gold);
    const float headU = f.view == View::Side ? 0.46f : 0.5f;
    if (f.view == View::Back) {
        // From behind no skin shows: long silver hair falls from under the hat over the robe, combed
        // into strands, ending in a point between the shoulders.
        const Colour hair = hexColour(0xd8dde8), strand = hexColour(0x9aa2b8);
        const Shape mane = unionShape(roundBoxShape(0.35f, 0.3f + b, 0.65f, 0.64f + b, 0.1f),
                                      triangleShape(0.38f, 0.62f + b, 0.62f, 0.62f + b, 0.5f, 0.74f + b));
        f.c.paint(mane, hair);
        for (float u : {0.43f, 0.5f, 0.57f}) {
            f.c.paint(lineShape(u, 0.38f + b, u, (u == 0.5f ? 0.68f : 0.6f) + b, 0.012f), strand);
        }
    } else {
        f.c.paint(discShape(headU, 0.42f + b, 0.15f), skin);
    }
    const float tipU = f.view == View::Side ? 0.72f : 0.56f;
    f.c.paint(triangleShape(headU - 0.25f, 0.32f + b, tipU, 0.02f + b, headU + 0.25f, 0.32f + b), robeDark);
    f.c.paint(boxShape(headU - 0.27f, 0.29f + b, headU + 0.27f, 0.34f + b), gold);
    f.c.paint(discShape(tipU, 0.04f + b, 0.035f), gold);
    if (f.view == View::Front) {
        f.eyes(0.5f, 0.44f + b, 0.065f, 0.045f, hexColour(0xffffff), hexColour(0x1a1040));
        f.c.paint(triangleShape(0.4f, 0.53f + b, 0.6f, 0.53f + b, 0.5f, 0.7f + b), hexColour(0xe8ecf4));
    } else if (f.view == View::Side) {
        f.eyes(0.38f, 0.43f + b, 0, 0.045f, hexColour(0xffffff), hexColour(0x1a1040));
        f.c.paint(triangleShape(0.3f, 0.5f + b, 0.44f, 0.52f + b, 0.34f, 0.66f + b), hexColour(0xe8ecf4));
    }
    f.arm(f.view == View::Side ? 0.44f : 0.66f, 0.62f + b, robeDark, skin, 0.05f);
}

const int kAvatarSizes[5] = {32, 16, 32, 16, 32};
} // namespace

PixelCanvas drawAvatar(int index, int facing, int pictureSet, int frame, int sizeOverride) {
    index = std::clamp(index, 0, 4);
    const int size = sizeOverride > 0 ? sizeOverride : kAvatarSizes[index];
    PixelCanvas canvas(size, size);
    canvas.setSmoothing(roomDrawnSmooth(index) || sizeOverride > 0 ? 4 : 1);
    const View view = facing == 2 ? View::Back : (facing == 3 ? View::Front : View::Side);
    const float pixel = 1.0f / size;
    Figure figure{canvas, view, poseFor(pictureSet, frame, pixel), pixel};
    switch (index) {
    case 0:
        drawRobot(figure);
        break;
    case 1:
        drawWanderer(figure);
        break;
    case 2:
        drawCat(figure);
        break;
    case 3:
        drawDroid(figure);
        break;
    default:
        drawMage(figure);
        break;
    }
    if (view == View::Back && pictureSet == 0 && frame > 0) {
        // Seen from behind, a glance turns the head: the upper half moves aside, or dips for a nod.
        const int step = size >= 32 ? 2 : 1;
        const int dx = frame == 1 ? -step : (frame == 2 ? step : 0);
        const int dy = frame == 3 ? step : 0;
        PixelCanvas turned(size, size);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const bool head = y < size / 2;
                const int sx = head ? x - dx : x, sy = head ? y - dy : y;
                if (sx >= 0 && sy >= 0 && sx < size && sy < size) {
                    turned.set(x, y, canvas.at(sx, sy));
                }
            }
        }
        canvas = turned;
    }
    if (figure.pose.sway != 0) {
        // The whole figure leans by a pixel; the outline below follows it.
        const int shift = static_cast<int>(std::lround(figure.pose.sway * size));
        PixelCanvas leaned(size, size);
        leaned.blit(canvas, shift, 0, 1);
        canvas = leaned;
    }
    canvas.addOutline(hexColour(0x0c0a10));
    canvas.bleedIntoTransparent();
    return facing == 1 ? canvas.mirrored() : canvas;
}
