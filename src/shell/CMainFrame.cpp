#include "shell/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "common/Prompt.h"
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

void CMainFrame::TransferStarted() {
    m_bTransferRunning = true;
    m_midiTrans.ClearStop();
    EnableKeyboardCommands(false);
}

void CMainFrame::TransferEnded() {
    m_bTransferRunning = false;
    m_midiTrans.ClearStop();
    EnableKeyboardCommands(true);
    if (m_bCloseAfterTransfer) {
        // Once the command that ran the transfer has said how it ended.
        QTimer::singleShot(0, this, &CMainFrame::CloseWhenFree);
    }
}

void CMainFrame::CloseWhenFree() {
    if (QWidget* box = QApplication::activeModalWidget()) {
        connect(box, &QObject::destroyed, this, &CMainFrame::CloseWhenFree, Qt::QueuedConnection);
        return;
    }
    close();
}

void CMainFrame::EnableKeyboardCommands(bool enable) {
    if (CMiddleView* bar = FindMiddleView(this)) {
        bar->m_btnConnect->setEnabled(enable);
        bar->m_btnRefresh->setEnabled(enable);
    }
    if (CTopMiddleView* transfer = FindTopMiddleView(this)) {
        transfer->m_btnSend->setEnabled(enable);
        transfer->m_fetch->setEnabled(enable);
        transfer->ShowCancel(!enable);
    }
    if (CTopLeftView* slotView = FindTopLeftView(this)) {
        slotView->m_wndDevList->setEnabled(enable);
    }
}

void CMainFrame::ShowDeviceName(const QString& name) {
    const QString title = LoadResString(AFX_IDS_APP_TITLE);
    setWindowTitle(name.isEmpty() ? title : title + QStringLiteral(" \u2014 ") + name);
    if (CTopLeftView* slotView = FindTopLeftView(this)) {
        slotView->ShowDeviceName(name);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_bTransferRunning) {
        m_bCloseAfterTransfer = false;
        WindowSettings::SaveGeometry(saveGeometry());
        QWidget::closeEvent(event);
        return;
    }
    // The transfer waits in this event's handler: it goes on once the question is answered.
    event->ignore();
    if (m_bCloseAfterTransfer) {
        return;
    }
    m_bCloseAfterTransfer = true;
    if (m_midiTrans.StopRequested()) {
        return;
    }
    const auto asked = std::chrono::steady_clock::now();
    const PromptAnswer answer = Prompt().Ask(
        "A transfer with the keyboard is running.\n"
        "Yes: wait for its end, then close.\n"
        "No: stop it after the current chunk, then close.\n"
        "Cancel: keep the window open.",
        PromptButtons::YesNoCancel);
    m_midiTrans.ExtendDeadline(std::chrono::steady_clock::now() - asked);
    if (answer == PromptAnswer::Cancel) {
        m_bCloseAfterTransfer = false;
    } else if (answer == PromptAnswer::No) {
        m_midiTrans.RequestStop();
    }
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
