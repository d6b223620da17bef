#pragma once

// The application icon: a turquoise tile with a pair of beamed notes over four piano keys. It is
// described once as filled shapes on a 256-unit square and drawn from that description both as
// pictures of any size and as a scalable SVG.

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <vector>

namespace korvana::art {

struct IconShape {
    QPainterPath path;
    QColor top;     // fill at the shape's top edge
    QColor bottom;  // fill at its bottom edge (the same colour for a flat fill)
};

std::vector<IconShape> IconShapes();

QImage DrawIcon(int size);

QString IconSvg();

}  // namespace korvana::art
