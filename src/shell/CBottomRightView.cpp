#include "shell/CBottomRightView.h"

#include <QResizeEvent>

#include "shell/CCJShellList.h"
#include "shell/WindowSettings.h"

namespace korvana {

namespace {

const QString kListName = QStringLiteral("browser");

}  // namespace

CBottomRightView::CBottomRightView(QWidget* parent)
    : QWidget(parent), m_shellList(new CCJShellList(this)) {
    m_shellList->BuildColumns();
    m_shellList->SubclassHeader(false);
    if (const auto sort = WindowSettings::LoadSort(kListName)) {
        m_shellList->SetSort(sort->nColumn, sort->bAscending);
    }
    connect(m_shellList, &CCJListCtrl::sortChosen, this, [](int column, bool ascending) {
        WindowSettings::SaveSort(kListName, {column, ascending});
    });
}

void CBottomRightView::resizeEvent(QResizeEvent* event) {
    m_shellList->setGeometry(0, 0, event->size().width(), event->size().height());
}

}  // namespace korvana
