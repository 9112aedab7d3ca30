// Writes the print page exactly as the desktop game does at the end of a won game, into FOLDER/Desktop,
// so that the browser tests can compare the page's download with it byte for byte.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/services.h"
#include "game/desktop_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    std::filesystem::create_directories(std::string(argv[1]) + "/Desktop");
    setenv("USERPROFILE", argv[1], 1);
    gameMode = kModePlay;
    writePrintFile();
    return gameMode == kModePlay ? 0 : 1;
}
