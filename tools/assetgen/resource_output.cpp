// Resource files go through the game's own cipher, so the generator can never drift from the reader.
#include "tools/assetgen/resource_output.h"

#include <cstdio>

#include "resources/cipher.h"

void ResourceOutput::write(int number, const std::vector<uint8_t>& payload) {
    if (payload.empty()) {
        failed_ = true;
        return;
    }
    std::vector<uint8_t> bytes = payload;
    scrambleResource(bytes.data(), bytes.size());
    const std::string path = directory_ + "/" + std::to_string(number) + ".dat";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        failed_ = true;
        return;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        failed_ = true;
        return;
    }
    ++filesWritten_;
    bytesWritten_ += bytes.size();
}
