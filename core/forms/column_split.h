#pragma once
// How the groups of a design window are shared out over columns.

#include <vector>

namespace tarnex {

// Splits groups of the given heights, kept in their order, into as few columns as a column
// height of `maxColumnHeight` allows (a taller group gets a column of its own), making the
// tallest column as short as possible. Returns the number of groups in each column.
std::vector<int> splitIntoColumns(const std::vector<int>& heights, int maxColumnHeight);

}  // namespace tarnex
