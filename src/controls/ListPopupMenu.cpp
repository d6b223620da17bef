#include "controls/ListPopupMenu.h"

#include <QAction>
#include <QMenu>

#include "controls/ResourceIds.h"

namespace korvana {

void BuildListPopupMenu(QMenu& menu, bool onRow) {
    if (onRow) {
        menu.addAction(QStringLiteral("Delete"))->setData(ID_POPUP_DELETE);
    }
    menu.addAction(QStringLiteral("Refresh"))->setData(ID_POPUP_REFRESH);
}

int TrackListPopupMenu(QWidget* owner, const QPoint& screenPos, bool onRow,
                       const QList<QAction*>& own) {
    QMenu menu(owner);
    BuildListPopupMenu(menu, onRow);
    if (!own.isEmpty()) {
        menu.addSeparator();
        menu.addActions(own);
    }
    const QAction* chosen = menu.exec(screenPos);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

void RunListPopupMenu(QWidget* owner, const QPoint& screenPos, bool onRow,
                      const std::function<void()>& onDelete, const std::function<void()>& onRefresh,
                      const QList<QAction*>& own) {
    switch (TrackListPopupMenu(owner, screenPos, onRow, own)) {
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
