// One C stdio file behind a failure flag. Lengths are taken with 64-bit offsets so that a file too big
// for an int fails cleanly instead of wrapping into a bogus size. Only regular files open: a FIFO, a
// device or a directory would block the game for ever or feed it without end, so each open is made
// without blocking and the file's kind is checked before stdio sees it.
#include "resources/binary_file_stream.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {
// No resource of the game comes near this; anything bigger is damaged or hostile, and reading it whole
// would only exhaust memory.
const int64_t kMaxWholeFileBytes = 256LL * 1024 * 1024;

template <typename T> bool readValue(FILE* file, T* value) {
    uint8_t bytes[sizeof(T)];
    if (fread(bytes, 1, sizeof bytes, file) != sizeof bytes) {
        return false;
    }
    uint64_t bits = 0;
    for (size_t i = 0; i < sizeof bytes; ++i) {
        bits |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    }
    *value = static_cast<T>(bits);
    return true;
}

template <typename T> bool writeValue(FILE* file, T value) {
    uint8_t bytes[sizeof(T)];
    const uint64_t bits = static_cast<uint64_t>(value);
    for (size_t i = 0; i < sizeof bytes; ++i) {
        bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
    }
    return fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes;
}
} // namespace

int64_t BinaryFileStream::maxWholeFileBytes() {
    return kMaxWholeFileBytes;
}

BinaryFileStream::~BinaryFileStream() {
    if (file_ != nullptr) {
        fclose(file_);
    }
}

