#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "resources/binary_file_stream.h"
#include "resources/memory_reader.h"
#include "resources/resource_file.h"
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

TEST(ResourceFile, ReadsUnscramblesAndRefusesBadFiles) {
    ScratchDir dir;
    const std::vector<uint8_t> payload = {'h', 'e', 'l', 'l', 'o'};
    ASSERT_TRUE(writeScrambledFile(dir.file("5.dat"), payload));
    size_t length = 0;
    uint8_t* bytes = readResourceFile(dir.file("5.dat"), &length);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + length), payload);
    free(bytes);

    ASSERT_TRUE(writeWholeFile(dir.file("empty.dat"), {}));
    ASSERT_EQ(mkdir(dir.file("dir.dat").c_str(), 0755), 0);
    for (const char* name : {"missing.dat", "empty.dat", "dir.dat"}) {
        length = 7;
        EXPECT_EQ(readResourceFile(dir.file(name), &length), nullptr) << name;
        EXPECT_EQ(length, 0u) << name;
    }
    EXPECT_EQ(resourcePath(12), "res/12.dat");
    EXPECT_EQ(resourcePath(0), "res/0.dat");
    EXPECT_EQ(resourceName(12), "12.dat");
}

TEST(MemoryReader, ReadsInOrderAndStopsAtTheEndWithoutMoving) {
    ScratchDir dir;
    ASSERT_TRUE(writeScrambledFile(dir.file("six"), {0x01, 0x02, 0x03, 0x80, 0xAA, 0xBB}));
    MemoryReader reader;
    EXPECT_EQ(reader.readByte(), 0); // nothing loaded yet
    EXPECT_TRUE(reader.failed());
    reader.load(dir.file("six").c_str());
    ASSERT_FALSE(reader.failed());
    EXPECT_EQ(reader.size(), 6);
    EXPECT_EQ(reader.readInt32(), static_cast<int32_t>(0x80030201u));
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(reader.readInt32(), 0); // two bytes left
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.position(), 4);
    EXPECT_EQ(reader.readByte(), 0xAA);
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(reader.readByte(), 0xBB);
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(reader.readByte(), 0);
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.position(), 6);

    reader.clear();
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(reader.size(), 0);

    ASSERT_TRUE(writeWholeFile(dir.file("empty"), {}));
    reader.load(dir.file("empty").c_str());
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.size(), 0);
    reader.load(dir.path().c_str());
    EXPECT_TRUE(reader.failed());
    reader.load(dir.file("missing").c_str());
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.readInt32(), 0);
}
