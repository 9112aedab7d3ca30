// The whole resource file in memory that the mesh decoder reads in order.
#include <gtest/gtest.h>

#include "resources/memory_reader.h"
#include "tests/support/scratch_files.h"

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
