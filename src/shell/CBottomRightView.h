#pragma once

#include <QWidget>

namespace korvana {

class CCJShellList;

// The file list's pane; the list always fills it.
class CBottomRightView : public QWidget {
    Q_OBJECT

public:
    explicit CBottomRightView(QWidget* parent = nullptr);

    CCJShellList* m_shellList;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace korvana
