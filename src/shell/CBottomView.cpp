#include "shell/CBottomView.h"

#include <QFileInfo>
#include <QResizeEvent>

#include "shell/CBottomLeftView.h"
#include "shell/CBottomRightView.h"
#include "shell/CCJShellList.h"
#include "shell/CCJShellTree.h"
#include "shell/CDisabledCSplitterWnd.h"
#include "shell/WindowSettings.h"

namespace korvana {

CBottomView::CBottomView(QWidget* parent)
    : QWidget(parent), m_wndSplitter(new CDisabledCSplitterWnd(Qt::Horizontal, this)) {
    auto* treeView = new CBottomLeftView;
    auto* listView = new CBottomRightView;
    m_wndSplitter->AddPane(treeView);
    m_wndSplitter->AddPane(listView);
    listView->m_shellList->SetTreeCtrl(treeView->m_shellTree);
    treeView->m_shellTree->SetListCtrl(listView->m_shellList);
    // The folder of the last run, if it is still there.
    const QString folder = WindowSettings::LoadBrowserFolder();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        treeView->m_shellTree->TunnelTree(folder);
    }
}

void CBottomView::RefreshBrowser() {
    auto* tree = qobject_cast<CBottomLeftView*>(m_wndSplitter->widget(0))->m_shellTree;
    auto* list = qobject_cast<CBottomRightView*>(m_wndSplitter->widget(1))->m_shellList;
    const QString folder = tree->GetSelectedFolderPath();
    if (folder.isEmpty()) {
        list->Refresh();
        return;
    }
    // Selecting the folder again rebuilds the list, once.
    tree->RefreshShellTree(true);
    tree->TunnelTree(folder);
}

void CBottomView::resizeEvent(QResizeEvent* event) {
    const int width = event->size().width();
    m_wndSplitter->setGeometry(0, 0, width, event->size().height());
    m_wndSplitter->SetPaneSizes({width / 3});
}

}  // namespace korvana
