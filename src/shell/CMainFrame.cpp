#include "CMainFrame.h"

#include <algorithm>

#include "AppIcon.h"
#include "CBottomView.h"
#include "CDisabledCSplitterWnd.h"
#include "CMiddleView.h"
#include "CTopView.h"
#include "ResourceIds.h"
#include "StringTable.h"

namespace korvana {

CMainFrame::CMainFrame(const QString& repositoryFolder, QWidget* parent)
    : QWidget(parent), m_wndSplitter(new CDisabledCSplitterWnd(Qt::Vertical, this)) {
    setWindowTitle(LoadResString(AFX_IDS_APP_TITLE));
    setWindowIcon(LoadAppIcon());
    m_wndSplitter->AddPane(new CTopView(repositoryFolder));
    m_wndSplitter->AddPane(new CMiddleView);
    m_wndSplitter->AddPane(new CBottomView);
    m_bSplitterReady = true;
    setMinimumSize(c_nWidth, c_nHeight);
    resize(c_nWidth, c_nHeight);
}

int CMainFrame::TopRowHeight(int outerHeight) {
    return std::max((2 * outerHeight - 120) / 5, c_nMinRowHeight);
}

void CMainFrame::resizeEvent(QResizeEvent* /*event*/) {
    ApplyRowLayout();
}

void CMainFrame::moveEvent(QMoveEvent* /*event*/) {
    ApplyRowLayout();
}

void CMainFrame::ApplyRowLayout() {
    m_wndSplitter->setGeometry(rect());
    const int decoration = frameGeometry().height() - geometry().height();
    const int outerHeight = height() + std::max(decoration, 0);
    if (!m_bSplitterReady || outerHeight <= 100) {
        return;
    }
    m_wndSplitter->SetPaneSizes({TopRowHeight(outerHeight), c_nMiddleRowHeight});
}

}  // namespace korvana
