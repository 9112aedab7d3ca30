// Crawler: one member of the swarm that pours out of a passed door once the game is won. A tapering
// body of six trailing points swims with a wobbling heading towards random targets, starting in the
// World's drifting tint and fading to black. Nothing is allocated after construction.
#pragma once

constexpr int kCrawlerTrail = 6;

class CrawlerBatch;

class Crawler {
public:
    // Starts just inside the door cell (homeX, homeY), heading two cells down into the room. Draws
    // three random numbers.
    Crawler(float delay, float homeX, float homeY);

    void update(float dt);
    // Adds the crawler's quads to the frame's batch; c is the cell size, tint the World's current tint.
    void draw(CrawlerBatch& batch, float c, const float tint[3]) const;

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
