#include "shell/FramePanes.h"

#include "shell/CBottomLeftView.h"
#include "shell/CBottomRightView.h"
#include "shell/CBottomView.h"
#include "shell/CDisabledCSplitterWnd.h"
#include "shell/CMainFrame.h"
#include "shell/CMiddleView.h"
#include "shell/CTopLeftView.h"
#include "shell/CTopMiddleView.h"
#include "shell/CTopRightView.h"
#include "shell/CTopView.h"

namespace korvana {

namespace {

CMainFrame* Frame(const QWidget* from) {
    return from != nullptr ? qobject_cast<CMainFrame*>(from->window()) : nullptr;
}

template <class View>
View* FramePane(const QWidget* from, int row) {
    const CMainFrame* frame = Frame(from);
    if (frame == nullptr || frame->m_wndSplitter->count() <= row) {
        return nullptr;
    }
    return qobject_cast<View*>(frame->m_wndSplitter->widget(row));
}

template <class View, class Row>
View* RowPane(const Row* rowView, int column) {
    if (rowView == nullptr || rowView->m_wndSplitter->count() <= column) {
        return nullptr;
    }
    return qobject_cast<View*>(rowView->m_wndSplitter->widget(column));
}

}  // namespace

CTopView* FindTopView(const QWidget* from) {
    return FramePane<CTopView>(from, 0);
}

CMiddleView* FindMiddleView(const QWidget* from) {
    return FramePane<CMiddleView>(from, 1);
}

CBottomView* FindBottomView(const QWidget* from) {
    return FramePane<CBottomView>(from, 2);
}

CTopLeftView* FindTopLeftView(const QWidget* from) {
    return RowPane<CTopLeftView>(FindTopView(from), 0);
}

CTopMiddleView* FindTopMiddleView(const QWidget* from) {
    return RowPane<CTopMiddleView>(FindTopView(from), 1);
}

CTopRightView* FindTopRightView(const QWidget* from) {
    return RowPane<CTopRightView>(FindTopView(from), 2);
}

CBottomLeftView* FindBottomLeftView(const QWidget* from) {
    return RowPane<CBottomLeftView>(FindBottomView(from), 0);
}

CBottomRightView* FindBottomRightView(const QWidget* from) {
    return RowPane<CBottomRightView>(FindBottomView(from), 1);
}

CMidiTrans* FindMidiTrans(const QWidget* from) {
    CMainFrame* frame = Frame(from);
    return frame != nullptr ? &frame->m_midiTrans : nullptr;
}

}  // namespace korvana
