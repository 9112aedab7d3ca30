// Files made by tests: scratch directories and scrambled resource files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A fresh, empty directory under the system's temporary folder, removed with everything in it when the
// object goes away.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Changes the working directory for the object's lifetime (the game reads res/ relative to it).
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::string previous_;
};

std::vector<uint8_t> readWholeFile(const std::string& path);
bool writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
// Scrambles the payload with the resource key and writes it as a resource file.
bool writeScrambledFile(const std::string& path, std::vector<uint8_t> payload);
