#include "ArtStyle.h"

namespace korvana::art {

QFont WordFont(qreal pixelSize, bool condensed) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pixelSize));
    font.setWeight(QFont::Bold);
    if (condensed) {
        font.setStretch(QFont::SemiCondensed);
    }
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QImage Blank300Dpi(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDotsPerMeterX(kDotsPerMetre300Dpi);
    image.setDotsPerMeterY(kDotsPerMetre300Dpi);
    return image;
}

}  // namespace korvana::art
