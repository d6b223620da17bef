#include "shell/CDisabledCSplitterWnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSplitterHandle>
#include <algorithm>

namespace korvana {

namespace {

// A bar that ignores the mouse, so it can be neither dragged nor used to start a resize.
class FixedHandle : public QSplitterHandle {
public:
    FixedHandle(Qt::Orientation orientation, QSplitter* parent)
        : QSplitterHandle(orientation, parent) {
        setCursor(Qt::ArrowCursor);
    }

protected:
    // A plain bar: grip marks would promise a drag that never happens.
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter(this).fillRect(rect(), palette().color(QPalette::Window));
    }
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
};

}  // namespace

CDisabledCSplitterWnd::CDisabledCSplitterWnd(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {
    setHandleWidth(c_nBarWidth);
    setChildrenCollapsible(false);
    setOpaqueResize(true);
}

void CDisabledCSplitterWnd::AddPane(QWidget* pane) {
    pane->setMinimumSize(1, 1);
    addWidget(pane);
}

void CDisabledCSplitterWnd::SetPaneSizes(const std::vector<int>& leading) {
    const int total = orientation() == Qt::Horizontal ? width() : height();
    int left = total - c_nBarWidth * (count() - 1);
    QList<int> sizes;
    for (int size : leading) {
        sizes.push_back(std::max(size, 0));
        left -= sizes.back();
    }
    sizes.push_back(std::max(left, 0));
    setSizes(sizes);
}

QSplitterHandle* CDisabledCSplitterWnd::createHandle() {
    return new FixedHandle(orientation(), this);
}

}  // namespace korvana
