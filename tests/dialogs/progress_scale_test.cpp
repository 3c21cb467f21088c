// The progress bar's scale and how often an entry is drawn.
#include "dialogs/progress_scale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(ProgressScale, SmallTotalsAreBytes) {
  EXPECT_EQ(ProgressShift(0), 0u);
  EXPECT_EQ(ProgressShift(0x7FFFFFFF), 0u);
  EXPECT_EQ(ProgressUnits(123456789, 0), 123456789);
}

TEST(ProgressScale, LargeTotalsFitTheBar) {
  for (std::uint64_t total : {std::uint64_t{0x80000000}, std::uint64_t{5} << 40, ~std::uint64_t{0}}) {
    SCOPED_TRACE(total);
    const unsigned shift = ProgressShift(total);
    EXPECT_GT(ProgressUnits(total, shift), 0x3FFFFFFF) << "the scale keeps most of the bar's resolution";
    EXPECT_LE(ProgressUnits(total / 2, shift), ProgressUnits(total, shift));
  }
  EXPECT_EQ(ProgressUnits(~std::uint64_t{0}, 0), std::numeric_limits<std::int32_t>::max()) << "clamped";
}

TEST(ProgressScale, SmallEntriesAreDrawnAtMostOncePerInterval) {
  struct Case {
    std::uint64_t entrySize;
    std::uint32_t msSinceDrawn;
    bool drawn;
  } cases[] = {{10000, 0, false},
               {10000, 39, false},
               {10000, 40, true},
               {0, 1000, true},
               {4 << 20, 0, true},
               {(4 << 20) - 1, 5, false},
               {std::uint64_t{1} << 40, 0, true}};
  for (const Case& c : cases)
    EXPECT_EQ(DrawEntryNow(c.entrySize, c.msSinceDrawn), c.drawn) << c.entrySize << " after " << c.msSinceDrawn;
}
