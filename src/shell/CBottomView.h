#pragma once

// The bottom row: the folder tree in the left third, the file list in the rest.

#include <QWidget>

namespace korvana {

class CDisabledCSplitterWnd;

class CBottomView : public QWidget {
    Q_OBJECT

public:
    explicit CBottomView(QWidget* parent = nullptr);

    // Rebuilds the file list; when the tree has a selected folder, rebuilds the tree and
    // selects that folder again.
    void RefreshBrowser();

    CDisabledCSplitterWnd* m_wndSplitter;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace korvana
