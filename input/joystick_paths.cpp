// Checking the joystick paths of the environment before SDL opens them.
#include "input/joystick_paths.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {
const char* const kVariable = "SDL_JOYSTICK_DEVICE";

bool isCharacterDevice(const std::string& path) {
    // stat, as SDL does: a link to a joystick (the /dev/input/by-id names) is a joystick.
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

// The list with every entry that is not a character device left out (empty entries too).
std::string characterDevicesOnly(const std::string& list) {
    std::string kept;
    size_t start = 0;
    for (;;) {
        const size_t end = list.find(':', start);
        const std::string path =
            list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (isCharacterDevice(path)) {
            kept += (kept.empty() ? "" : ":") + path;
        }
        if (end == std::string::npos) {
            return kept;
        }
        start = end + 1;
    }
}
} // namespace

void keepOnlyJoystickDevices() {
    const char* list = std::getenv(kVariable);
    if (list == nullptr) {
        return;
    }
    const std::string kept = characterDevicesOnly(list);
    if (kept.empty()) {
        unsetenv(kVariable);
    } else if (kept != list) {
        setenv(kVariable, kept.c_str(), 1);
    }
}
