#pragma once

// The help document in a window of the program's own, for where the platform has no program
// that opens it.

#include <QWidget>

class QTextBrowser;

namespace korvana {

class CHelpWnd : public QWidget {
    Q_OBJECT

public:
    // Shows the page (an HTML file) in the one help window, making it first if needed, and
    // brings the window to the front.
    static CHelpWnd* ShowHelp(const QString& page, QWidget* owner);

    QTextBrowser* m_browser;

private:
    explicit CHelpWnd(QWidget* owner);
};

}  // namespace korvana
