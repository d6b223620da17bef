#include "controls/CXProgressCtrl.h"

#include <QPainter>
#include <algorithm>

#include "controls/PixelLines.h"

namespace korvana {

CXProgressCtrl::CXProgressCtrl(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
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
    return QString::asprintf("%d%% ", static_cast<int>(Fraction() * 100.0 + 0.5));
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

    const QRect bar(inset.x(), inset.y(), static_cast<int>(inset.width() * fraction),
                    inset.height());
    const QRect textRect(inset.x() + (inset.width() - textWidth) / 2,
                         inset.y() + (inset.height() - textHeight) / 2, textWidth, textHeight);
    painter.fillRect(bar, m_crBar);

    painter.setFont(font());
    const auto drawText = [&](const QColor& colour) {
        painter.setPen(colour);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    };
    // Each colour only where it belongs, so antialiased edges blend with the right background.
    painter.setClipRegion(QRegion(inset).subtracted(QRegion(bar)));
    drawText(m_crText);
    painter.setClipRect(bar.intersected(inset));
    drawText(m_crTextOnBar);
}

}  // namespace korvana
