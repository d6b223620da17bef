#pragma once

// The transfer pane between the slot list and the repository: the Download button and the
// progress bar of a send. Sending needs the keyboard link; until it exists here the button
// shows but sends nothing and the bar stays hidden.

#include <QWidget>

namespace korvana {

class CGdipButton;
class CXProgressCtrl;

class CTopMiddleView : public QWidget {
    Q_OBJECT

public:
    explicit CTopMiddleView(QWidget* parent = nullptr);

    CGdipButton* m_btnSend;
    CXProgressCtrl* m_progress;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace korvana
