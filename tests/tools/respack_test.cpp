#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>

#include "resources/cipher.h"
#include "tests/support/ogg_writer.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_files.h"

namespace {
struct RunResult {
    int exitCode = -1;
    std::string output;
};

// The build directory: TAVOK_BUILD_DIR, or else the folder this test binary was built into.
std::string buildDirectory() {
    const char* named = getenv("TAVOK_BUILD_DIR");
    if (named != nullptr) {
        return named;
    }
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
}

// Runs the built respack with the arguments, collecting its standard output and error.
RunResult runRespack(const std::string& arguments) {
    RunResult result;
    const std::string command = buildDirectory() + "/tools/respack/respack " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return result;
    }
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, got);
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<uint8_t> tinyPng() {
    PngImage image;
    image.width = 1;
    image.height = 1;
    image.samples = {1, 2, 3};
    return encodePng(image);
}
} // namespace

TEST(Respack, PackAndUnpackRoundTripThroughTheGameCipher) {
    ScratchDir dir;
    const std::vector<uint8_t> png = tinyPng();
    ASSERT_TRUE(writeWholeFile(dir.file("plain.png"), png));
    RunResult packed = runRespack("pack " + dir.file("plain.png") + " " + dir.file("4.dat"));
    EXPECT_EQ(packed.exitCode, 0) << packed.output;
    std::vector<uint8_t> stored = readWholeFile(dir.file("4.dat"));
    ASSERT_EQ(stored.size(), png.size());
    EXPECT_NE(stored, png);
    unscrambleResource(stored.data(), stored.size());
    EXPECT_EQ(stored, png);

    RunResult unpacked = runRespack("unpack " + dir.file("4.dat") + " " + dir.file("back.png"));
    EXPECT_EQ(unpacked.exitCode, 0) << unpacked.output;
    EXPECT_EQ(readWholeFile(dir.file("back.png")), png);
}

TEST(Respack, RefusesBadArgumentsAndUnreadableFiles) {
    ScratchDir dir;
    for (const char* arguments : {"", "pack", "pack onlyone", "frobnicate a b", "check"}) {
        RunResult usage = runRespack(arguments);
        EXPECT_EQ(usage.exitCode, 2) << arguments;
        EXPECT_NE(usage.output.find("usage:"), std::string::npos) << arguments;
    }
    ASSERT_TRUE(writeWholeFile(dir.file("empty"), {}));
    for (const std::string& in : {dir.file("missing"), dir.file("empty"), dir.path()}) {
        RunResult failed = runRespack("pack " + in + " " + dir.file("out.dat"));
        EXPECT_EQ(failed.exitCode, 1) << in;
        EXPECT_NE(failed.output.find("cannot read"), std::string::npos) << failed.output;
        failed = runRespack("unpack " + in + " " + dir.file("out.png"));
        EXPECT_EQ(failed.exitCode, 1) << in;
    }
    ASSERT_TRUE(writeWholeFile(dir.file("plain"), {1, 2}));
    RunResult unwritable = runRespack("pack " + dir.file("plain") + " " + dir.file("no/such/dir.dat"));
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.output.find("cannot write"), std::string::npos);
    EXPECT_EQ(runRespack("check " + dir.file("missing")).exitCode, 1);
}

TEST(Respack, CheckListsNumbersInOrderWithTheirKinds) {
    ScratchDir dir;
    ASSERT_TRUE(writeScrambledFile(dir.file("10.dat"), tinyPng()));
    ASSERT_TRUE(
        writeScrambledFile(dir.file("2.dat"), encodeOggVorbis(sineTone(440, 0.2, 0.2, 22050), 22050)));
    ASSERT_TRUE(writeScrambledFile(dir.file("3.dat"), encodeWav(sineTone(440, 0.2, 0.01, 22050), 22050)));
    ASSERT_TRUE(writeScrambledFile(dir.file("0.dat"), {'m', 's', 'h', '1', 0, 0, 0, 0}));
    ASSERT_TRUE(writeScrambledFile(dir.file("7.dat"), {'?', '?'}));
    ASSERT_TRUE(writeScrambledFile(dir.file("05.dat"), tinyPng())); // the game never opens this name
    ASSERT_TRUE(writeWholeFile(dir.file("notes.txt"), {'h', 'i'}));
    const std::vector<uint8_t> pngSize = tinyPng();

    RunResult check = runRespack("check " + dir.path());
    EXPECT_EQ(check.exitCode, 0) << check.output;
    const std::string& out = check.output;
    const size_t zero = out.find("0\tmesh\t8\n");
    const size_t two = out.find("2\togg\t");
    const size_t three = out.find("3\twav\t");
    const size_t seven = out.find("7\tunknown\t2\n");
    const size_t ten = out.find("10\tpng\t" + std::to_string(pngSize.size()) + "\n");
    ASSERT_NE(zero, std::string::npos) << out;
    ASSERT_NE(two, std::string::npos) << out;
    ASSERT_NE(three, std::string::npos) << out;
    ASSERT_NE(seven, std::string::npos) << out;
    ASSERT_NE(ten, std::string::npos) << out;
    EXPECT_TRUE(zero < two && two < three && three < seven && seven < ten) << out;
    EXPECT_NE(out.find("ignored\t05.dat\n"), std::string::npos) << out;
    EXPECT_NE(out.find("ignored\tnotes.txt\n"), std::string::npos) << out;

    // A numbered file that cannot be read is listed and fails the check.
    ASSERT_TRUE(writeWholeFile(dir.file("8.dat"), {}));
    ASSERT_EQ(mkdir(dir.file("9.dat").c_str(), 0755), 0);
    check = runRespack("check " + dir.path());
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_NE(check.output.find("8\tunreadable\n"), std::string::npos) << check.output;
    EXPECT_NE(check.output.find("9\tunreadable\n"), std::string::npos) << check.output;
}
