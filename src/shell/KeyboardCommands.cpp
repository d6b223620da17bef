#include "KeyboardCommands.h"

#include <QAction>
#include <QWidget>

#include "CGdipButton.h"
#include "CMiddleView.h"
#include "CTopLeftView.h"
#include "CTopMiddleView.h"
#include "DevListCtrl.h"
#include "FramePanes.h"

namespace korvana {

KeyboardCommandsDisabled::KeyboardCommandsDisabled(const QWidget* anyPane) {
    QList<QWidget*> widgets;
    QList<QAction*> actions;
    if (CMiddleView* bar = FindMiddleView(anyPane)) {
        widgets << bar->m_btnConnect << bar->m_btnRefresh;
    }
    if (CTopLeftView* slotView = FindTopLeftView(anyPane)) {
        widgets << slotView->m_wndDevList;
    }
    if (CTopMiddleView* transfer = FindTopMiddleView(anyPane)) {
        widgets << transfer->m_btnSend;
        actions << transfer->actions();
    }
    for (QWidget* widget : widgets) {
        if (widget->isEnabled()) {
            widget->setEnabled(false);
            m_widgets.push_back(widget);
        }
    }
    for (QAction* action : actions) {
        if (action->isEnabled()) {
            action->setEnabled(false);
            m_actions.push_back(action);
        }
    }
}

KeyboardCommandsDisabled::~KeyboardCommandsDisabled() {
    for (const QPointer<QWidget>& widget : m_widgets) {
        if (widget) {
            widget->setEnabled(true);
        }
    }
    for (const QPointer<QAction>& action : m_actions) {
        if (action) {
            action->setEnabled(true);
        }
    }
}

}  // namespace korvana
