// The crawlers' swimming, chain-dragged bodies and drawing.
#include "game/crawler.h"

#include <algorithm>
#include <cmath>

#include "app/random.h"
#include "game/crawler_batch.h"
#include "render/vec3.h"

namespace {
// Link lengths of the chain from the head backwards; the body is at most 1.36 cells long.
const float kLinkLength[kCrawlerTrail] = {0.01f, 0.15f, 0.3f, 0.3f, 0.3f, 0.3f};
const float kSpeed = 0.75f; // cells per second
const float kArriveDistance = 0.4f;
const float kLowestBelowDoor = 2.8f; // a crawler never sinks below its room's floor

} // namespace

Crawler::Crawler(float delay, float homeX_, float homeY_) : wanderDelay(delay), homeX(homeX_), homeY(homeY_) {
    const float r1 = randomUnit();
    const float r2 = randomUnit();
    const float r3 = randomUnit();
    x = homeX + 0.3f + 0.4f * r1;
    y = homeY + 0.5f;
    targetX = homeX + 0.3f + 0.4f * r2;
    targetY = homeY - 1.5f;
    for (int i = 0; i < kCrawlerTrail; ++i) {
        trailX[i] = x;
        trailY[i] = y;
    }
    age = -3.0f * r3;
}

void Crawler::chooseTarget() {
    const float r = randomUnit();
    const float r2 = randomUnit();
    if (age >= wanderDelay) {
        // Later crawlers roam an area that reaches beyond the room's walls.
        targetX = homeX - 4.5f + 15.0f * r;
        targetY = homeY - 2.75f + 4.25f * r2;
    } else {
        // The first ones of a room keep to roughly its floor.
        targetX = homeX - 1.25f + 8.5f * r;
        targetY = homeY - 1.5f + 2.0f * r2;
    }
}

void Crawler::update(float dt) {
    Vec3 heading(targetX - x, targetY - y, 0.0f);
    const float distance = heading.length();
    if (distance < kArriveDistance) {
        // It pauses for this one frame while it picks where to go next.
        chooseTarget();
    } else {
        // The heading swings to and fro with the crawler's age. The turn in the screen plane is Vec3's
        // rotate about Z done with one sine and cosine, not its three polar steps: the same angle,
        // within float rounding, at half the cost of the whole update with five full swarms.
        const float turn = std::sin(2.0f * age);
        const float cosTurn = std::cos(turn);
        const float sinTurn = std::sin(turn);
        const float hx = heading.x / distance;
        const float hy = heading.y / distance;
        const float stride = kSpeed * dt;
        x += (hx * cosTurn - hy * sinTurn) * stride;
        y += (hx * sinTurn + hy * cosTurn) * stride;
        y = std::max(y, homeY - kLowestBelowDoor);
    }
    dragTrail();
    age += dt;
}

void Crawler::dragTrail() {
    float previousX = x;
    float previousY = y;
    for (int i = 0; i < kCrawlerTrail; ++i) {
        Vec3 link(trailX[i] - previousX, trailY[i] - previousY, 0.0f);
        const float length = link.length();
        if (length > kLinkLength[i]) {
            link.scale(kLinkLength[i] / length);
        }
        trailX[i] = previousX + link.x;
        trailY[i] = previousY + link.y;
        previousX = trailX[i];
        previousY = trailY[i];
    }
}

void Crawler::bodyPoints(float px[kCrawlerBodyPoints], float py[kCrawlerBodyPoints]) const {
    px[0] = x;
    py[0] = y;
    for (int i = 0; i < kCrawlerTrail; ++i) {
        px[i + 1] = trailX[i];
        py[i + 1] = trailY[i];
    }
}

void Crawler::bodyColour(const float tint[3], float rgb[3]) const {
    // Full tint until the age reaches 0, then a fade to black over five seconds.
    const float fade = age < 5.0f ? std::min(1.0f, (5.0f - age) / 5.0f) : 0.0f;
    for (int i = 0; i < 3; ++i) {
        rgb[i] = age < 5.0f ? tint[i] * fade : 0.0f;
    }
}

void Crawler::draw(CrawlerBatch& batch, float c, const float tint[3]) const {
    float px[kCrawlerBodyPoints];
    float py[kCrawlerBodyPoints];
    float rgb[3];
    bodyPoints(px, py);
    bodyColour(tint, rgb);
    batch.addBody(px, py, c, rgb);
}
