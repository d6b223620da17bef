#pragma once

// The command bar: six picture buttons. Connect and Refresh keep their places at the left,
// Copy Up, Copy Down, Help and About keep their distances from the right edge.

#include <QStringList>
#include <QWidget>
#include <string>
#include <vector>

#include "shell/TransferFiles.h"

namespace korvana {

class CGdipButton;
class CMidiTrans;

class CMiddleView : public QWidget {
    Q_OBJECT

public:
    explicit CMiddleView(QWidget* parent = nullptr);

    // Lets the user choose the keyboard's ports, connects and, on success, fills the slot list
    // and names the keyboard.
    void OnConnect();
    // Rebuilds the repository list and the file browser, and the slot list when connected; a
    // keyboard that does not answer is connected again on the ports of the last connect.
    void OnRefreshAll();
    // The files selected in the browser into the repository, each through the check.
    void OnCopyUp();
    // The songs selected in the repository into the browser's folder, without a check.
    void OnCopyDown();
    // Opens the help document with the desktop's program for it, or where there is none, in a
    // window of the program's own.
    void OnHelpButton();
    void OnAboutButton();

    // The browser's selected files (folders passed over), in row order.
    std::vector<TransferSource> GetSelectedBrowserFiles() const;

    CGdipButton* m_btnConnect;
    CGdipButton* m_btnRefresh;
    CGdipButton* m_btnCopyUp;
    CGdipButton* m_btnCopyDown;
    CGdipButton* m_btnHelp;
    CGdipButton* m_btnAbout;

    // The ports chosen in the device dialog; none before the first choice.
    int m_nInDevice = -1;
    int m_nOutDevice = -1;
    // The name the keyboard gave at the last successful connect, and its ports' names.
    std::string m_strDeviceName;
    QString m_strInName;
    QString m_strOutName;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool Reconnect(CMidiTrans& link);
    CGdipButton* AddButton(int normalPicture, int activePicture, const QString& tip);
};

}  // namespace korvana