namespace {
// A descriptor for path opened with flags (never blocking), or -1 when it cannot be opened or is not a
// regular file. The non-blocking mode is dropped again once the file is known to be regular.
int openRegular(const char* path, int flags) {
    if (path == nullptr) {
        return -1;
    }
    int fd;
    do {
        fd = ::open(path, flags | O_NONBLOCK | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return -1;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    const int status = fcntl(fd, F_GETFL);
    if (status == -1 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == -1) {
        ::close(fd);
        return -1;
    }
    return fd;
}
} // namespace

void BinaryFileStream::open(const char* path, int flags, const char* mode) {
    if (file_ != nullptr) {
        const bool closeFailed = fclose(file_) != 0;
        file_ = nullptr;
        if (closeFailed) {
            failed_ = true;
            return;
        }
    }
    failed_ = false;
    const int fd = openRegular(path, flags);
    file_ = fd >= 0 ? fdopen(fd, mode) : nullptr;
    if (file_ == nullptr) {
        if (fd >= 0) {
            ::close(fd);
        }
        failed_ = true;
    }
}

void BinaryFileStream::openRead(const char* path) {
    open(path, O_RDONLY, "rb");
}

void BinaryFileStream::openWrite(const char* path) {
    open(path, O_WRONLY | O_CREAT | O_TRUNC, "wb");
}

void BinaryFileStream::openCreate(const char* path) {
    // O_EXCL fails on any existing name, a dangling link included, so nothing is ever written through
    // a link to somewhere else; O_NOFOLLOW says so once more.
    open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, "wb");
}

void BinaryFileStream::close() {
    if (file_ == nullptr) {
        failed_ = false;
        return;
    }
    failed_ = fclose(file_) != 0;
    file_ = nullptr;
}

void BinaryFileStream::flush() {
    failed_ = file_ != nullptr && fflush(file_) != 0;
}

bool BinaryFileStream::measure(int64_t* length) {
    *length = 0;
    if (file_ == nullptr || fseeko(file_, 0, SEEK_END) != 0) {
        return false;
    }
    const off_t end = ftello(file_);
    rewind(file_);
    if (end < 0) {
        return false;
    }
    *length = static_cast<int64_t>(end);
    return true;
}

int BinaryFileStream::size() {
    int64_t length = 0;
    if (!measure(&length) || length > INT_MAX) {
        failed_ = true;
        return 0;
    }
    failed_ = false;
    return static_cast<int>(length);
}

uint8_t* BinaryFileStream::readAll() {
    size_t ignored = 0;
    return readAll(&ignored);
}

uint8_t* BinaryFileStream::readAll(size_t* length) {
    *length = 0;
    int64_t fileLength = 0;
    if (!measure(&fileLength) || fileLength == 0 || fileLength > kMaxWholeFileBytes) {
        failed_ = true;
        return nullptr;
    }
    const size_t bytes = static_cast<size_t>(fileLength);
    uint8_t* buffer = static_cast<uint8_t*>(malloc(bytes));
    if (buffer == nullptr || fread(buffer, 1, bytes, file_) != bytes) {
        free(buffer);
        failed_ = true;
        return nullptr;
    }
    failed_ = false;
    *length = bytes;
    return buffer;
}

void BinaryFileStream::writeText(const std::string& text) {
    if (file_ == nullptr) {
        failed_ = true;
        return;
    }
    failed_ = false;
    for (char c : text) {
        if (fputc(static_cast<unsigned char>(c), file_) == EOF) {
            failed_ = true;
            return;
        }
    }
}

void BinaryFileStream::writeString(const std::string& text) {
    if (file_ == nullptr) {
        failed_ = true;
        return;
    }
    failed_ = false;
    for (char c : text) {
        // A zero byte inside would end the string early for any reader, so it is refused.
        if (c == '\0' || fputc(static_cast<unsigned char>(c), file_) == EOF) {
            failed_ = true;
            break;
        }
    }
    if (fputc(0, file_) == EOF) {
        failed_ = true;
    }
}

void BinaryFileStream::writeBytes(const void* data, size_t length) {
    if (file_ == nullptr) {
        failed_ = true;
        return;
    }
    failed_ = length > 0 && fwrite(data, 1, length, file_) != length;
}

bool BinaryFileStream::readBool() {
    uint8_t c = 0;
    if (file_ == nullptr || !readValue(file_, &c) || (c != '0' && c != '1')) {
        failed_ = true;
        return false;
    }
    failed_ = false;
    return c == '1';
}

void BinaryFileStream::writeBool(bool value) {
    writeUInt8(value ? '1' : '0');
}

template <typename T> T BinaryFileStream::readTyped() {
    T value = 0;
    failed_ = file_ == nullptr || !readValue(file_, &value);
    return failed_ ? 0 : value;
}

template <typename T> void BinaryFileStream::writeTyped(T value) {
    failed_ = file_ == nullptr || !writeValue(file_, value);
}

int8_t BinaryFileStream::readInt8() {
    return readTyped<int8_t>();
}
uint8_t BinaryFileStream::readUInt8() {
    return readTyped<uint8_t>();
}
void BinaryFileStream::writeInt8(int8_t value) {
    writeTyped(value);
}
void BinaryFileStream::writeUInt8(uint8_t value) {
    writeTyped(value);
}
int32_t BinaryFileStream::readInt32() {
    return readTyped<int32_t>();
}
uint32_t BinaryFileStream::readUInt32() {
    return readTyped<uint32_t>();
}
void BinaryFileStream::writeInt32(int32_t value) {
    writeTyped(value);
}
void BinaryFileStream::writeUInt32(uint32_t value) {
    writeTyped(value);
}
int64_t BinaryFileStream::readInt64() {
    return readTyped<int64_t>();
}
uint64_t BinaryFileStream::readUInt64() {
    return readTyped<uint64_t>();
}
void BinaryFileStream::writeInt64(int64_t value) {
    writeTyped(value);
}
void BinaryFileStream::writeUInt64(uint64_t value) {
    writeTyped(value);
}

std::string BinaryFileStream::readString() {
    if (file_ == nullptr) {
        failed_ = true;
        return std::string();
    }
    std::string text;
    for (;;) {
        const int c = fgetc(file_);
        if (c == EOF) {
            failed_ = true;
            return std::string();
        }
        if (c == 0) {
            failed_ = false;
            return text;
        }
        text.push_back(static_cast<char>(c));
    }
}
