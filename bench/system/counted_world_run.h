// The main of a benchmark that counts the game thread's heap allocations while it drives the world
// rig: counting starts before the window opens, so that the thread is counted from its first frame.
// A benchmark that uses it links allocation_counter.cpp too.
#pragma once

class PlayScreen;
class World;

// Opens a width x height world rig, runs measure on its world with a play screen and closes the rig
// again. Returns main's exit code: 0, also when no window opens (the rig has said why), since a machine
// without OpenGL has nothing to measure.
int runCountedOnWorldRig(int width, int height, void (*measure)(World& world, PlayScreen& screen));
