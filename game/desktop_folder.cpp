// Looking up the desktop folder from the environment and the XDG user directories file.
#include "game/desktop_folder.h"

#include <cstdint>
#include <cstdlib>

#include "resources/binary_file_stream.h"

namespace {
const char* const kDesktopKey = "XDG_DESKTOP_DIR";
const size_t kLongestUserDirsFile = 64 * 1024;

std::string withTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// The desktop line of the user-dirs.dirs file, when the file exists and names one.
bool desktopFromUserDirs(const std::string& home, std::string& folder) {
    std::string configHome = environment("XDG_CONFIG_HOME");
    if (configHome.empty()) {
        configHome = home + "/.config";
    }
    BinaryFileStream file;
    file.openRead((configHome + "/user-dirs.dirs").c_str());
    if (file.failed()) {
        return false;
    }
    bool found = false;
    std::string line;
    bool ended = false;
    for (size_t taken = 0; !ended; ++taken) {
        // The file is a few hundred bytes; reading stops at a bound, whatever sits there instead.
        const uint8_t byte = file.readUInt8();
        ended = file.failed() || taken >= kLongestUserDirsFile;
        if (byte == '\n' || ended) {
            // A later assignment overrides an earlier one, as a shell reading the file would see it.
            std::string value;
            if (parseDesktopDirLine(line, home, value)) {
                folder = value;
                found = true;
            }
            line.clear();
        } else if (line.size() < 4096) {
            line += static_cast<char>(byte);
        }
    }
    file.close();
    return found;
}
} // namespace

bool parseDesktopDirLine(const std::string& line, const std::string& home, std::string& folder) {
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos ||
        line.compare(start, std::string(kDesktopKey).size(), kDesktopKey) != 0) {
        return false;
    }
    size_t pos = start + std::string(kDesktopKey).size();
    if (pos >= line.size() || line[pos] != '=') {
        return false;
    }
    std::string value = line.substr(pos + 1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r')) {
        value.pop_back();
    }
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    // Paths are either absolute or start with $HOME.
    const std::string homeVariable = "$HOME";
    if (value.compare(0, homeVariable.size(), homeVariable) == 0) {
        value = home + value.substr(homeVariable.size());
    }
    if (value.empty()) {
        return false;
    }
    folder = value;
    return true;
}

bool findDesktopFolder(std::string& folder) {
    const char* profile = std::getenv("USERPROFILE");
    if (profile != nullptr) {
        folder = std::string(profile) + "/Desktop/";
        return true;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr) {
        folder.clear();
        return false;
    }
    std::string found = environment(kDesktopKey);
    if (found.empty() && !desktopFromUserDirs(home, found)) {
        found = std::string(home) + "/Desktop";
    }
    folder = withTrailingSlash(found);
    return true;
}
