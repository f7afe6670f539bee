#include <gtest/gtest.h>

#include <cstdint>

#include "raster/DibBitmap.h"
#include "raster/MemoryBitmap.h"

// Memory bitmaps: alignment, row padding, growth with headroom and the never-shrink rule.
TEST(MemoryBitmap, StartsEmptyAndAllocatesPaddedAlignedRows) {
    MemoryBitmap b(0, 0, 4);
    EXPECT_EQ(b.Bits(), nullptr);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_TRUE(b.Resize(10, 10));
    EXPECT_EQ(b.RowSpan(), 12);
    EXPECT_EQ(b.Capacity(), 10 * 12 * 4);
    ASSERT_NE(b.Bits(), nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b.Bits()) % 64, 0u);
    b.Bits()[10 * 12 - 1] = 0x12345678;  // the last padded pixel is ours (ASan checks)
    EXPECT_FALSE(b.Resize(10, 10));
}

TEST(MemoryBitmap, GrowsWithHeadroomAndNeverShrinks) {
    MemoryBitmap b(8, 8, 4);
    EXPECT_EQ(b.Capacity(), 256);
    EXPECT_TRUE(b.Resize(4, 4));
    EXPECT_EQ(b.Capacity(), 256);
    EXPECT_TRUE(b.Resize(16, 16));
    EXPECT_EQ(b.Capacity(), 1024 / 4 * 5);
    EXPECT_TRUE(b.Resize(17, 16));  // 20 * 16 * 4 = 1280 still fits
    EXPECT_EQ(b.Capacity(), 1280);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b.Bits()) % 64, 0u);
}

TEST(MemoryBitmap, ZeroOrNegativeSizeFreesTheBuffer) {
    MemoryBitmap b(10, 10, 4);
    EXPECT_TRUE(b.Resize(10, 0));
    EXPECT_EQ(b.Bits(), nullptr);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.Capacity(), 0);
    EXPECT_TRUE(b.Resize(5, 5));
    EXPECT_TRUE(b.Resize(-3, 5));
    EXPECT_EQ(b.Bits(), nullptr);
}

TEST(MemoryBitmap, RowAlignmentUsesLowestPowerOfTwoUpTo16) {
    struct Case {
        int alignment, width, span;
    };
    for (Case c : {Case{0, 10, 10}, Case{1, 10, 10}, Case{6, 9, 10}, Case{8, 9, 16}, Case{64, 17, 32},
                   Case{-4, 7, 7}}) {
        MemoryBitmap b(c.width, 1, c.alignment);
        EXPECT_EQ(b.RowSpan(), c.span) << "alignment " << c.alignment;
    }
}

// A size whose byte count does not fit 32 bits is a failed allocation, never an overflow.
TEST(MemoryBitmap, HugeSizeFailsCleanly) {
    MemoryBitmap b(4, 4, 4);
    EXPECT_TRUE(b.Resize(1 << 20, 1 << 20));
    EXPECT_EQ(b.Bits(), nullptr);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_TRUE(b.Resize(0x7FFFFFFF, 1));
    EXPECT_EQ(b.Bits(), nullptr);
}

// DIB bitmaps reuse their buffer whenever the new size fits, with rows in multiples of 4.
TEST(DibBitmap, ReusesBufferWhenTheSizeFits) {
    DibBitmap b(100, 100);
    ASSERT_NE(b.Bits(), nullptr);
    EXPECT_EQ(b.RowSpan(), 100);
    uint32_t* first = b.Bits();
    first[100 * 100 - 1] = 1;
    EXPECT_TRUE(b.Resize(50, 50));
    EXPECT_EQ(b.Bits(), first);
    EXPECT_EQ(b.RowSpan(), 100);
    EXPECT_EQ(b.Width(), 50);
    EXPECT_FALSE(b.Resize(50, 50));
    EXPECT_TRUE(b.Resize(101, 50));
    EXPECT_EQ(b.RowSpan(), 104);
    ASSERT_NE(b.Bits(), nullptr);
    b.Bits()[104 * 50 - 1] = 2;
    EXPECT_FALSE(b.IsFlipped());
}

TEST(DibBitmap, EmptySizeHasNoPixels) {
    DibBitmap b(0, 0);
    EXPECT_EQ(b.Bits(), nullptr);
    EXPECT_FALSE(b.Resize(0, 7));
    EXPECT_EQ(b.Bits(), nullptr);
    EXPECT_TRUE(b.Resize(3, 7));
    EXPECT_NE(b.Bits(), nullptr);
    EXPECT_EQ(b.RowSpan(), 4);
}
