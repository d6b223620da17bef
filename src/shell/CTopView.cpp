#include "shell/CTopView.h"

#include <QResizeEvent>

#include "shell/CDisabledCSplitterWnd.h"
#include "shell/CTopLeftView.h"
#include "shell/CTopMiddleView.h"
#include "shell/CTopRightView.h"

namespace korvana {

CTopView::CTopView(const QString& repositoryFolder, QWidget* parent)
    : QWidget(parent), m_wndSplitter(new CDisabledCSplitterWnd(Qt::Horizontal, this)) {
    m_wndSplitter->AddPane(new CTopLeftView);
    m_wndSplitter->AddPane(new CTopMiddleView);
    m_wndSplitter->AddPane(new CTopRightView(repositoryFolder));
}

void CTopView::resizeEvent(QResizeEvent* event) {
    const int width = event->size().width();
    if (width < c_nNarrowestLayout) {
        return;
    }
    m_wndSplitter->setGeometry(0, 0, width, event->size().height());
    m_wndSplitter->SetPaneSizes({width / 3 - c_nMiddleColumnWidth, c_nMiddleColumnWidth});
}

}  // namespace korvana
