// Counting, opening and closing around a benchmark's measurements.
#include "bench/system/counted_world_run.h"

#include "app/play_screen.h"
#include "app/services.h"
#include "bench/system/allocation_counter.h"
#include "bench/system/world_rig.h"

int runCountedOnWorldRig(int width, int height, void (*measure)(World& world, PlayScreen& screen)) {
    countAllocationsOnThisThread();
    if (!openWorldRig(width, height)) {
        return 0;
    }
    PlayScreen screen;
    measure(*theWorld, screen);
    closeWorldRig();
    return 0;
}
