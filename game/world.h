// World: the whole game being played. (The gameplay lands in its own change; until then the world is
// an empty field.)
#pragma once

class World {
public:
    World();
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    void update(float dt);
    void draw();
};
