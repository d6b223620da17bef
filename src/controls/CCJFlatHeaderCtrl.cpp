#include "controls/CCJFlatHeaderCtrl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStringList>
#include <cstdlib>

#include "controls/PixelLines.h"

namespace korvana {

namespace {

// A one-pixel line from 'from' towards 'to', leaving out the end point, as the classic line-to
// drawing does; joined segments then meet without a doubled pixel.
void LineTo(QPainter& painter, QPoint from, QPoint to, const QColor& colour) {
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int sx = from.x() < to.x() ? 1 : -1;
    const int sy = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    QPoint p = from;
    while (p != to) {
        painter.fillRect(QRect(p, QSize(1, 1)), colour);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.rx() += sx;
        }
        if (twice <= dx) {
            error += dx;
            p.ry() += sy;
        }
    }
}

void Polyline(QPainter& painter, std::initializer_list<QPoint> points, const QColor& colour) {
    const QPoint* previous = nullptr;
    for (const QPoint& point : points) {
        if (previous != nullptr) {
            LineTo(painter, *previous, point, colour);
        }
        previous = &point;
    }
}

}  // namespace

CCJFlatHeaderCtrl::CCJFlatHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setHighlightSections(false);
}

void CCJFlatHeaderCtrl::InitializeHeader(bool boldFont) {
    m_font = QApplication::font(this);
    if (boldFont) {
        m_font.setWeight(QFont::Bold);
    }
    m_bBoldFont = boldFont;
    setFont(m_font);
    viewport()->update();
}

int CCJFlatHeaderCtrl::SetSortImage(int column, bool ascending) {
    const int previous = m_nSortCol;
    m_nSortCol = column;
    m_bSortAsc = ascending;
    viewport()->update();
    return previous;
}

void CCJFlatHeaderCtrl::paintEvent(QPaintEvent* event) {
    // Every section is drawn here rather than by the style, so the header looks the same flat
    // way under every style.
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Button));
    for (int logical = 0; logical < count(); ++logical) {
        if (isSectionHidden(logical)) {
            continue;
        }
        const QRect section(sectionViewportPosition(logical), 0, sectionSize(logical),
                            viewport()->height());
        if (section.intersects(event->rect())) {
            paintSection(&painter, section, logical);
        }
    }
    DrawFlatBorder(painter);
}

void CCJFlatHeaderCtrl::DrawFlatBorder(QPainter& painter) const {
    const QColor face = palette().color(QPalette::Button);
    const QColor highlight = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    const QRect all = viewport()->rect();

    // Two frames in the face colour hide any raised edge, then a thin etched frame.
    FillFrame(painter, all, face);
    FillFrame(painter, all.adjusted(1, 1, -1, -1), face);
    FillHLine(painter, all.left(), all.right() - 1, all.top(), highlight);
    FillVLine(painter, all.left(), all.top(), all.bottom() - 1, highlight);
    FillHLine(painter, all.left(), all.right(), all.bottom(), shadow);
    FillVLine(painter, all.right(), all.top(), all.bottom(), shadow);

    // Dividers after each column in the order shown, from 2 pixels below the top to 2 above
    // the bottom.
    const int top = 2;
    const int bottom = all.height() - 3;
    int x = -offset();
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (isSectionHidden(logical)) {
            continue;
        }
        x += sectionSize(logical);
        FillVLine(painter, x, top, bottom, shadow);
        FillVLine(painter, x + 1, top, bottom, highlight);
        FillVLine(painter, x - 1, top, bottom, face);
        FillVLine(painter, x - 2, top, bottom, face);
    }
}

void CCJFlatHeaderCtrl::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid()) {
        return;
    }
    painter->save();
    painter->fillRect(rect, palette().color(QPalette::Button));

    QRect text = rect.adjusted(m_nOffset, 0, -m_nOffset, 0);
    if (logicalIndex == m_nSortCol) {
        text.setRight(text.right() - 3 * m_nOffset);
    }
    if (logicalIndex == m_nPressedSection) {
        text.translate(1, 2);
    }
    if (text.width() > 0) {
        const QVariant alignmentData =
            model() != nullptr
                ? model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole)
                : QVariant();
        const Qt::Alignment horizontal =
            alignmentData.isValid()
                ? Qt::Alignment(alignmentData.toInt()) & Qt::AlignHorizontal_Mask
                : Qt::AlignLeft;
        const QString title =
            model() != nullptr
                ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString()
                : QString();
        painter->setFont(m_font);
        painter->setPen(palette().color(QPalette::ButtonText));
        // A title may hold line breaks; each line is cut short on its own.
        QStringList lines = title.split(QLatin1Char('\n'));
        for (QString& line : lines) {
            line = painter->fontMetrics().elidedText(line, Qt::ElideRight, text.width());
        }
        painter->drawText(text, static_cast<int>(horizontal | Qt::AlignVCenter),
                          lines.join(QLatin1Char('\n')));
    }
    if (logicalIndex == m_nSortCol) {
        DrawSortArrow(*painter, rect);
    }
    painter->restore();
}

void CCJFlatHeaderCtrl::DrawSortArrow(QPainter& painter, const QRect& rect) const {
    const int m = m_nOffset;
    const int r = rect.x() + rect.width();
    const int b = rect.y() + rect.height();
    // In the titles' own colour: etched light and dark lines all but vanish on a flat face.
    const QColor highlight = palette().color(QPalette::ButtonText);
    const QColor shadow = highlight;
    if (m_bSortAsc) {
        Polyline(painter,
                 {QPoint(r - 2 * m, m - 1), QPoint(r - 3 * m / 2, b - m),
                  QPoint(r - 5 * m / 2 - 2, b - m)},
                 highlight);
        Polyline(painter, {QPoint(r - 5 * m / 2 - 1, b - m - 1), QPoint(r - 2 * m, m - 2)}, shadow);
    } else {
        Polyline(painter, {QPoint(r - 3 * m / 2, m - 1), QPoint(r - 2 * m - 1, b - m + 1)},
                 highlight);
        Polyline(painter,
                 {QPoint(r - 2 * m - 1, b - m), QPoint(r - 5 * m / 2 - 1, m - 1),
                  QPoint(r - 3 * m / 2, m - 1)},
                 shadow);
    }
}

void CCJFlatHeaderCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_nPressedSection = logicalIndexAt(event->position().toPoint());
        viewport()->update();
    }
    QHeaderView::mousePressEvent(event);
}

void CCJFlatHeaderCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_nPressedSection != -1) {
        m_nPressedSection = -1;
        viewport()->update();
    }
    QHeaderView::mouseReleaseEvent(event);
}

}  // namespace korvana
