#include "IconArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRegularExpression>
#include <QTransform>

#include "ArtStyle.h"

namespace korvana::art {

namespace {

constexpr qreal kUnits = 256.0;

QPainterPath RoundedRect(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// A white key with rounded lower corners.
QPainterPath WhiteKey(qreal left, qreal top, qreal width, qreal height) {
    QPainterPath key = RoundedRect(QRectF(left, top, width, height), 7.0);
    key.addRect(QRectF(left, top, width, 10.0));
    return key.simplified();
}

QPainterPath NoteHead(QPointF centre) {
    QPainterPath ellipse;
    ellipse.addEllipse(QPointF(0, 0), 19.0, 13.5);
    return QTransform().translate(centre.x(), centre.y()).rotate(-22.0).map(ellipse);
}

QPainterPath BeamedNotes() {
    const QPointF head1(86.0, 116.0);
    const QPointF head2(166.0, 100.0);
    const qreal stemWidth = 8.0;
    // Stems rise from the right side of each head to the beam.
    const qreal stem1x = head1.x() + 13.0;
    const qreal stem2x = head2.x() + 13.0;
    QPainterPath notes = NoteHead(head1);
    notes.addPath(NoteHead(head2));
    notes.addRect(QRectF(stem1x, 46.0, stemWidth, head1.y() - 50.0));
    notes.addRect(QRectF(stem2x, 30.0, stemWidth, head2.y() - 34.0));
    QPainterPath beam;
    beam.moveTo(stem1x, 46.0);
    beam.lineTo(stem2x + stemWidth, 30.0);
    beam.lineTo(stem2x + stemWidth, 52.0);
    beam.lineTo(stem1x, 68.0);
    beam.closeSubpath();
    notes.addPath(beam);
    return notes.simplified();
}

QString Number(qreal value) {
    return QString::number(value, 'f', 2).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

QString SvgPath(const QPainterPath& path) {
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            d += QStringLiteral("M%1 %2").arg(Number(e.x), Number(e.y));
        } else if (e.isLineTo()) {
            d += QStringLiteral("L%1 %2").arg(Number(e.x), Number(e.y));
        } else if (e.isCurveTo()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(Number(e.x), Number(e.y), Number(c2.x), Number(c2.y), Number(end.x),
                          Number(end.y));
            i += 2;
        }
    }
    return d + u'Z';
}

}  // namespace

std::vector<IconShape> IconShapes() {
    std::vector<IconShape> shapes;
    shapes.push_back({RoundedRect(QRectF(16, 16, 224, 224), 48.0), kTurquoise, kTeal});
    // Four white keys, then the three black keys between them.
    const qreal keyTop = 146.0;
    const qreal keyWidth = 41.0;
    for (int i = 0; i < 4; ++i) {
        shapes.push_back({WhiteKey(42.0 + i * (keyWidth + 4.0), keyTop, keyWidth, 72.0),
                          QColor(255, 255, 255), QColor(214, 236, 236)});
    }
    for (int i = 1; i < 4; ++i) {
        const qreal gapCentre = 42.0 + i * (keyWidth + 4.0) - 2.0;
        QPainterPath black = RoundedRect(QRectF(gapCentre - 12.0, keyTop, 24.0, 42.0), 4.0);
        shapes.push_back({black, QColor(30, 52, 64), QColor(12, 30, 40)});
    }
    shapes.push_back({BeamedNotes(), kNavy, kNavy});
    return shapes;
}

QImage DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kUnits, size / kUnits);
    painter.setPen(Qt::NoPen);
    for (const IconShape& shape : IconShapes()) {
        const QRectF bounds = shape.path.boundingRect();
        QLinearGradient fill(bounds.topLeft(), bounds.bottomLeft());
        fill.setColorAt(0.0, shape.top);
        fill.setColorAt(1.0, shape.bottom);
        painter.setBrush(fill);
        painter.drawPath(shape.path);
    }
    return image;
}

QString IconSvg() {
    QString defs;
    QString body;
    int gradient = 0;
    for (const IconShape& shape : IconShapes()) {
        QString fill = shape.top.name();
        if (shape.top != shape.bottom) {
            const QRectF bounds = shape.path.boundingRect();
            const QString id = QStringLiteral("g%1").arg(++gradient);
            defs += QStringLiteral(
                        "    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" "
                        "y1=\"%2\" x2=\"0\" y2=\"%3\">\n"
                        "      <stop offset=\"0\" stop-color=\"%4\"/>\n"
                        "      <stop offset=\"1\" stop-color=\"%5\"/>\n"
                        "    </linearGradient>\n")
                        .arg(id, Number(bounds.top()), Number(bounds.bottom()), shape.top.name(),
                             shape.bottom.name());
            fill = QStringLiteral("url(#%1)").arg(id);
        }
        body += QStringLiteral("  <path fill=\"%1\" d=\"%2\"/>\n").arg(fill, SvgPath(shape.path));
    }
    return QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
               "viewBox=\"0 0 256 256\">\n  <defs>\n%1  </defs>\n%2</svg>\n")
        .arg(defs, body);
}

}  // namespace korvana::art
