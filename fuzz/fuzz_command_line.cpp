// Fuzz target: the command line. The fuzzer's bytes, split at zero bytes, are the arguments after the
// program name. A request is accepted only in its one exact form; for arguments that are plain decimal
// numbers of any length the answer must match that form exactly.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/display.h"
#include "fuzz/fuzz_support.h"

namespace {
bool isDecimal(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

// The value of a decimal of any length, or -1 when it has more than four digits after its leading
// zeros: such a number is out of range however a narrowing conversion would wrap it.
int smallValue(const std::string& digits) {
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return 0;
    }
    return digits.size() - first > 4 ? -1 : std::atoi(digits.c_str() + first);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments{"tavok"};
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    if (size > 0) {
        arguments.push_back(current);
    }
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(arguments.size());

    const DisplayRequest request = parseDisplayRequest(argc, argv.data());
    if (request.valid) {
        require(argc == 4);
        require(arguments[1] == "w" || arguments[1] == "f");
        require(request.mode.fullscreen == (arguments[1] == "f"));
        require(request.mode.width >= 100 && request.mode.width <= 9999);
        require(request.mode.height >= 100 && request.mode.height <= 9999);
    }
    if (argc == 4 && isDecimal(arguments[2]) && isDecimal(arguments[3])) {
        const int width = smallValue(arguments[2]);
        const int height = smallValue(arguments[3]);
        const bool expected = (arguments[1] == "w" || arguments[1] == "f") && width >= 100 && width <= 9999 &&
                              height >= 100 && height <= 9999;
        require(request.valid == expected);
        if (expected) {
            require(request.mode.width == width && request.mode.height == height);
        }
    }
    return 0;
}
