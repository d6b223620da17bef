#include "shell/RepListCtrl.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "common/Prompt.h"
#include "controls/CCJSortClass.h"
#include "controls/ListPopupMenu.h"
#include "controls/ResourceIds.h"
#include "shell/CCJShell.h"
#include "shell/FileDeletion.h"
#include "shell/SongImageRow.h"

namespace korvana {

namespace {

QStringList LocalPaths(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(url.toLocalFile());
        }
    }
    return paths;
}

}  // namespace

RepListCtrl::RepListCtrl(QWidget* parent) : CCJListCtrl(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OnListDoubleClick(indexOfTopLevelItem(item)); });
}

int RepListCtrl::AddFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return -1;
    }
    if (IsSongImageName(info.fileName())) {
        return AddRow(SongImageRowTexts(info), SongImageIcon());
    }
    return AddRow(CCJShell::MidiRowTexts(info), CCJShell::GetIcon(info));
}

void RepListCtrl::OnDeleteFiles() {
    const QList<int> rows = GetSelectedRows();
    if (rows.isEmpty()) {
        return;
    }
    QStringList paths;
    for (int row : rows) {
        paths.push_back(CCJShell::JoinPath(m_strFolder, GetItemText(row, 0)));
    }
    AskAndDeleteEntries(paths);
    emit refreshRequested();
}

bool RepListCtrl::SortList(int column, bool ascending) {
    const auto& kinds = CCJShell::c_midiSortKinds;
    if (column < 0 || column >= static_cast<int>(kinds.size())) {
        return false;
    }
    CCJSortClass(this, column, m_strFolder).Sort(ascending, kinds[column]);
    return true;
}

void RepListCtrl::OnRefresh() {
    emit refreshRequested();
}

void RepListCtrl::OnListDoubleClick(int row) {
    if (row >= 0) {
        CCJShell::ShellOpen(CCJShell::JoinPath(m_strFolder, GetItemText(row, 0)));
    }
}

void RepListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    RunListPopupMenu(
        this, event->globalPos(), RowAt(event->pos()) >= 0, [this] { OnDeleteFiles(); },
        [this] { OnRefresh(); });
}

void RepListCtrl::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalPaths(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void RepListCtrl::dragMoveEvent(QDragMoveEvent* event) {
    if (!LocalPaths(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void RepListCtrl::dropEvent(QDropEvent* event) {
    const QStringList paths = LocalPaths(event->mimeData());
    if (paths.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // The work runs after the drop has returned, so the file manager is not held meanwhile.
    QMetaObject::invokeMethod(
        this, [this, paths] { emit filesDropped(paths); }, Qt::QueuedConnection);
}

}  // namespace korvana
