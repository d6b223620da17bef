#pragma once

// One-pixel lines and frames drawn as filled pixel cells, so that they stay exactly one layout
// pixel wide and on the pixel asked for at any screen density (a pen line would straddle two
// device pixels when scaled).

#include <QColor>
#include <QPainter>
#include <QRect>

namespace korvana {

// Vertical line at x from y1 to y2, both included.
inline void FillVLine(QPainter& painter, int x, int y1, int y2, const QColor& colour) {
    painter.fillRect(QRect(QPoint(x, y1), QPoint(x, y2)).normalized(), colour);
}

// Horizontal line at y from x1 to x2, both included.
inline void FillHLine(QPainter& painter, int x1, int x2, int y, const QColor& colour) {
    painter.fillRect(QRect(QPoint(x1, y), QPoint(x2, y)).normalized(), colour);
}

// The outermost ring of pixels of a rectangle.
inline void FillFrame(QPainter& painter, const QRect& rect, const QColor& colour) {
    FillHLine(painter, rect.left(), rect.right(), rect.top(), colour);
    FillHLine(painter, rect.left(), rect.right(), rect.bottom(), colour);
    FillVLine(painter, rect.left(), rect.top(), rect.bottom(), colour);
    FillVLine(painter, rect.right(), rect.top(), rect.bottom(), colour);
}

}  // namespace korvana
