// Reading one resource file whole: open, size, read, close, unscramble; or, where a source of resource
// files is set, take its bytes from there and unscramble them.
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

// Where resource files come from instead of the file system: a function that hands back the file's
// bytes as stored (still scrambled) in a new buffer from the C allocator and stores their length, or
// gives null for a file it does not hold. The browser edition keeps its resource files in one bundle in
// the page's memory (web/main_web.cpp). Null, the start's setting: the file system.
using ResourceFileSource = uint8_t* (*)(const std::string& path, size_t* length);
void setResourceFileSource(ResourceFileSource source);
