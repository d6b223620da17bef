#include "shell/CCJShellList.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <array>

#include "common/Prompt.h"
#include "controls/CCJSortClass.h"
#include "controls/ListPopupMenu.h"
#include "controls/ResourceIds.h"
#include "shell/CCJShell.h"
#include "shell/CCJShellTree.h"
#include "shell/ColumnWidths.h"
#include "shell/FileDeletion.h"

namespace korvana {

namespace {

constexpr std::array kColumnWidths{150, 100, 55, 75, 110};
constexpr std::array kColumnTitles{IDS_COLUMN_NAME, IDS_COLUMN_SONG_NAME, IDS_COLUMN_SIZE,
                                   IDS_COLUMN_TYPE, IDS_COLUMN_MODIFIED};

// A name that stays inside its folder: not empty, no separator, not "." or "..".
bool IsPlainName(const QString& name) {
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QDir::separator());
}

}  // namespace

CCJShellList::CCJShellList(QWidget* parent) : CCJListCtrl(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    EnableLabelEditing(true);
    connect(this, &CCJListCtrl::labelEdited, this, &CCJShellList::OnEndLabelEdit);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OnListDoubleClick(indexOfTopLevelItem(item)); });
}

bool CCJShellList::BuildColumns() {
    if (!BuildColumns(FontScaledWidths(kColumnWidths, font()), kColumnTitles)) {
        return false;
    }
    CCJShell::KeepMidiColumnsWhole(*this);
    return true;
}

bool CCJShellList::PopulateList(const QString& folder) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setUpdatesEnabled(false);
    DeleteAllItems();
    m_strFolder = folder;
    const QDir::Filters filters = QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(filters, QDir::NoSort)) {
        if (entry.isDir() || entry.fileName().toUpper().endsWith(QStringLiteral(".MID"))) {
            AddItem(entry.fileName());
        }
    }
    SortList(m_nSortColumn, m_bAscending);
    setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
    return true;
}

int CCJShellList::AddItem(const QString& name) {
    const QFileInfo info(CCJShell::JoinPath(m_strFolder, name));
    if (!info.exists()) {
        return -1;
    }
    const int row = AddRow(CCJShell::MidiRowTexts(info), CCJShell::GetIcon(info));
    SetItemData(row, info.isDir());
    return row;
}

void CCJShellList::Refresh() {
    const QString folder =
        m_pTreeCtrl != nullptr ? m_pTreeCtrl->GetSelectedFolderPath() : m_strFolder;
    if (!folder.isEmpty()) {
        PopulateList(folder);
    }
}

bool CCJShellList::SortList(int column, bool ascending) {
    const auto& kinds = CCJShell::c_midiSortKinds;
    if (column < 0 || column >= static_cast<int>(kinds.size())) {
        return false;
    }
    CCJSortClass(this, column, m_strFolder).Sort(ascending, kinds[column]);
    return true;
}

QString CCJShellList::RowPath(int row) const {
    return CCJShell::JoinPath(m_strFolder, GetItemText(row, 0));
}

void CCJShellList::OnListDoubleClick(int row) {
    if (row < 0) {
        return;
    }
    const QString path = RowPath(row);
    const bool folder = GetItemData(row).toBool();
    if (folder && !QFileInfo(path).isDir()) {
        Prompt().Message("Folder is not exist!");
        Refresh();
    } else if (folder) {
        if (m_pTreeCtrl != nullptr) {
            m_pTreeCtrl->TunnelTree(path);
        }
    } else if (!CCJShell::PathExists(path)) {
        Prompt().Message("File is not exist!");
        Refresh();
    } else {
        CCJShell::ShellOpen(path);
    }
}

void CCJShellList::OnDeleteFiles() {
    const QList<int> rows = GetSelectedRows();
    if (rows.isEmpty()) {
        return;
    }
    QStringList paths;
    for (int row : rows) {
        paths.push_back(RowPath(row));
    }
    AskAndDeleteEntries(paths);
    PopulateList(m_strFolder);
}

void CCJShellList::OnEndLabelEdit(int row, const QString& text) {
    const QString oldName = GetItemText(row, 0);
    // Rebuilding the rows while the editor still commits would pull its row from under it.
    QMetaObject::invokeMethod(
        this, [this, oldName, text] { RenameEntry(oldName, text); }, Qt::QueuedConnection);
}

bool CCJShellList::RenameEntry(const QString& oldName, const QString& newName) {
    if (newName != oldName) {
        const QString target = CCJShell::JoinPath(m_strFolder, newName);
        // Never over an existing entry, and never out of the folder.
        if (!IsPlainName(newName) || CCJShell::PathExists(target) ||
            !QDir(m_strFolder).rename(oldName, newName)) {
            Prompt().Message(
                (oldName + QStringLiteral(" cannot be renamed to ") + newName).toStdString(), {},
                PromptIcon::Error);
            return false;
        }
    }
    PopulateList(m_strFolder);
    return true;
}

void CCJShellList::contextMenuEvent(QContextMenuEvent* event) {
    RunListPopupMenu(
        this, event->globalPos(), RowAt(event->pos()) >= 0, [this] { OnDeleteFiles(); },
        [this] { Refresh(); });
}

}  // namespace korvana
