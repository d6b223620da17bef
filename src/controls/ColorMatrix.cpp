#include "controls/ColorMatrix.h"

#include <algorithm>
#include <cmath>

namespace korvana {

namespace {

int ToChannel(float value) {
    return static_cast<int>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

QImage ApplyColorMatrix(const QImage& image, const ColorMatrix& matrix) {
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb pixel = line[x];
            const float in[5] = {qRed(pixel) / 255.0f, qGreen(pixel) / 255.0f,
                                 qBlue(pixel) / 255.0f, qAlpha(pixel) / 255.0f, 1.0f};
            float out[4] = {};
            for (int column = 0; column < 4; ++column) {
                for (int row = 0; row < 5; ++row) {
                    out[column] += in[row] * matrix[row][column];
                }
            }
            line[x] =
                qRgba(ToChannel(out[0]), ToChannel(out[1]), ToChannel(out[2]), ToChannel(out[3]));
        }
    }
    return result;
}

}  // namespace korvana
