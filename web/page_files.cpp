// Carrying the print page and the marker out of the page's in-memory file system.
#include "web/page_files.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/desktop_files.h"
#include "game/desktop_folder.h"
#include "resources/binary_file_stream.h"

extern "C" {
// web/tavok_library.js
void tavok_offer_print_page(const uint8_t* bytes, int length);
void tavok_store_marker();
}

namespace {
// The whole file, or an empty string when it cannot be read.
std::string wholeFile(const std::string& path) {
    BinaryFileStream file;
    file.openRead(path.c_str());
    if (file.failed()) {
        return std::string();
    }
    size_t length = 0;
    uint8_t* bytes = file.readAll(&length);
    file.close();
    if (bytes == nullptr) {
        return std::string();
    }
    std::string text(reinterpret_cast<const char*>(bytes), length);
    free(bytes);
    return text;
}
} // namespace

void PageFiles::afterPass() {
    if (!markerStored_ && fileExists(markerFileName)) {
        tavok_store_marker();
        markerStored_ = true;
    }
    if (printPageOffered_) {
        return;
    }
    std::string folder;
    if (!findDesktopFolder(folder)) {
        return;
    }
    const std::string path = folder + printFileName;
    if (!fileExists(path)) {
        return;
    }
    const std::string page = wholeFile(path);
    if (page.empty()) {
        return;
    }
    tavok_offer_print_page(reinterpret_cast<const uint8_t*>(page.data()), static_cast<int>(page.size()));
    printPageOffered_ = true;
}
