// Program entry.
#include <SDL/SDL.h>

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    return 1;
}
