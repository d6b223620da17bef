#include "ButtonArt.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QtMath>
#include <algorithm>

#include "ArtStyle.h"

namespace korvana::art {

namespace {

constexpr qreal kMargin = 8.0;        // transparent border around the plate
constexpr qreal kInset = 9.0;         // plate edge to symbol, and word to plate edge
constexpr qreal kGap = 6.0;           // symbol to word
constexpr qreal kSymbolShare = 0.62;  // symbol height in plate heights
constexpr qreal kLargestWord = 42.0;

struct FaceLayout {
    QRectF plate;
    QRectF symbol;
    QRectF word;
};

FaceLayout Layout(const FaceSpec& face) {
    FaceLayout layout;
    layout.plate = QRectF(kMargin, kMargin, face.width - 2 * kMargin, face.height - 2 * kMargin);
    const qreal side = layout.plate.height() * kSymbolShare;
    layout.symbol =
        QRectF(layout.plate.left() + kInset, layout.plate.center().y() - side / 2, side, side);
    layout.word =
        QRectF(layout.symbol.right() + kGap, layout.plate.top(), 0, layout.plate.height());
    layout.word.setRight(layout.plate.right() - kInset);
    return layout;
}

void DrawPlate(QPainter& painter, const QRectF& plate) {
    const qreal radius = plate.height() * 0.26;
    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    fill.setColorAt(0.0, kPlateTop);
    fill.setColorAt(1.0, kPlateBottom);
    painter.setPen(QPen(kPlateBorder, 3.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(plate.adjusted(1.5, 1.5, -1.5, -1.5), radius, radius);
    // A soft light line under the top edge gives the plate a little depth.
    painter.setPen(QPen(QColor(255, 255, 255, 170), 2.0));
    painter.setBrush(Qt::NoBrush);
    const QRectF inner = plate.adjusted(4.5, 4.5, -4.5, -4.5);
    QPainterPath top;
    top.moveTo(inner.left() + radius * 0.6, inner.top());
    top.lineTo(inner.right() - radius * 0.6, inner.top());
    painter.drawPath(top);
}

// A path along a circle from one angle (degrees, counter-clockwise from three o'clock) through
// a sweep, ending with an arrowhead that follows the circle.
void DrawCirclingArrow(QPainter& painter, QPointF centre, qreal radius, qreal startDegrees,
                       qreal sweepDegrees, qreal stroke, const QColor& colour) {
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(circle, startDegrees);
    arc.arcTo(circle, startDegrees, sweepDegrees);
    painter.setPen(QPen(colour, stroke, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arc);

    const qreal end = qDegreesToRadians(startDegrees + sweepDegrees);
    const QPointF outward(qCos(end), -qSin(end));
    const QPointF along(-qSin(end), -qCos(end));  // direction of travel, counter-clockwise
    const QPointF base = centre + outward * radius;
    const qreal head = stroke * 1.25;
    QPolygonF arrow{base + outward * head, base + along * head * 1.5, base - outward * head};
    painter.setPen(QPen(colour, stroke * 0.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(colour);
    painter.drawPolygon(arrow);
}

void DrawLink(QPainter& painter, QPointF centre, qreal length, qreal thickness, qreal stroke,
              const QColor& colour) {
    painter.setPen(QPen(colour, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(
        QRectF(centre.x() - length / 2, centre.y() - thickness / 2, length, thickness),
        thickness / 2, thickness / 2);
}

void DrawBadge(QPainter& painter, const QRectF& box, const QString& glyph, const QFont& font,
               const QColor& colour) {
    const qreal radius = box.width() * 0.47;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(box.center(), radius, radius);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, glyph);
}

}  // namespace

std::vector<FaceSpec> CommandBarFaces() {
    // Buttons 110 pixels wide get the wide pictures, 70-pixel buttons the narrow ones. Copy Up's
    // button is 100 wide: its wide picture runs a pixel or two past it, where only the
    // transparent margin lies.
    return {
        {152, 151, 315, 100, QStringLiteral("Connect"), Symbol::ChainLink},
        {162, 153, 315, 100, QStringLiteral("Refresh"), Symbol::CirclingArrows},
        {158, 159, 315, 100, QStringLiteral("Copy Up"), Symbol::TriangleUp},
        {156, 157, 315, 100, QStringLiteral("Copy Down"), Symbol::TriangleDown},
        {160, 161, 208, 100, QStringLiteral("Help"), Symbol::QuestionMark},
        {154, 155, 208, 100, QStringLiteral("About"), Symbol::LetterI},
    };
}

FaceSpec DownloadFace() {
    return {150, 149, 229, 91, QStringLiteral("Download"), Symbol::ArrowLeft};
}

qreal FittingWordSize(const std::vector<FaceSpec>& faces) {
    qreal size = kLargestWord;
    for (const FaceSpec& face : faces) {
        const qreal room = Layout(face).word.width();
        while (size > 8.0 &&
               QFontMetricsF(WordFont(size, true)).horizontalAdvance(face.word) > room) {
            size -= 0.5;
        }
    }
    return size;
}

QImage DrawFace(const FaceSpec& face, const QColor& symbolColour, qreal wordPixelSize) {
    QImage image = Blank300Dpi(face.width, face.height);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const FaceLayout layout = Layout(face);
    DrawPlate(painter, layout.plate);
    DrawSymbol(painter, face.symbol, layout.symbol, symbolColour);
    painter.setFont(WordFont(wordPixelSize, true));
    painter.setPen(kWord);
    painter.drawText(layout.word, Qt::AlignCenter, face.word);
    return image;
}

void DrawSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& colour) {
    const qreal s = box.width();
    const QPointF c = box.center();
    const qreal stroke = s * 0.13;
    painter.save();
    switch (symbol) {
        case Symbol::ChainLink: {
            painter.translate(c);
            painter.rotate(-45.0);
            const qreal length = s * 0.62;
            const qreal thickness = s * 0.34;
            const qreal shift = s * 0.2;
            DrawLink(painter, QPointF(-shift, 0), length, thickness, stroke, colour);
            DrawLink(painter, QPointF(shift, 0), length, thickness, stroke, colour);
            break;
        }
        case Symbol::CirclingArrows: {
            const qreal radius = s * 0.33;
            DrawCirclingArrow(painter, c, radius, 30.0, 125.0, stroke, colour);
            DrawCirclingArrow(painter, c, radius, 210.0, 125.0, stroke, colour);
            break;
        }
        case Symbol::TriangleUp:
        case Symbol::TriangleDown: {
            const qreal top = box.top() + s * 0.16;
            const qreal bottom = box.bottom() - s * 0.2;
            const qreal half = s * 0.4;
            const bool up = symbol == Symbol::TriangleUp;
            QPolygonF triangle{QPointF(c.x(), up ? top : bottom),
                               QPointF(c.x() - half, up ? bottom : top),
                               QPointF(c.x() + half, up ? bottom : top)};
            if (!up) {
                triangle.translate(0, s * 0.04);
            }
            painter.setPen(QPen(colour, stroke * 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(colour);
            painter.drawPolygon(triangle);
            break;
        }
        case Symbol::QuestionMark:
            DrawBadge(painter, box, QStringLiteral("?"), WordFont(s * 0.7, false), colour);
            break;
        case Symbol::LetterI: {
            QFont serif(QStringLiteral("DejaVu Serif"));
            serif.setPixelSize(qRound(s * 0.7));
            serif.setWeight(QFont::Bold);
            DrawBadge(painter, box, QStringLiteral("i"), serif, colour);
            break;
        }
        case Symbol::ArrowLeft: {
            const qreal left = box.left() + s * 0.04;
            const qreal right = box.right() - s * 0.02;
            const qreal neck = box.left() + s * 0.5;
            const qreal head = s * 0.4;
            const qreal shaft = s * 0.15;
            const QPolygonF arrow{QPointF(left, c.y()),          QPointF(neck, c.y() - head),
                                  QPointF(neck, c.y() - shaft),  QPointF(right, c.y() - shaft),
                                  QPointF(right, c.y() + shaft), QPointF(neck, c.y() + shaft),
                                  QPointF(neck, c.y() + head)};
            painter.setPen(QPen(colour, stroke * 0.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(colour);
            painter.drawPolygon(arrow);
            break;
        }
    }
    painter.restore();
}

}  // namespace korvana::art
