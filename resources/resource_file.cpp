// Resource paths and whole-file reading.
#include "resources/resource_file.h"

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

uint8_t* readResourceFile(const std::string& path, size_t* length) {
    *length = 0;
    BinaryFileStream stream;
    stream.openRead(path.c_str());
    if (stream.failed()) {
        return nullptr;
    }
    stream.size();
    uint8_t* bytes = stream.readAll(length);
    stream.close();
    if (bytes == nullptr) {
        return nullptr;
    }
    unscrambleResource(bytes, *length);
    return bytes;
}
