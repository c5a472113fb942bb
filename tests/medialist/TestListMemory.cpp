#include "medialist/ListMemory.h"

#include <gtest/gtest.h>

namespace {

TEST(ListMemory, AListIsRefusedWhenItWouldTakeMoreThanHalfOfTheFreeMemory)
{
    constexpr qint64 MiB = 1 << 20;
    // A million 80-byte paths: the file twice over while it loads, and each entry's share.
    EXPECT_EQ(ListMemory::Needed(85 * MiB, 1000000), 170 * MiB + 160000000);
    EXPECT_TRUE(ListMemory::Fits(ListMemory::Needed(85 * MiB, 1000000), 700 * MiB));
    EXPECT_FALSE(ListMemory::Fits(ListMemory::Needed(85 * MiB, 1000000), 600 * MiB));
    // 100,000 entries of 64 KiB: 6.5 GB of file, refused on a machine of 8 GB free.
    EXPECT_FALSE(ListMemory::Fits(ListMemory::Needed(100000LL * 65541, 100000), 8LL * 1024 * MiB));
    EXPECT_TRUE(ListMemory::Fits(0, 0));
    EXPECT_GT(ListMemory::Available(), 0);
}

} // namespace
