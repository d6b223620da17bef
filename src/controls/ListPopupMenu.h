#pragma once

// The right-click menu of the lists: "Delete" and "Refresh" over a row, "Refresh" alone over
// empty space.

#include <QList>
#include <QPoint>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace korvana {

// Fills an empty menu; each action's data() is its command id (ID_POPUP_DELETE,
// ID_POPUP_REFRESH).
void BuildListPopupMenu(QMenu& menu, bool onRow);

// Shows the menu at a screen position, with a list's own actions after a separator, and returns
// the chosen command id, or 0 when none (or one of the list's own actions, which runs itself).
int TrackListPopupMenu(QWidget* owner, const QPoint& screenPos, bool onRow,
                       const QList<QAction*>& own = {});

// Shows the menu and runs the list's own handler for the chosen command.
void RunListPopupMenu(QWidget* owner, const QPoint& screenPos, bool onRow,
                      const std::function<void()>& onDelete, const std::function<void()>& onRefresh,
                      const QList<QAction*>& own = {});

}  // namespace korvana
