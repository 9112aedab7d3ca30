// A new file written through a hidden temporary one: published whole, never in place of anything.
#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

#include "resources/new_file_writer.h"
#include "tests/support/scratch_files.h"

namespace {
std::string contents(const std::string& path) {
    const std::vector<uint8_t> bytes = readWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

bool exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}
} // namespace

// A name that turns up while the file is being written (another program, the player) wins: our file
// goes, with its temporary name, and that is no failure.
TEST(NewFileWriter, ANameTakenWhileWritingIsLeftAloneAndNothingOfOursStays) {
    ScratchDir dir;
    const std::string path = dir.file("page.html");
    NewFileWriter writer(path);
    writer.begin();
    writer.write("ours", 4);
    ASSERT_TRUE(exists(dir.file(".page.html.part")));
    EXPECT_FALSE(exists(path)) << "nothing under the name before it is published";
    ASSERT_TRUE(writeWholeFile(path, {'m', 'i', 'n', 'e'}));
    writer.publish();
    EXPECT_TRUE(writer.nameTaken());
    EXPECT_FALSE(writer.failed());
    EXPECT_EQ(contents(path), "mine");
    EXPECT_FALSE(exists(writer.temporaryPath()));
}

// Two copies of the game finishing together share the fixed temporary name. The later one removes the
// earlier one's file as if stale; the earlier one must then give way, never publish the later one's
// half-written file under the name.
TEST(NewFileWriter, AnotherCopysHalfWrittenFileIsNeverPublished) {
    ScratchDir dir;
    const std::string path = dir.file("page.html");
    NewFileWriter first(path);
    NewFileWriter second(path);
    first.begin();
    first.write("first ", 6);
    second.begin();
    second.write("sec", 3);
    first.write("whole", 5);
    first.publish();
    EXPECT_TRUE(first.nameTaken());
    EXPECT_FALSE(first.failed());
    EXPECT_FALSE(exists(path)) << "the second copy's file was published half-written";
    EXPECT_TRUE(exists(second.temporaryPath())) << "the second copy's file was removed";

    second.write("ond whole", 9);
    second.publish();
    EXPECT_TRUE(second.published());
    EXPECT_EQ(contents(path), "second whole");
    EXPECT_FALSE(exists(second.temporaryPath()));
}
