#include "base/GrowBuffer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

// Protects the capacity rule: page-rounded capacities for large granularities, n + extra otherwise.
TEST(GrowBufferCapacity, FollowsTheGrowthRule) {
    EXPECT_EQ(GrowBuffer::CapacityFor(1, 4096), 4000);
    EXPECT_EQ(GrowBuffer::CapacityFor(4001, 4096), 8096);
    EXPECT_EQ(GrowBuffer::CapacityFor(10000, 4096), 12192);
    EXPECT_EQ(GrowBuffer::CapacityFor(20000000, 4096), 24190880);  // extra capped at 4 MiB
    EXPECT_EQ(GrowBuffer::CapacityFor(1, 65536), 65440);
    EXPECT_EQ(GrowBuffer::CapacityFor(100000, 65536), 163744);
    EXPECT_EQ(GrowBuffer::CapacityFor(10, 16), 26);
    EXPECT_EQ(GrowBuffer::CapacityFor(100, 16), 150);
}

TEST(GrowBufferCapacity, ReallocatesOnlyBeyondTheCapacity) {
    GrowBuffer buffer;
    ASSERT_TRUE(buffer.Resize(1));
    EXPECT_EQ(buffer.Capacity(), 4000);
    void* block = buffer.Data();
    ASSERT_TRUE(buffer.Resize(4000));
    EXPECT_EQ(buffer.Data(), block);
    EXPECT_EQ(buffer.Capacity(), 4000);
    ASSERT_TRUE(buffer.Resize(4001));
    EXPECT_EQ(buffer.Capacity(), 8096);
    ASSERT_TRUE(buffer.Resize(10));  // shrinking without release keeps the block
    EXPECT_EQ(buffer.Capacity(), 8096);
    EXPECT_EQ(buffer.Size(), 10);
    ASSERT_TRUE(buffer.Resize(-5));
    EXPECT_EQ(buffer.Size(), 0);
    EXPECT_EQ(buffer.Capacity(), 8096);
}

// Protects the release threshold max(1, min(capacity / 2, capacity - 4g)).
TEST(GrowBufferCapacity, ReleasesOnlyBelowTheThreshold) {
    GrowBuffer small;
    ASSERT_TRUE(small.Resize(10000));  // capacity 12192: capacity - 4g is negative, threshold 1
    ASSERT_TRUE(small.Resize(9000, true));
    EXPECT_EQ(small.Capacity(), 12192);
    ASSERT_TRUE(small.Resize(0, true));
    EXPECT_EQ(small.Capacity(), 0);
    EXPECT_EQ(small.Data(), nullptr);

    GrowBuffer large;
    ASSERT_TRUE(large.Resize(20000000));  // capacity 24190880, threshold 12095440
    ASSERT_TRUE(large.Resize(12095440, true));
    EXPECT_EQ(large.Capacity(), 24190880);
    ASSERT_TRUE(large.Resize(12095439, true));
    EXPECT_EQ(large.Capacity(), GrowBuffer::CapacityFor(12095439, 4096));
    EXPECT_EQ(large.Size(), 12095439);
}

// Protects the failure paths: fallback to allocate + copy, and keeping everything when both fail.
struct FailingAllocator {
    static inline bool allocateFails = false;
    static void* Reallocate(void*, size_t) { return nullptr; }
    static void* Allocate(size_t bytes) { return allocateFails ? nullptr : std::malloc(bytes); }
};

class GrowBufferFailure : public ::testing::Test {
  protected:
    void TearDown() override { GrowBuffer::SetAllocatorForTesting(saved_); }
    void Fail(bool allocateToo) {
        FailingAllocator::allocateFails = allocateToo;
        saved_ = GrowBuffer::SetAllocatorForTesting(
            {&FailingAllocator::Reallocate, &FailingAllocator::Allocate, &std::free});
    }
    GrowBuffer::Allocator saved_{&std::realloc, &std::malloc, &std::free};
};

TEST_F(GrowBufferFailure, FallsBackToAFreshBlockWithTheBytesCopied) {
    GrowBuffer buffer;
    ASSERT_TRUE(buffer.Append("abcdef", 6));
    Fail(false);
    ASSERT_TRUE(buffer.Resize(5000));
    EXPECT_EQ(buffer.Size(), 5000);
    EXPECT_EQ(std::memcmp(buffer.Data(), "abcdef", 6), 0);
}

TEST_F(GrowBufferFailure, KeepsTheOldBlockAndLengthWhenEverythingFails) {
    GrowBuffer buffer;
    ASSERT_TRUE(buffer.Append("abcdef", 6));
    void* block = buffer.Data();
    Fail(true);
    EXPECT_FALSE(buffer.Resize(5000));
    EXPECT_FALSE(buffer.Append(block, 4000));
    EXPECT_EQ(buffer.Data(), block);
    EXPECT_EQ(buffer.Size(), 6);
    EXPECT_EQ(buffer.Capacity(), 4000);
    EXPECT_EQ(std::memcmp(buffer.Data(), "abcdef", 6), 0);
}

TEST(GrowBufferLimits, RefusesSizesBeyondTheLimitWithoutChange) {
    GrowBuffer buffer;
    ASSERT_TRUE(buffer.Append("xy", 2));
    EXPECT_FALSE(buffer.Resize(GrowBuffer::MaxBytes + 1));
    EXPECT_FALSE(buffer.Append("z", GrowBuffer::MaxBytes));
    EXPECT_EQ(buffer.Size(), 2);
}

}  // namespace
