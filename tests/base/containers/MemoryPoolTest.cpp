#include "base/containers/MemoryPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

TEST(MemoryPoolTest, PiecesAreAlignedAndBackToBack) {
    MemoryPool pool;
    ASSERT_EQ(pool.BlockCount(), 1);
    EXPECT_EQ(pool.BlockAt(0)->Size(), 0x10000);
    char* a = static_cast<char*>(pool.Allocate(10));
    char* b = static_cast<char*>(pool.Allocate(10));
    char* c = static_cast<char*>(pool.Allocate(8));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % 8, 0u);
    EXPECT_EQ(b - a, 16);  // 10 bytes rounded to the 8-byte boundary
    EXPECT_EQ(c - b, 16);
    memset(a, 1, 10);
    memset(b, 2, 10);
    EXPECT_EQ(a[9], 1);
    // A 64-bit value fits at every piece.
    *reinterpret_cast<int64_t*>(c) = -1;
    EXPECT_EQ(pool.BlockAt(0)->Used(), 40);
    EXPECT_NE(pool.Allocate(0), nullptr);
    EXPECT_EQ(pool.Allocate(-1), nullptr);
}

TEST(MemoryPoolTest, FullBlockIsLeftBehind) {
    MemoryPool pool;
    ASSERT_NE(pool.Allocate(1), nullptr);
    char* big = static_cast<char*>(pool.Allocate(0x10000));
    ASSERT_NE(big, nullptr);
    ASSERT_EQ(pool.BlockCount(), 2);
    EXPECT_EQ(pool.BlockAt(1)->Size(), 0x10000);
    EXPECT_EQ(big, pool.BlockAt(1)->Base());
    big[0xFFFF] = 1;
    // The second block is full; the first one's free space is not used again.
    ASSERT_NE(pool.Allocate(8), nullptr);
    EXPECT_EQ(pool.BlockCount(), 3);
    EXPECT_EQ(pool.BlockAt(0)->Used(), 8);
}

TEST(MemoryPoolTest, LargeRequestGetsABlockOfItsOwn) {
    MemoryPool pool;
    char* huge = static_cast<char*>(pool.Allocate(0x20000));
    ASSERT_NE(huge, nullptr);
    ASSERT_EQ(pool.BlockCount(), 2);
    EXPECT_EQ(pool.BlockAt(1)->Size(), 0x20000);
    huge[0x1FFFF] = 1;
    char* small = static_cast<char*>(pool.Allocate(16));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(pool.BlockCount(), 3);
    EXPECT_EQ(pool.BlockAt(2)->Size(), 0x10000);
    EXPECT_EQ(small, pool.BlockAt(2)->Base());
}

TEST(MemoryPoolTest, ResetLeavesOneFreshBlock) {
    MemoryPool pool;
    for (int i = 0; i < 5; i++)
        ASSERT_NE(pool.Allocate(0x9000), nullptr);
    EXPECT_EQ(pool.BlockCount(), 5);
    pool.Reset();
    ASSERT_EQ(pool.BlockCount(), 1);
    EXPECT_EQ(pool.BlockAt(0)->Size(), 0x10000);
    EXPECT_EQ(pool.BlockAt(0)->Used(), 0);
    EXPECT_EQ(pool.Allocate(24), pool.BlockAt(0)->Base());
}

TEST(MemoryPoolBlockTest, RefusesWhatDoesNotFit) {
    MemoryPoolBlock block(32);
    ASSERT_NE(block.Base(), nullptr);
    EXPECT_EQ(block.Allocate(20), block.Base());
    EXPECT_EQ(block.Allocate(13), nullptr);
    EXPECT_EQ(block.Allocate(12), block.Base() + 20);
    EXPECT_EQ(block.Allocate(1), nullptr);
}

}  // namespace
