#pragma once

// The application: the prompt of the window, the keyboard link, the splash, the main frame and
// its repository. Its only command-line arguments (Qt's platform options aside) are the files a
// file manager opens with it; it writes no settings.

#include <QApplication>
#include <memory>

#include "shell/QtPrompt.h"

namespace korvana {

class CMainFrame;

class CTessalyApp : public QApplication {
    Q_OBJECT

public:
    CTessalyApp(int& argc, char** argv);
    ~CTessalyApp() override;

    // Shows the splash, then makes the main window and shows it.
    void InitInstance();

private:
    QtPrompt m_prompt;
    std::unique_ptr<ScopedPrompt> m_pScopedPrompt;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};

}  // namespace korvana
