// The two files a won game leaves behind: a page for the printer on the user's desktop, whose hidden
// picture shows only on paper, and a marker in the working directory that makes the next start show
// the dark, finished field once. Only the marker's existence is ever tested; neither file is read.
#pragma once

#include <string>

extern const char* const printFileName;  // "print_me.html"
extern const char* const markerFileName; // "delete_me.html"

// The full name of the print file on the desktop. Without a profile folder in the environment it
// reports "missing environment variable:\nhome" and gives the bare file name (the working directory).
std::string desktopPath();
// The print page, without its terminating zero byte.
std::string printPageText();
// Writes the print page to the desktop unless a file of that name is there already. The page appears
// whole or not at all and never replaces anything (resources/new_file_writer.h); a desktop that cannot
// be written (no room, a file-size limit, no permission) reports "can not save to desktop".
void writePrintFile();
// Writes the marker unless it exists; a failure here is silent.
void writeMarkerFile();
// Whether anything exists under the name (a file of any kind, readable or not, or a link even when it
// leads nowhere).
bool fileExists(const std::string& path);
