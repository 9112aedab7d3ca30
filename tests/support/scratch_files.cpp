// Scratch directories and scrambled test files.
#include "tests/support/scratch_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "resources/cipher.h"

ScratchDir::ScratchDir() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/tavok-test-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

ScratchDir::~ScratchDir() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
}

WorkingDirectory::WorkingDirectory(const std::string& path) {
    previous_ = std::filesystem::current_path().string();
    if (chdir(path.c_str()) != 0) {
        previous_.clear();
    }
}

WorkingDirectory::~WorkingDirectory() {
    if (!previous_.empty() && chdir(previous_.c_str()) != 0) {
        // Nothing sensible to do: the test binary ends soon after.
    }
}

std::vector<uint8_t> readWholeFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return bytes;
    }
    uint8_t buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    fclose(file);
    return bytes;
}

bool writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool complete = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && complete;
}

bool writeScrambledFile(const std::string& path, std::vector<uint8_t> payload) {
    scrambleResource(payload.data(), payload.size());
    return writeWholeFile(path, payload);
}
