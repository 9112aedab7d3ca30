// The game's world on a real window without the game loop around it, for the benchmarks that drive it
// frame by frame: window, audio, the services the world needs, and the world itself from res/ in the
// working directory.
#pragma once

class World;

// Opens a width x height window and builds the world with a fixed random seed. False (with a line on
// stdout saying why) when no OpenGL window opens.
bool openWorldRig(int width, int height);
// Tears the world and the services down again and closes the platform.
void closeWorldRig();

// Every room's swarm at its cap of 1100 crawlers, spread out of their doors, the whole field still lit:
// the heaviest the game gets.
void fillSwarmsToCap(World& world);
// Holds every room lit, so that nothing is culled while measuring.
void keepFieldLit(World& world);
// The process's resident memory in KiB (/proc/self/statm).
long residentKb();
