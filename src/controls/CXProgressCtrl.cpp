#include "CXProgressCtrl.h"

#include <QPainter>
#include <algorithm>

#include "PixelLines.h"

namespace korvana {

CXProgressCtrl::CXProgressCtrl(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
}

void CXProgressCtrl::SetWindowText(const QString& text) {
    m_strText = text;
    update();
}

double CXProgressCtrl::Fraction() const {
    const double span = static_cast<double>(maximum()) - minimum();
    if (span <= 0.0) {
        return 0.0;
    }
    // A bar that was never set sits below its lower limit.
    return std::clamp((static_cast<double>(value()) - minimum()) / span, 0.0, 1.0);
}

QString CXProgressCtrl::BarText() const {
    if (!m_bShowPercent) {
        return m_strText;
    }
    return m_strText + QString::asprintf("%d%% ", static_cast<int>(Fraction() * 100.0 + 0.5));
}

void CXProgressCtrl::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect client = rect();
    const double fraction = Fraction();

    // Flat sunken edge, then the inner area in the background colour.
    FillFrame(painter, client, palette().color(QPalette::Dark));
    FillFrame(painter, client.adjusted(1, 1, -1, -1), palette().color(QPalette::Base));
    const QRect inset = client.adjusted(2, 2, -2, -2);
    if (inset.isEmpty()) {
        return;
    }
    painter.fillRect(inset, m_crBack);

    const QString text = BarText();
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text);
    const int textHeight = metrics.height();
    const int insetRight = inset.x() + inset.width();
    const int insetBottom = inset.y() + inset.height();

    QRect bar;
    QPoint origin;  // top-left corner of the text as read
    if (orientation() == Qt::Horizontal) {
        const int barWidth = static_cast<int>(inset.width() * fraction);
        bar = QRect(inset.x(), inset.y(), barWidth, inset.height());
        const int x = m_nTextAlign == 0   ? inset.x()
                      : m_nTextAlign == 2 ? insetRight - textWidth
                                          : inset.x() + (inset.width() - textWidth) / 2;
        origin = QPoint(x, inset.y() + (inset.height() - textHeight) / 2);
    } else {
        const int barHeight = static_cast<int>(inset.height() * fraction);
        bar = QRect(inset.x(), insetBottom - barHeight, inset.width(), barHeight);
        const int y = m_nTextAlign == 0   ? insetBottom
                      : m_nTextAlign == 2 ? inset.y() + textWidth
                                          : insetBottom - (inset.height() - textWidth) / 2;
        origin = QPoint(inset.x() + (inset.width() - textHeight) / 2, y);
    }
    painter.fillRect(bar, m_crBar);

    painter.setFont(font());
    const auto drawText = [&](const QColor& colour) {
        painter.save();
        painter.translate(origin);
        if (orientation() == Qt::Vertical) {
            painter.rotate(-90.0);  // reads from bottom to top
        }
        painter.setPen(colour);
        painter.drawText(QRect(0, 0, textWidth, textHeight),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter.restore();
    };
    // Each colour only where it belongs, so antialiased edges blend with the right background.
    painter.setClipRegion(QRegion(inset).subtracted(QRegion(bar)));
    drawText(m_crText);
    painter.setClipRect(bar.intersected(inset));
    drawText(m_crTextOnBar);
}

}  // namespace korvana
