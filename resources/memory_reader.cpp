// A whole resource file in memory, read in order by the mesh decoder.
#include "resources/memory_reader.h"

#include <cstdlib>

#include "resources/resource_file.h"

MemoryReader::~MemoryReader() {
    free(data_);
}

void MemoryReader::clear() {
    free(data_);
    data_ = nullptr;
    position_ = 0;
    size_ = 0;
    failed_ = false;
}

void MemoryReader::load(const char* path) {
    clear();
    size_t length = 0;
    data_ = readResourceFile(path, &length);
    if (data_ == nullptr) {
        failed_ = true;
        return;
    }
    size_ = static_cast<int>(length);
    failed_ = false;
}

int MemoryReader::readByte() {
    if (data_ == nullptr || position_ >= size_) {
        failed_ = true;
        return 0;
    }
    failed_ = false;
    return data_[position_++];
}

int32_t MemoryReader::readInt32() {
    if (data_ == nullptr || size_ - position_ < 4) {
        failed_ = true;
        return 0;
    }
    const uint8_t* p = data_ + position_;
    position_ += 4;
    failed_ = false;
    const uint32_t bits = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                          static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return static_cast<int32_t>(bits);
}
