// Resource paths and whole-file reading.
#include "resources/resource_file.h"

#include <sstream>

#include "resources/binary_file_stream.h"
#include "resources/cipher.h"

std::string resourceName(int number) {
    std::ostringstream name;
    name << number << ".dat";
    return name.str();
}

std::string resourcePath(int number) {
    std::ostringstream path;
    path << "res/" << number << ".dat";
    return path.str();
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
