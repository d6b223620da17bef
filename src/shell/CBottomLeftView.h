#pragma once

#include <QWidget>

namespace korvana {

class CCJShellTree;

// The folder tree's pane; the tree always fills it.
class CBottomLeftView : public QWidget {
    Q_OBJECT

public:
    explicit CBottomLeftView(QWidget* parent = nullptr);

    CCJShellTree* m_shellTree;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace korvana
