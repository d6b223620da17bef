#pragma once

#include <QColor>
#include <QImage>

namespace korvana {

// The colour at the middle of a layout pixel of a grabbed picture, whatever the screen density
// (a grab holds devicePixelRatio device pixels per layout pixel in each direction).
inline QColor PixelAt(const QImage& image, int x, int y) {
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(static_cast<int>((x + 0.5) * ratio),
                            static_cast<int>((y + 0.5) * ratio));
}

inline QRgb RgbAt(const QImage& image, int x, int y) {
    return PixelAt(image, x, y).rgb();
}

}  // namespace korvana
