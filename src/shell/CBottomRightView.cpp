#include "CBottomRightView.h"

#include <QResizeEvent>

#include "CCJShellList.h"

namespace korvana {

CBottomRightView::CBottomRightView(QWidget* parent)
    : QWidget(parent), m_shellList(new CCJShellList(this)) {
    m_shellList->BuildColumns();
    m_shellList->SubclassHeader(false);
}

void CBottomRightView::resizeEvent(QResizeEvent* event) {
    m_shellList->setGeometry(0, 0, event->size().width(), event->size().height());
}

}  // namespace korvana
