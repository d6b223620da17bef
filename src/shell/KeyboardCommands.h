#pragma once

// While a send, fetch, backup or restore runs, the window's commands that would talk to the
// keyboard are disabled, and so greyed, rather than silently ignored: Connect and Refresh, the
// Download button, Upload, and the slot list with its menu. They come back at the end.

#include <QList>
#include <QPointer>

class QAction;
class QWidget;

namespace korvana {

class KeyboardCommandsDisabled {
public:
    // Any widget of the main frame finds the others.
    explicit KeyboardCommandsDisabled(const QWidget* anyPane);
    ~KeyboardCommandsDisabled();
    KeyboardCommandsDisabled(const KeyboardCommandsDisabled&) = delete;
    KeyboardCommandsDisabled& operator=(const KeyboardCommandsDisabled&) = delete;

private:
    // Only what was enabled before is enabled again.
    QList<QPointer<QWidget>> m_widgets;
    QList<QPointer<QAction>> m_actions;
};

}  // namespace korvana
