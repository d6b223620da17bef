#pragma once

// The top row: slot list, transfer pane and repository side by side. The transfer pane is
// always 110 pixels wide, the slot list gets a third of the width less 110, the repository
// the rest.

#include <QWidget>

namespace korvana {

class CDisabledCSplitterWnd;

class CTopView : public QWidget {
    Q_OBJECT

public:
    CTopView(const QString& repositoryFolder, QWidget* parent = nullptr);

    static constexpr int c_nMiddleColumnWidth = 110;
    // Below this width the row keeps its last layout.
    static constexpr int c_nNarrowestLayout = 301;

    CDisabledCSplitterWnd* m_wndSplitter;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace korvana
