// Where the user's desktop is. Windows names the profile folder in USERPROFILE; on free desktops the
// XDG user directories name it, with the home folder's Desktop as the usual fallback.
#pragma once

#include <string>

// Finds the desktop folder, ending in '/', in this order: USERPROFILE + "/Desktop/"; the XDG_DESKTOP_DIR
// environment variable; the XDG_DESKTOP_DIR line of ${XDG_CONFIG_HOME:-$HOME/.config}/user-dirs.dirs;
// $HOME/Desktop/. False (and folder left empty) when neither USERPROFILE nor HOME is set.
bool findDesktopFolder(std::string& folder);

// The value of one `XDG_DESKTOP_DIR="..."` line of a user-dirs.dirs file with the quotes removed and a
// leading $HOME replaced by home; false when the line is not such an assignment.
bool parseDesktopDirLine(const std::string& line, const std::string& home, std::string& folder);
