#pragma once

// Views reach each other only through the main frame's panes: the frame's row, then the column
// of that row's splitter, each step checked for the class expected there. Any widget of the
// window can ask; the answer is null outside a complete frame.

class QWidget;

namespace korvana {

class CBottomLeftView;
class CMidiTrans;
class CBottomRightView;
class CBottomView;
class CMiddleView;
class CTopLeftView;
class CTopMiddleView;
class CTopRightView;
class CTopView;

CTopView* FindTopView(const QWidget* from);
CMiddleView* FindMiddleView(const QWidget* from);
CBottomView* FindBottomView(const QWidget* from);
CTopLeftView* FindTopLeftView(const QWidget* from);
CTopMiddleView* FindTopMiddleView(const QWidget* from);
CTopRightView* FindTopRightView(const QWidget* from);
CBottomLeftView* FindBottomLeftView(const QWidget* from);
CBottomRightView* FindBottomRightView(const QWidget* from);
// The frame's link to the keyboard.
CMidiTrans* FindMidiTrans(const QWidget* from);

}  // namespace korvana
