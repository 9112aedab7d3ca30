// The stdio file behind a failure flag: opens, typed reads and writes, whole-file reads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "resources/binary_file_stream.h"
#include "tests/support/scratch_files.h"

namespace {
std::vector<uint8_t> bytesOf(const char* text, size_t length) {
    return std::vector<uint8_t>(text, text + length);
}
} // namespace

TEST(BinaryFileStream, OpenAndCloseSetTheFlagAnewEachTime) {
    ScratchDir dir;
    BinaryFileStream stream;
    stream.openRead(dir.file("missing").c_str());
    EXPECT_TRUE(stream.failed());
    EXPECT_FALSE(stream.isOpen());
    stream.close();
    EXPECT_FALSE(stream.failed());
    stream.flush();
    EXPECT_FALSE(stream.failed());
    // A stream whose open failed fails every read and write.
    stream.readInt32();
    EXPECT_TRUE(stream.failed());
    stream.writeString("x");
    EXPECT_TRUE(stream.failed());
    EXPECT_EQ(stream.readAll(), nullptr);
    EXPECT_TRUE(stream.failed());
    EXPECT_EQ(stream.size(), 0);
    EXPECT_TRUE(stream.failed());

    // A directory opens for reading on Linux but is no file.
    stream.openRead(dir.path().c_str());
    EXPECT_TRUE(stream.failed());
    EXPECT_FALSE(stream.isOpen());

    ASSERT_TRUE(writeWholeFile(dir.file("a"), {1, 2, 3}));
    stream.openRead(dir.file("a").c_str());
    EXPECT_FALSE(stream.failed());
    // Opening another path closes the first.
    stream.openRead(dir.file("a").c_str());
    EXPECT_FALSE(stream.failed());
    EXPECT_EQ(stream.size(), 3);
    EXPECT_FALSE(stream.failed());
}

TEST(BinaryFileStream, WritesExactlyTheStoredForms) {
    ScratchDir dir;
    const std::string path = dir.file("out");
    BinaryFileStream out;
    out.openWrite(path.c_str());
    ASSERT_FALSE(out.failed());
    out.writeString("abc");
    EXPECT_FALSE(out.failed());
    out.writeText("abc");
    EXPECT_FALSE(out.failed());
    out.writeString("");
    EXPECT_FALSE(out.failed());
    out.writeText("");
    EXPECT_FALSE(out.failed());
    // A zero byte inside fails, but the terminator is still written.
    out.writeString(std::string("x\0y", 3));
    EXPECT_TRUE(out.failed());
    out.writeBool(true);
    out.writeBool(false);
    out.writeInt32(-2);
    out.writeUInt32(0x01020304u);
    out.writeInt64(-3);
    out.writeUInt64(0x0102030405060708ull);
    out.writeInt8(-1);
    out.writeUInt8(0x7F);
    EXPECT_FALSE(out.failed());
    out.close();
    EXPECT_FALSE(out.failed());

    const std::vector<uint8_t> expected = {'a',  'b',  'c',  0,    'a',  'b',  'c',  0,    'x', 0,
                                           '1',  '0',  0xFE, 0xFF, 0xFF, 0xFF, 4,    3,    2,   1,
                                           0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 8,   7,
                                           6,    5,    4,    3,    2,    1,    0xFF, 0x7F};
    EXPECT_EQ(readWholeFile(path), expected);

    BinaryFileStream in;
    in.openRead(path.c_str());
    EXPECT_EQ(in.readString(), "abc");
    EXPECT_EQ(in.readString(), "abc"); // the text's bytes, ended by the empty string's zero
    EXPECT_EQ(in.readString(), "x");
    EXPECT_TRUE(in.readBool());
    EXPECT_FALSE(in.readBool());
    EXPECT_FALSE(in.failed());
    EXPECT_EQ(in.readInt32(), -2);
    EXPECT_EQ(in.readUInt32(), 0x01020304u);
    EXPECT_EQ(in.readInt64(), -3);
    EXPECT_EQ(in.readUInt64(), 0x0102030405060708ull);
    EXPECT_EQ(in.readInt8(), -1);
    EXPECT_EQ(in.readUInt8(), 0x7F);
    EXPECT_FALSE(in.failed());
    EXPECT_EQ(in.readUInt8(), 0);
    EXPECT_TRUE(in.failed());
}

TEST(BinaryFileStream, ShortAndOddReadsFailWithZeroes) {
    ScratchDir dir;
    const std::string path = dir.file("odd");
    ASSERT_TRUE(writeWholeFile(path, bytesOf("2ab", 3)));
    BinaryFileStream in;
    in.openRead(path.c_str());
    EXPECT_FALSE(in.readBool()); // "2" is neither "0" nor "1"
    EXPECT_TRUE(in.failed());
    EXPECT_EQ(in.readInt32(), 0); // only two bytes left
    EXPECT_TRUE(in.failed());

    ASSERT_TRUE(writeWholeFile(path, bytesOf("abc", 3)));
    in.openRead(path.c_str());
    EXPECT_EQ(in.readString(), ""); // no terminator before the end: the bytes are dropped
    EXPECT_TRUE(in.failed());
}

