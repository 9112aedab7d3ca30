// MemoryReader: one whole resource file, read and unscrambled in one go, handed out to a decoder byte by
// byte. A read past the end fails without moving, so a decoder that ignores the flag keeps getting 0.
#pragma once

#include <cstdint>

class MemoryReader {
public:
    MemoryReader() = default;
    ~MemoryReader();
    MemoryReader(const MemoryReader&) = delete;
    MemoryReader& operator=(const MemoryReader&) = delete;

    // Reads and unscrambles the resource file at path; sets the flag on failure.
    void load(const char* path);
    bool failed() const { return failed_; }
    void clear();

    // The next byte, 0..255, or 0 with the flag set.
    int readByte();
    // The next four bytes as a little-endian signed value, or 0 with the flag set.
    int32_t readInt32();

    int position() const { return position_; }
    int size() const { return size_; }
    // Bytes not read yet.
    int remaining() const { return size_ - position_; }

private:
    int position_ = 0;
    int size_ = 0;
    uint8_t* data_ = nullptr;
    bool failed_ = false;
};
