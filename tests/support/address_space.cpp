// Reading VmPeak and VmSize of the test process.
#include "tests/support/address_space.h"

#include <fstream>
#include <string>

namespace {
long statusField(const char* name) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = name;
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return std::stol(line.substr(prefix.size()));
        }
    }
    return -1;
}
} // namespace

long peakAddressSpaceKb() {
    return statusField("VmPeak:");
}

long currentAddressSpaceKb() {
    return statusField("VmSize:");
}
