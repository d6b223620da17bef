#pragma once

// The keyboard's pane: the list of its song slots. The slots are read once the keyboard is
// connected; until the keyboard link exists here, the list stays empty.

#include <QWidget>

namespace korvana {

class CCJListCtrl;

class CTopLeftView : public QWidget {
    Q_OBJECT

public:
    explicit CTopLeftView(QWidget* parent = nullptr);

    CCJListCtrl* m_wndDevList;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace korvana
