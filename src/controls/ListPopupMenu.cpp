#include "ListPopupMenu.h"

#include <QAction>
#include <QMenu>

#include "ResourceIds.h"

namespace korvana {

void BuildListPopupMenu(QMenu& menu, bool onRow) {
    if (onRow) {
        menu.addAction(QStringLiteral("Delete"))->setData(ID_POPUP_DELETE);
    }
    menu.addAction(QStringLiteral("Refresh"))->setData(ID_POPUP_REFRESH);
}

int TrackListPopupMenu(QWidget* owner, const QPoint& screenPos, bool onRow) {
    QMenu menu(owner);
    BuildListPopupMenu(menu, onRow);
    const QAction* chosen = menu.exec(screenPos);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

void RunListPopupMenu(QWidget* owner, const QPoint& screenPos, bool onRow,
                      const std::function<void()>& onDelete,
                      const std::function<void()>& onRefresh) {
    switch (TrackListPopupMenu(owner, screenPos, onRow)) {
        case ID_POPUP_DELETE:
            onDelete();
            break;
        case ID_POPUP_REFRESH:
            onRefresh();
            break;
        default:
            break;
    }
}

}  // namespace korvana
