// The print page and the marker file.
#include "game/desktop_files.h"

#include <sys/stat.h>

#include "app/fatal.h"
#include "game/desktop_folder.h"
#include "resources/new_file_writer.h"

const char* const printFileName = "print_me.html";
const char* const markerFileName = "delete_me.html";

namespace {
const char* const kMakersNotice = "<!-- taVok, made by the taVok developers, 2026 -->";

const char* const kPageHead =
    "<html><head><title></title><style type=\"text/css\">.a{border:20px solid #ffffff}"
    ".b{border:20px solid #ffffff}.c{border:20px solid #000000}@media screen{.b{border:20px solid "
    "#000000}}</style></head><body><table cellpadding=\"0\" cellspacing=\"0\">";
const char* const kPageTail = "</table></body></html>";

// The picture, one letter per 40-pixel square: a is white everywhere, c black everywhere, and b black
// on screen but white on paper. On screen b and c draw the picture together; in print c alone.
// clang-format off
const char* const kPictureRows[] = {
    "aaaaaaaaaaaaaaaabbcccccccbbb",
    "aaaaaaaaaaaaaaaaccccccccccbb",
    "aaaaaaaaaaaaaaaabccccccccccb",
    "aaaaaaaaaaaaaaaabbbccccccccc",
    "bbbbcccccccccccccbbbaaaacccc",
    "bbbcccccccccccccccbbaaaacccc",
    "bccccccccccccccccccbaaaacccc",
    "bcbcccccccccccccccccaaaacccc",
    "bccccccbaaaaaaaacccccccccccc",
    "bbccbcbbaaaaaaaabccccccccccb",
    "ccbcccbbaaaaaaaabbccccccccbb",
    "bcbbbbbbaaaaaaaabbbccccccbbb",
};
// clang-format on
} // namespace

std::string printPageText() {
    std::string page = kMakersNotice;
    page += kPageHead;
    for (const char* row : kPictureRows) {
        page += "<tr>";
        for (const char* square = row; *square != '\0'; ++square) {
            page += "<td class=\"";
            page += *square;
            page += "\"></td>";
        }
        page += "</tr>";
    }
    page += kPageTail;
    return page;
}

std::string desktopPath() {
    std::string folder;
    if (!findDesktopFolder(folder)) {
        reportFatal(kFatalDescribed, "missing environment variable:\nhome");
        return printFileName;
    }
    return folder + printFileName;
}

bool fileExists(const std::string& path) {
    // Whatever sits at the name counts: a page the player cannot read, a FIFO or a dangling link is
    // still theirs. Opening it to find out would block on a FIFO, and would call an unreadable page
    // missing and overwrite it.
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

void writePrintFile() {
    // A page already on the desktop, whatever it holds, is never overwritten.
    if (fileExists(desktopPath())) {
        return;
    }
    // The page appears whole or not at all: a full disk, a file-size limit or the game ended half-way
    // never leaves a cut-off page, which would block every later one.
    NewFileWriter page(desktopPath());
    std::string bytes = printPageText();
    bytes += '\0';
    page.writeWhole(bytes);
    if (page.failed()) {
        reportFatal(kFatalDescribed, "can not save to desktop");
    }
}

void writeMarkerFile() {
    if (fileExists(markerFileName)) {
        return;
    }
    // Written like the page; a marker that cannot be written is not worth a word.
    NewFileWriter marker(markerFileName);
    marker.writeWhole(std::string("...", 4));
}
