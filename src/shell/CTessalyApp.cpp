#include "shell/CTessalyApp.h"

#include <QTimer>

#include "controls/AppIcon.h"
#include "controls/ResourceIds.h"
#include "controls/StringTable.h"
#include "resources/KorvanaResources.h"
#include "shell/AppFolder.h"
#include "shell/CMainFrame.h"
#include "shell/CSplashWnd.h"
#include "shell/CTopRightView.h"
#include "shell/FramePanes.h"
#include "shell/KeyboardLink.h"

namespace korvana {

CTessalyApp::CTessalyApp(int& argc, char** argv) : QApplication(argc, argv) {
    // Names the per-user data folder that holds the repository when the program's own folder
    // cannot.
    setApplicationName(LoadResString(AFX_IDS_APP_TITLE));
    InitResources();
}

CTessalyApp::~CTessalyApp() = default;

void CTessalyApp::InitInstance() {
    m_pScopedPrompt = std::make_unique<ScopedPrompt>(m_prompt);
    setWindowIcon(LoadAppIcon());
    const QString repository = LocateRepositoryFolder();
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen();
    m_pMainFrame = std::make_unique<CMainFrame>(repository);
    AttachToWindow(m_pMainFrame->m_midiTrans, MakeWindowBackend(SimulatedKeyboardStore()));
    m_pMainFrame->show();
    // Files handed over by the file manager's "Open with" enter the repository as if dropped on
    // its list, once the window is up to show any refusal.
    const QStringList files = arguments().mid(1);
    if (!files.isEmpty()) {
        QTimer::singleShot(0, this, [this, files] {
            if (CTopRightView* view = FindTopRightView(m_pMainFrame.get())) {
                view->OnRepositoryDrop(files);
            }
        });
    }
}

}  // namespace korvana
