// World set-up, update and drawing.
#include "game/world.h"

World::World() = default;
World::~World() = default;
void World::update(float dt) { (void)dt; }
void World::draw() {}
