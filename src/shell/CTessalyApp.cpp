#include "CTessalyApp.h"

#include "AppFolder.h"
#include "AppIcon.h"
#include "CMainFrame.h"
#include "CMidiDevice.h"
#include "CSplashWnd.h"
#include "KeyboardLink.h"
#include "KorvanaResources.h"
#include "ResourceIds.h"
#include "StringTable.h"

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
    // The views' transfer objects end the device's life with the window.
    AttachToWindow(*CMidiDevice::GetInstance(), MakeWindowBackend(SimulatedKeyboardStore()));
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen();
    m_pMainFrame = std::make_unique<CMainFrame>(repository);
    m_pMainFrame->show();
}

}  // namespace korvana
