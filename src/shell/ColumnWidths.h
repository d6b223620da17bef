#pragma once

// Column widths are given in pixels of the classic 8-point dialog font, whose characters are 6
// pixels wide on average. Wider fonts widen the columns alike, so a date or a size still fits.

#include <QFont>
#include <span>
#include <vector>

namespace korvana {

std::vector<int> FontScaledWidths(std::span<const int> widths, const QFont& font);

}  // namespace korvana