TEST(BinaryFileStream, ReadAllRefusesEmptyHugeAndDirectoryFiles) {
    ScratchDir dir;
    const std::string empty = dir.file("empty");
    ASSERT_TRUE(writeWholeFile(empty, {}));
    BinaryFileStream in;
    in.openRead(empty.c_str());
    EXPECT_EQ(in.size(), 0);
    EXPECT_FALSE(in.failed());
    EXPECT_EQ(in.readAll(), nullptr);
    EXPECT_TRUE(in.failed());

    // A sparse 4 GiB file costs no disk; reading it must fail at once instead of allocating.
    const std::string huge = dir.file("huge");
    ASSERT_TRUE(writeWholeFile(huge, {1}));
    ASSERT_EQ(truncate(huge.c_str(), 4LL * 1024 * 1024 * 1024), 0);
    in.openRead(huge.c_str());
    ASSERT_FALSE(in.failed());
    EXPECT_EQ(in.size(), 0);
    EXPECT_TRUE(in.failed());
    size_t length = 99;
    EXPECT_EQ(in.readAll(&length), nullptr);
    EXPECT_TRUE(in.failed());
    EXPECT_EQ(length, 0u);
    // Just over the cap is refused as well; the cap itself is far above any real resource.
    ASSERT_EQ(truncate(huge.c_str(), BinaryFileStream::maxWholeFileBytes() + 1), 0);
    in.openRead(huge.c_str());
    EXPECT_EQ(in.readAll(), nullptr);
    EXPECT_TRUE(in.failed());

    const std::string whole = dir.file("whole");
    ASSERT_TRUE(writeWholeFile(whole, {9, 8, 7}));
    in.openRead(whole.c_str());
    uint8_t* bytes = in.readAll(&length);
    ASSERT_NE(bytes, nullptr);
    EXPECT_FALSE(in.failed());
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(bytes[2], 7);
    free(bytes);
}

// A FIFO would block an open for ever (no writer comes), a device would feed a read without end: only
// regular files open, at once, whether for reading or writing. A link to a regular file still reads.
TEST(BinaryFileStream, OnlyRegularFilesOpenAndNoOpenEverBlocks) {
    ScratchDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    BinaryFileStream stream;
    stream.openRead(fifo.c_str());
    EXPECT_TRUE(stream.failed());
    EXPECT_FALSE(stream.isOpen());
    stream.openWrite(fifo.c_str());
    EXPECT_TRUE(stream.failed());
    struct stat info;
    ASSERT_EQ(stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the FIFO is left as it was";

    for (const char* device : {"/dev/zero", "/dev/null"}) {
        stream.openRead(device);
        EXPECT_TRUE(stream.failed()) << device;
        stream.openWrite(device);
        EXPECT_TRUE(stream.failed()) << device;
    }

    ASSERT_TRUE(writeWholeFile(dir.file("real"), {4, 5}));
    ASSERT_EQ(symlink(dir.file("real").c_str(), dir.file("link").c_str()), 0);
    stream.openRead(dir.file("link").c_str());
    ASSERT_FALSE(stream.failed());
    EXPECT_EQ(stream.size(), 2);
}

// openCreate writes only a file it creates: an existing name of any kind, a dangling link included,
// makes it fail and stays as it was, and nothing appears where the link points.
TEST(BinaryFileStream, CreateMakesANewFileOrNothing) {
    ScratchDir dir;
    BinaryFileStream out;
    out.openCreate(dir.file("new").c_str());
    ASSERT_FALSE(out.failed());
    out.writeString("ab");
    out.close();
    EXPECT_EQ(readWholeFile(dir.file("new")), bytesOf("ab", 3));

    out.openCreate(dir.file("new").c_str());
    EXPECT_TRUE(out.failed());
    EXPECT_EQ(readWholeFile(dir.file("new")), bytesOf("ab", 3)) << "not truncated";

    ASSERT_TRUE(writeWholeFile(dir.file("locked"), {7}));
    ASSERT_EQ(chmod(dir.file("locked").c_str(), 0200), 0);
    out.openCreate(dir.file("locked").c_str());
    EXPECT_TRUE(out.failed());
    chmod(dir.file("locked").c_str(), 0600);
    EXPECT_EQ(readWholeFile(dir.file("locked")), std::vector<uint8_t>{7});

    ASSERT_EQ(symlink(dir.file("elsewhere").c_str(), dir.file("dangling").c_str()), 0);
    out.openCreate(dir.file("dangling").c_str());
    EXPECT_TRUE(out.failed());
    EXPECT_NE(access(dir.file("elsewhere").c_str(), F_OK), 0) << "a file was created through the link";
}
