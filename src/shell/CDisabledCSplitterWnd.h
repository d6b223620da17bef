#pragma once

// A splitter whose bars the user cannot move: only the program sets the sizes of its panes.

#include <QSplitter>
#include <vector>

namespace korvana {

class CDisabledCSplitterWnd : public QSplitter {
    Q_OBJECT

public:
    // Width of the bar between two panes, in pixels.
    static constexpr int c_nBarWidth = 4;

    explicit CDisabledCSplitterWnd(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Adds a pane. Panes may shrink to a single pixel; the layout rules decide their sizes.
    void AddPane(QWidget* pane);

    // Sizes the panes so that, with the bars, they fill the splitter exactly: every pane but the
    // last gets its size, the last one what is left (at least 0).
    void SetPaneSizes(const std::vector<int>& leading);

protected:
    QSplitterHandle* createHandle() override;
};

}  // namespace korvana
