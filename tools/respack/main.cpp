// respack: makes and checks the game's scrambled resource files.
#include <cstdio>
#include <cstring>

#include "tools/respack/respack_commands.h"

namespace {
const char* const kUsage =
    "usage:\n"
    "  respack pack PLAIN RESOURCE     scramble a plain file (PNG, OGG, WAV, mesh) into a resource file\n"
    "  respack unpack RESOURCE PLAIN   unscramble a resource file back into its plain payload\n"
    "  respack check DIR               list the resource numbers in DIR with the kind of each payload\n"
    "Resource n is read by the game from res/n.dat (no leading zeros). Exit codes: 0 done, 1 failed,\n"
    "2 bad usage.\n";
} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "pack") == 0) {
        return packFile(argv[2], argv[3], stderr);
    }
    if (argc == 4 && strcmp(argv[1], "unpack") == 0) {
        return unpackFile(argv[2], argv[3], stderr);
    }
    if (argc == 3 && strcmp(argv[1], "check") == 0) {
        return checkDirectory(argv[2], stdout, stderr);
    }
    fputs(kUsage, stderr);
    return kRespackUsage;
}
