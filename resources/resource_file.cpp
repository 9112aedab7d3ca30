// Resource paths and whole-file reading.
#include "resources/resource_file.h"

#include <cstdlib>

#include "resources/binary_file_stream.h"
#include "resources/cipher.h"

// Plain concatenation: a string stream is a slow way to build a short name (in the browser above all),
// and the start builds one for every picture.
std::string resourceName(int number) {
    return std::to_string(number) + ".dat";
}

std::string resourcePath(int number) {
    return "res/" + std::to_string(number) + ".dat";
}

namespace {
ResourceFileSource fileSource = nullptr;

uint8_t* readStoredFile(const std::string& path, size_t* length) {
    BinaryFileStream stream;
    stream.openRead(path.c_str());
    if (stream.failed()) {
        return nullptr;
    }
    stream.size();
    uint8_t* bytes = stream.readAll(length);
    stream.close();
    return bytes;
}
} // namespace

void setResourceFileSource(ResourceFileSource source) {
    fileSource = source;
}

uint8_t* readResourceFile(const std::string& path, size_t* length) {
    *length = 0;
    uint8_t* bytes = fileSource != nullptr ? fileSource(path, length) : readStoredFile(path, length);
    if (bytes == nullptr || *length == 0) {
        free(bytes);
        *length = 0;
        return nullptr;
    }
    unscrambleResource(bytes, *length);
    return bytes;
}
