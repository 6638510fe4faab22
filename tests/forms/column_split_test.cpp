// Sharing the groups of a design window out over columns.
#include "forms/column_split.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace tarnex {
namespace {

TEST(ColumnSplit, FewestColumnsWithTheShortestTallestColumn) {
  const struct {
    const char* name;
    std::vector<int> heights;
    int maxColumnHeight;
    int columns;        // expected number of columns
    int tallestColumn;  // expected height of the tallest column (worked out by hand)
  } cases[] = {{"none", {}, 440, 0, 0},
               {"one fits", {100, 120}, 440, 1, 220},
               // The DC-DC window: conditions alone, inductor and other results together.
               {"dcdc", {382, 140, 206}, 440, 2, 382},
               // Seven groups of a flyback-sized window: three columns, the best cut leaves
               // 162 + 162 + 118 = 442 as the tallest.
               {"flyback", {338, 96, 140, 184, 162, 162, 118}, 440, 3, 442},
               {"taller than the limit", {600, 100}, 440, 2, 600},
               {"no limit", {10, 20, 30}, 0, 3, 30}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<int> counts = splitIntoColumns(c.heights, c.maxColumnHeight);
    ASSERT_EQ(static_cast<int>(counts.size()), c.columns);
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0), static_cast<int>(c.heights.size()));
    int tallest = 0;
    std::size_t next = 0;
    for (int n : counts) {
      EXPECT_GT(n, 0) << "empty column";
      int height = 0;
      for (int i = 0; i < n; ++i) height += c.heights[next++];
      tallest = std::max(tallest, height);
    }
    EXPECT_EQ(tallest, c.tallestColumn);
  }
}

}  // namespace
}  // namespace tarnex
