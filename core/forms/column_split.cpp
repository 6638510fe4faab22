#include "forms/column_split.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace tarnex {

std::vector<int> splitIntoColumns(const std::vector<int>& heights, int maxColumnHeight) {
  const int n = static_cast<int>(heights.size());
  if (n == 0) return {};
  const long total = std::accumulate(heights.begin(), heights.end(), 0L);
  const long limit = std::max(1, maxColumnHeight);
  const int columns = static_cast<int>(std::clamp<long>((total + limit - 1) / limit, 1, n));

  // best[c][i]: the shortest possible tallest column when the first i groups fill c columns;
  // cut[c][i]: where the last of those columns starts.
  constexpr long kNone = std::numeric_limits<long>::max();
  std::vector<long> prefix(static_cast<std::size_t>(n) + 1, 0);
  for (int i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + heights[static_cast<std::size_t>(i)];
  std::vector<std::vector<long>> best(columns + 1, std::vector<long>(n + 1, kNone));
  std::vector<std::vector<int>> cut(columns + 1, std::vector<int>(n + 1, 0));
  best[0][0] = 0;
  for (int c = 1; c <= columns; ++c) {
    for (int i = c; i <= n; ++i) {
      for (int j = c - 1; j < i; ++j) {
        if (best[c - 1][j] == kNone) continue;
        const long tallest = std::max(best[c - 1][j], prefix[i] - prefix[j]);
        if (tallest < best[c][i]) {
          best[c][i] = tallest;
          cut[c][i] = j;
        }
      }
    }
  }
  std::vector<int> counts(static_cast<std::size_t>(columns));
  for (int c = columns, i = n; c > 0; --c) {
    counts[static_cast<std::size_t>(c - 1)] = i - cut[c][i];
    i = cut[c][i];
  }
  return counts;
}

}  // namespace tarnex
