#include "shell/ColumnWidths.h"

#include <QFontMetrics>
#include <algorithm>

namespace korvana {

namespace {

constexpr int kClassicCharWidth = 6;

}  // namespace

std::vector<int> FontScaledWidths(std::span<const int> widths, const QFont& font) {
    // The average over the alphabet, rounded as dialog fonts are measured.
    const int alphabet = QFontMetrics(font).horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int charWidth = std::max((alphabet / 26 + 1) / 2, kClassicCharWidth);
    std::vector<int> scaled;
    for (int width : widths) {
        scaled.push_back(width * charWidth / kClassicCharWidth);
    }
    return scaled;
}

}  // namespace korvana
