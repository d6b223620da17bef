#include "shell/CMainFrame.h"

#include <QAction>
#include <algorithm>

#include "controls/AppIcon.h"
#include "controls/CGdipButton.h"
#include "controls/ResourceIds.h"
#include "controls/StringTable.h"
#include "shell/CBottomLeftView.h"
#include "shell/CBottomRightView.h"
#include "shell/CBottomView.h"
#include "shell/CCJShellList.h"
#include "shell/CCJShellTree.h"
#include "shell/CDisabledCSplitterWnd.h"
#include "shell/CMiddleView.h"
#include "shell/CTopLeftView.h"
#include "shell/CTopMiddleView.h"
#include "shell/CTopRightView.h"
#include "shell/CTopView.h"
#include "shell/DevListCtrl.h"
#include "shell/FramePanes.h"
#include "shell/RepListCtrl.h"
#include "shell/WindowSettings.h"

namespace korvana {

CMainFrame::CMainFrame(const QString& repositoryFolder, QWidget* parent)
    : QWidget(parent), m_wndSplitter(new CDisabledCSplitterWnd(Qt::Vertical, this)) {
    setWindowTitle(LoadResString(AFX_IDS_APP_TITLE));
    setWindowIcon(LoadAppIcon());
    m_wndSplitter->AddPane(new CTopView(repositoryFolder));
    m_wndSplitter->AddPane(new CMiddleView);
    m_wndSplitter->AddPane(new CBottomView);
    m_bSplitterReady = true;
    SetTabOrder();
    setMinimumSize(c_nWidth, c_nHeight);
    resize(c_nWidth, c_nHeight);
    restoreGeometry(WindowSettings::LoadGeometry());
}

void CMainFrame::SetTabOrder() {
    CTopLeftView* slotView = FindTopLeftView(this);
    CTopMiddleView* transfer = FindTopMiddleView(this);
    CTopRightView* repository = FindTopRightView(this);
    CMiddleView* bar = FindMiddleView(this);
    CBottomLeftView* tree = FindBottomLeftView(this);
    CBottomRightView* files = FindBottomRightView(this);
    if (!slotView || !transfer || !repository || !bar || !tree || !files) {
        return;
    }
    // As the panes are laid out: the top row from left to right, the bar, then the browser.
    const std::vector<QWidget*> order = {
        slotView->m_wndDevList, transfer->m_btnSend, repository->List(), bar->m_btnConnect,
        bar->m_btnRefresh,      bar->m_btnCopyUp,    bar->m_btnCopyDown, bar->m_btnHelp,
        bar->m_btnAbout,        tree->m_shellTree,   files->m_shellList};
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void CMainFrame::EnableKeyboardCommands(bool enable) {
    if (CMiddleView* bar = FindMiddleView(this)) {
        bar->m_btnConnect->setEnabled(enable);
        bar->m_btnRefresh->setEnabled(enable);
    }
    if (CTopMiddleView* transfer = FindTopMiddleView(this)) {
        transfer->m_btnSend->setEnabled(enable);
        transfer->m_fetch->setEnabled(enable);
    }
    if (CTopLeftView* slotView = FindTopLeftView(this)) {
        slotView->m_wndDevList->setEnabled(enable);
    }
}

void CMainFrame::ShowDeviceName(const QString& name) {
    const QString title = LoadResString(AFX_IDS_APP_TITLE);
    const QString column = LoadResString(IDS_COLUMN_DEVICE);
    const QString dash = QStringLiteral(" \u2014 ");
    setWindowTitle(name.isEmpty() ? title : title + dash + name);
    if (CTopLeftView* slotView = FindTopLeftView(this)) {
        slotView->m_wndDevList->headerItem()->setText(
            0, name.isEmpty() ? column : column + dash + name);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    WindowSettings::SaveGeometry(saveGeometry());
    QWidget::closeEvent(event);
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
