// Crawler: one member of the swarm that pours out of a passed door once the game is won. A tapering
// body of six trailing points swims with a wobbling heading towards random targets, starting in the
// World's drifting tint and fading to black. Nothing is allocated after construction.
#pragma once

constexpr int kCrawlerTrail = 6;
// The body runs from the head through the six trail points.
constexpr int kCrawlerBodyPoints = kCrawlerTrail + 1;
// Half-widths of the body points in cells, head first: a diamond of that half-width sits on each point,
// and the head and the tail are points. The body is the band between each pair of neighbouring diamonds.
constexpr float kCrawlerHalfWidth[kCrawlerBodyPoints] = {0.0f, 0.07f, 0.04f, 0.04f, 0.04f, 0.04f, 0.0f};

class CrawlerBatch;

class Crawler {
public:
    // Starts just inside the door cell (homeX, homeY), heading two cells down into the room. Draws
    // three random numbers.
    Crawler(float delay, float homeX, float homeY);

    void update(float dt);
    // Adds the crawler's quads to the frame's batch; c is the cell size, tint the World's current tint.
    void draw(CrawlerBatch& batch, float c, const float tint[3]) const;
    // The body's points in cells, head first (the half-widths are kCrawlerHalfWidth's).
    void bodyPoints(float px[kCrawlerBodyPoints], float py[kCrawlerBodyPoints]) const;
    // The one colour of the whole body: the tint until the age reaches 0, then fading to black over
    // five seconds; black from then on.
    void bodyColour(const float tint[3], float rgb[3]) const;

    float x;
    float y;
    float trailX[kCrawlerTrail]; // head side first
    float trailY[kCrawlerTrail];
    float wanderDelay; // age from which targets are drawn from the wide area
    float homeX;
    float homeY;
    float targetX;
    float targetY;
    float age; // seconds alive; starts negative

private:
    void chooseTarget();
    void dragTrail();
};
