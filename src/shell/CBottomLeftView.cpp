#include "shell/CBottomLeftView.h"

#include <QResizeEvent>

#include "shell/CCJShellTree.h"

namespace korvana {

CBottomLeftView::CBottomLeftView(QWidget* parent)
    : QWidget(parent), m_shellTree(new CCJShellTree(this)) {}

void CBottomLeftView::resizeEvent(QResizeEvent* event) {
    m_shellTree->setGeometry(0, 0, event->size().width(), event->size().height());
}

}  // namespace korvana
