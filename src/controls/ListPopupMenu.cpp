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

}  // namespace korvana
