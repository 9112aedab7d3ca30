// Reading one resource file whole: open, size, read, close, unscramble.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The path of resource number n: "res/" + n + ".dat".
std::string resourcePath(int number);
// The name of resource number n as the cache knows it: n + ".dat".
std::string resourceName(int number);

// Reads and unscrambles the file at path into a new buffer from the C allocator (the caller frees it)
// and stores its length. Null, with length 0, when the file is missing, empty or unreadable.
uint8_t* readResourceFile(const std::string& path, size_t* length);
