#include "CTopLeftView.h"

#include <QResizeEvent>
#include <array>

#include "CCJListCtrl.h"
#include "ColumnWidths.h"
#include "ResourceIds.h"

namespace korvana {

CTopLeftView::CTopLeftView(QWidget* parent) : QWidget(parent), m_wndDevList(new CCJListCtrl(this)) {
    constexpr std::array kWidths{150};
    constexpr std::array kTitles{IDS_COLUMN_DEVICE};
    m_wndDevList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_wndDevList->BuildColumns(FontScaledWidths(kWidths, m_wndDevList->font()), kTitles);
    m_wndDevList->SubclassHeader(false);
}

void CTopLeftView::resizeEvent(QResizeEvent* event) {
    m_wndDevList->setGeometry(0, 0, event->size().width(), event->size().height());
}

}  // namespace korvana
