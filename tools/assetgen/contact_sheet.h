// One picture of every texture at four times its size, for reviewing the art at a glance.
#pragma once

#include <string>

// Writes the sheet as a PNG: a preview of the whole play field first, then each room's tiles (every run
// of four frames side by side), the buttons, the items and the avatars. False if it could not be written.
bool writeContactSheet(const std::string& path);
