// Writes numbered resource files: res/<n>.dat, scrambled with the game's resource key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ResourceOutput {
public:
    explicit ResourceOutput(std::string directory) : directory_(std::move(directory)) {}

    // Scrambles a copy of the payload and writes it as resource number n. Any failure is kept in failed().
    void write(int number, const std::vector<uint8_t>& payload);

    bool failed() const { return failed_; }
    int filesWritten() const { return filesWritten_; }
    uint64_t bytesWritten() const { return bytesWritten_; }

private:
    std::string directory_;
    bool failed_ = false;
    int filesWritten_ = 0;
    uint64_t bytesWritten_ = 0;
};
