#pragma once

// 5 x 5 colour matrices: each pixel's [r g b a 1] (channels from 0 to 1) times the matrix gives
// its new colour.

#include <QImage>
#include <array>

namespace korvana {

using ColorMatrix = std::array<std::array<float, 5>, 5>;

// Every colour channel becomes 0.3 r + 0.59 g + 0.11 b; alpha is kept.
inline constexpr ColorMatrix kGreyMatrix{{
    {0.3f, 0.3f, 0.3f, 0.0f, 0.0f},
    {0.59f, 0.59f, 0.59f, 0.0f, 0.0f},
    {0.11f, 0.11f, 0.11f, 0.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 1.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 0.0f, 1.0f},
}};

// A copy of the image (as straight, not premultiplied, ARGB) with the matrix applied to every
// pixel; results are clamped to the channel range.
QImage ApplyColorMatrix(const QImage& image, const ColorMatrix& matrix);

}  // namespace korvana
