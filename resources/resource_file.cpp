// Resource paths and whole-file reading.
#include "resources/resource_file.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include "resources/binary_file_stream.h"
#include "resources/cipher.h"

// Plain concatenation: a string stream costs more than the rest of a small picture's path work in the
// browser, and the start looks up every picture.
std::string resourceName(int number) {
    return std::to_string(number) + ".dat";
}

std::string resourcePath(int number) {
    return "res/" + std::to_string(number) + ".dat";
}

#ifdef __EMSCRIPTEN__
namespace {
// In the browser the resource files lie in the page's in-memory file system, where the stdio road
// (open, stat, flags, size, read, close) crosses from the game's code into the page's a dozen times per
// file, for each of the hundreds of pictures read at the start. This reads one whole in one crossing,
// with the same refusals: not there, not a regular file, empty, or over the size limit give null.
EM_JS(uint8_t*, tavok_read_whole_file, (const char* path, double largest, size_t* length), {
    var bytes;
    try {
        var name = UTF8ToString(path);
        if (!FS.isFile(FS.stat(name).mode)) return 0;
        bytes = FS.readFile(name);
    } catch (e) {
        return 0;
    }
    if (bytes.length == 0 || bytes.length > largest) return 0;
    var copy = _malloc(bytes.length);
    if (!copy) return 0;
    HEAPU8.set(bytes, copy);
    HEAPU32[length >> 2] = bytes.length;
    return copy;
});
} // namespace

uint8_t* readResourceFile(const std::string& path, size_t* length) {
    *length = 0;
    uint8_t* bytes = tavok_read_whole_file(
        path.c_str(), static_cast<double>(BinaryFileStream::maxWholeFileBytes()), length);
    if (bytes == nullptr) {
        *length = 0;
        return nullptr;
    }
    unscrambleResource(bytes, *length);
    return bytes;
}
#else
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
#endif
