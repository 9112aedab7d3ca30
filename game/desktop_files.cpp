// The print page and the marker file.
#include "game/desktop_files.h"

#include <cstdio>
#include <sys/stat.h>

#include "app/fatal.h"
#include "game/desktop_folder.h"
#include "resources/binary_file_stream.h"

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
    const std::string path = desktopPath();
    BinaryFileStream page;
    page.openCreate(path.c_str());
    if (page.failed()) {
        reportFatal(kFatalDescribed, "can not save to desktop");
        return;
    }
    page.writeString(printPageText());
    bool written = !page.failed();
    page.close();
    written = written && !page.failed();
    if (!written) {
        // A cut-off page would block every later attempt, since an existing page is never replaced.
        // The file is the one just created, so removing it loses nothing of the player's.
        std::remove(path.c_str());
        reportFatal(kFatalDescribed, "can not save to desktop");
    }
}

void writeMarkerFile() {
    if (fileExists(markerFileName)) {
        return;
    }
    BinaryFileStream marker;
    marker.openCreate(markerFileName);
    if (!marker.failed()) {
        marker.writeString("...");
    }
    marker.close();
}
