#include "SplashArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "ArtStyle.h"
#include "IconArt.h"

namespace korvana::art {

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr qreal kKeysTop = 452.0;

void DrawBackground(QPainter& painter) {
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.0, kTealDark);
    sky.setColorAt(1.0, QColor(20, 92, 102));
    painter.fillRect(QRect(0, 0, kWidth, kHeight), sky);
    QRadialGradient glow(QPointF(600, 170), 430);
    glow.setColorAt(0.0, QColor(47, 167, 160, 110));
    glow.setColorAt(1.0, QColor(47, 167, 160, 0));
    painter.fillRect(QRect(0, 0, kWidth, kHeight), glow);
}

// Five gently waving staff lines with a few notes riding on them.
void DrawStaff(QPainter& painter) {
    const qreal baseline = 360.0;
    const qreal gap = 11.0;
    const auto waveY = [&](qreal x, int line) {
        return baseline + line * gap + 16.0 * qSin(x / 130.0) + 6.0 * qSin(x / 47.0 + 1.3);
    };
    painter.setPen(QPen(QColor(255, 255, 255, 60), 1.6));
    painter.setBrush(Qt::NoBrush);
    for (int line = 0; line < 5; ++line) {
        QPainterPath path;
        path.moveTo(0, waveY(0, line));
        for (int x = 4; x <= kWidth; x += 4) {
            path.lineTo(x, waveY(x, line));
        }
        painter.drawPath(path);
    }
    const struct {
        qreal x;
        int step;  // half staff spaces above the bottom line
    } notes[] = {{300, 3}, {360, 5}, {420, 4}, {480, 6}, {545, 7}, {610, 5}, {680, 8}, {740, 6}};
    painter.setPen(Qt::NoPen);
    for (const auto& note : notes) {
        const qreal y = waveY(note.x, 4) - note.step * gap / 2.0;
        const QColor colour(255, 255, 255, 190);
        painter.setBrush(colour);
        painter.save();
        painter.translate(note.x, y);
        painter.rotate(-20.0);
        painter.drawEllipse(QPointF(0, 0), 7.5, 5.5);
        painter.restore();
        painter.fillRect(QRectF(note.x + 5.6, y - 34.0, 1.8, 33.0), colour);
    }
}

void DrawTitle(QPainter& painter) {
    const QImage icon = DrawIcon(150);
    painter.drawImage(QPointF(60, 92), icon);
    QFont title = WordFont(104, false);
    painter.setFont(title);
    for (int i = 4; i >= 1; --i) {
        painter.setPen(QColor(0, 0, 0, 28));
        painter.drawText(QPointF(238 + i, 212 + i), QStringLiteral("Korvana"));
    }
    painter.setPen(Qt::white);
    painter.drawText(QPointF(238, 212), QStringLiteral("Korvana"));

    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(23);
    painter.setFont(subtitle);
    painter.setPen(QColor(200, 240, 236));
    painter.drawText(QPointF(244, 254), QStringLiteral("Accompaniment styles for your keyboard"));
    subtitle.setPixelSize(17);
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 2.0);
    painter.setFont(subtitle);
    painter.setPen(QColor(150, 214, 208));
    painter.drawText(QPointF(246, 290),
                     QStringLiteral("CHECK  \u00B7  CONVERT  \u00B7  KEEP  \u00B7  TRANSFER"));
}

// A keyboard across the bottom edge, with its felt strip above the keys.
void DrawKeyboard(QPainter& painter) {
    painter.fillRect(QRectF(0, kKeysTop - 12, kWidth, 12), QColor(122, 31, 43));
    painter.fillRect(QRectF(0, kKeysTop - 2, kWidth, 2), QColor(70, 12, 20));
    const int whiteKeys = 25;
    const qreal keyWidth = static_cast<qreal>(kWidth) / whiteKeys;
    const qreal keyHeight = kHeight - kKeysTop;
    for (int i = 0; i < whiteKeys; ++i) {
        const QRectF key(i * keyWidth + 0.75, kKeysTop, keyWidth - 1.5, keyHeight + 6);
        QLinearGradient ivory(key.topLeft(), key.bottomLeft());
        ivory.setColorAt(0.0, QColor(236, 240, 238));
        ivory.setColorAt(1.0, QColor(255, 255, 252));
        painter.setPen(Qt::NoPen);
        painter.setBrush(ivory);
        painter.drawRoundedRect(key, 4, 4);
    }
    // Black keys follow the white keys C D E F G A B: after C, D, F, G and A.
    const bool blackAfter[7] = {true, true, false, true, true, true, false};
    for (int i = 0; i < whiteKeys - 1; ++i) {
        if (!blackAfter[i % 7]) {
            continue;
        }
        const QRectF key((i + 1) * keyWidth - keyWidth * 0.3, kKeysTop - 2, keyWidth * 0.6,
                         keyHeight * 0.6);
        painter.setBrush(QColor(0, 0, 0, 70));
        painter.drawRoundedRect(key.translated(2, 3), 3, 3);
        QLinearGradient ebony(key.topLeft(), key.bottomLeft());
        ebony.setColorAt(0.0, QColor(20, 24, 28));
        ebony.setColorAt(1.0, QColor(52, 58, 64));
        painter.setBrush(ebony);
        painter.drawRoundedRect(key, 3, 3);
    }
}

}  // namespace

QImage DrawSplash() {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    DrawBackground(painter);
    DrawStaff(painter);
    DrawTitle(painter);
    DrawKeyboard(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

}  // namespace korvana::art
