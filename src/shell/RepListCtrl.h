#pragma once

// The repository list: one row per song file of the repository folder, with its song name,
// size, type and time. It accepts files dropped from the file manager and asks its view to do
// the work: rebuilds and drops are the view's.

#include <QStringList>

#include "CCJListCtrl.h"

namespace korvana {

class RepListCtrl : public CCJListCtrl {
    Q_OBJECT

public:
    explicit RepListCtrl(QWidget* parent = nullptr);

    // Appends a row for a file; -1 when the file cannot be found.
    int AddFile(const QString& path);

    // Right-click menu entries. Delete asks "Delete files?" and deletes the selected files on
    // Yes; both end with a request for a rebuild.
    void OnDeleteFiles();
    void OnRefresh();

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
