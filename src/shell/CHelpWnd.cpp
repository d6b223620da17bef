#include "shell/CHelpWnd.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "controls/ResourceIds.h"
#include "controls/StringTable.h"

namespace korvana {

CHelpWnd::CHelpWnd(QWidget* owner) : QWidget(owner, Qt::Window), m_browser(new QTextBrowser) {
    setWindowTitle(LoadResString(AFX_IDS_APP_TITLE) + QStringLiteral(" Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Links to the web open in the desktop's browser; the page's own anchors stay here.
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 480);
}

CHelpWnd* CHelpWnd::ShowHelp(const QString& page, QWidget* owner) {
    static QPointer<CHelpWnd> window;
    if (window == nullptr) {
        window = new CHelpWnd(owner);
    }
    window->m_browser->setSource(QUrl::fromLocalFile(page));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace korvana
