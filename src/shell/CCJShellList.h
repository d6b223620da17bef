#pragma once

// The file list of the browser: the sub-folders and the MIDI files (names ending in ".MID" in
// any letter case) of the folder selected in the tree, with song name, size, type and time,
// sorted by the header's column. Rows can be opened, renamed and deleted.

#include "controls/CCJListCtrl.h"

namespace korvana {

class CCJShellTree;

class CCJShellList : public CCJListCtrl {
    Q_OBJECT

public:
    explicit CCJShellList(QWidget* parent = nullptr);

    void SetTreeCtrl(CCJShellTree* tree) { m_pTreeCtrl = tree; }

    // The five columns: Name, Song Name, Size, Type, Modified.
    using CCJListCtrl::BuildColumns;
    bool BuildColumns();

    // Rebuilds every row for a folder and sorts them by the current sort.
    bool PopulateList(const QString& folder);

    // Appends a row for an entry of the listed folder; -1 when it cannot be found.
    int AddItem(const QString& name);

    // Rebuilds the rows for the tree's selected folder.
    void Refresh();

    // Sorts by a column with its kind: names with folders first, song names and types as text,
    // sizes as numbers, times as dates.
    bool SortList(int column, bool ascending) override;

    // The folder the rows describe, as of the last rebuild.
    const QString& GetFolder() const { return m_strFolder; }
    // The path of a row's entry.
    QString RowPath(int row) const;

    // Double-click on a row: a folder is entered in the tree, a file opened with its program.
    void OnListDoubleClick(int row);
    // "Delete files?" with their names; on Yes the selected entries go to the trash, folders
    // with everything in them. The list is rebuilt either way.
    void OnDeleteFiles();
    // A name typed in place: the rename runs once the editor has closed.
    void OnEndLabelEdit(int row, const QString& text);
    // Renames an entry of the listed folder, then rebuilds the list. Refused, with a message
    // and no rebuild, when the new name is taken or is not a plain name within the folder.
    bool RenameEntry(const QString& oldName, const QString& newName);

    CCJShellTree* m_pTreeCtrl = nullptr;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QString m_strFolder;
};

}  // namespace korvana
