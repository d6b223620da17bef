#pragma once

// The repository list: one row per song file of the repository folder, with its song name,
// size, type and time. Names are not edited in place: a song is renamed nowhere. It accepts
// files dropped from the file manager and asks its view to do the work: rebuilds and drops are
// the view's.

#include <QStringList>

#include "controls/CCJListCtrl.h"

namespace korvana {

class RepListCtrl : public CCJListCtrl {
    Q_OBJECT

public:
    explicit RepListCtrl(QWidget* parent = nullptr);

    // Appends a row for a file; -1 when the file cannot be found.
    int AddFile(const QString& path);

    // Right-click menu entries. Delete asks "Delete files?" with their names and moves the
    // selected files to the trash on Yes; both end with a request for a rebuild.
    void OnDeleteFiles();
    void OnRefresh();

    // Sorts by a column as the file browser does: names, song names and types as text, sizes
    // as numbers, times as dates.
    bool SortList(int column, bool ascending) override;

    // Double-click on a row: opens the file with its associated program.
    void OnListDoubleClick(int row);

    // The folder whose files the list shows, ending in '/'.
    QString m_strFolder;

signals:
    // The list asks its view to rebuild it.
    void refreshRequested();
    // Files were dropped on the list (local paths, in the order of the drop).
    void filesDropped(const QStringList& paths);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

}  // namespace korvana
