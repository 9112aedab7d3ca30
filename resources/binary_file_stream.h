// BinaryFileStream: one C stdio file with a failure flag instead of exceptions. Every operation sets the
// flag anew (it is not sticky), so a caller checks it right after the operation it cares about.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class BinaryFileStream {
public:
    BinaryFileStream() = default;
    ~BinaryFileStream(); // closes an open file, ignoring the result
    BinaryFileStream(const BinaryFileStream&) = delete;
    BinaryFileStream& operator=(const BinaryFileStream&) = delete;

    bool failed() const { return failed_; }
    bool isOpen() const { return file_ != nullptr; }

    // Close any open file first; then open the path for reading ("rb") or writing ("wb", creating or
    // truncating). Only a regular file opens: a directory, FIFO, socket or device fails at once,
    // without blocking.
    void openRead(const char* path);
    void openWrite(const char* path);
    // As openWrite, but only when nothing at all exists at path yet (not even a dangling link): the
    // file is created new or the open fails.
    void openCreate(const char* path);
    void close();
    void flush();

    // The file's length in bytes; leaves the read position at the start. A length beyond an int fails.
    int size();
    // The whole file in a new buffer from the C allocator (the caller frees it), or null. An empty file
    // is a failure, and so is one longer than maxWholeFileBytes().
    uint8_t* readAll();
    // As readAll, also giving the length of the buffer it returned (0 with null): the length a caller
    // must use, since the file may have changed since it asked size().
    uint8_t* readAll(size_t* length);

    void writeText(const std::string& text);   // the bytes, no terminator
    void writeString(const std::string& text); // the bytes, then one zero byte
    void writeBytes(const void* data, size_t length);

    bool readBool();
    void writeBool(bool value);
    int8_t readInt8();
    uint8_t readUInt8();
    void writeInt8(int8_t value);
    void writeUInt8(uint8_t value);
    int32_t readInt32();
    uint32_t readUInt32();
    void writeInt32(int32_t value);
    void writeUInt32(uint32_t value);
    int64_t readInt64();
    uint64_t readUInt64();
    void writeInt64(int64_t value);
    void writeUInt64(uint64_t value);
    // Bytes up to a zero byte, without it; an empty string with the flag set when the file ends first.
    std::string readString();

    // The largest file readAll hands out; a longer one is refused as damaged rather than read.
    static int64_t maxWholeFileBytes();

private:
    void open(const char* path, int flags, const char* mode);
    // The length by seeking to the end; rewinds. False when the file is closed or cannot seek.
    bool measure(int64_t* length);
    template <typename T> T readTyped();
    template <typename T> void writeTyped(T value);

    FILE* file_ = nullptr;
    bool failed_ = false;
};
