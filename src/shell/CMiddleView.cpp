#include "shell/CMiddleView.h"

#include <QFileInfo>
#include <QPointer>
#include <QResizeEvent>

#include "common/Prompt.h"
#include "controls/CGdipButton.h"
#include "controls/ResourceIds.h"
#include "device/CMidiTrans.h"
#include "shell/AppFolder.h"
#include "shell/CAboutDlg.h"
#include "shell/CBottomRightView.h"
#include "shell/CBottomView.h"
#include "shell/CCJShell.h"
#include "shell/CCJShellList.h"
#include "shell/CCJShellTree.h"
#include "shell/CHelpWnd.h"
#include "shell/CMainFrame.h"
#include "shell/CMidiDeviceDlg.h"
#include "shell/CTopLeftView.h"
#include "shell/CTopRightView.h"
#include "shell/FramePanes.h"
#include "shell/WindowSettings.h"

namespace korvana {

namespace {

constexpr int kButtonTop = 18;
constexpr int kButtonHeight = 40;

// Copy Up and Copy Down need a folder on each side; the root "/" is a folder like any other.
bool IsUsableFolder(const QString& folder) {
    return !folder.isEmpty();
}

// The name a keyboard gives itself (8-bit text), without the control characters it may hold.
QString DeviceNameText(const std::string& name) {
    QString text = SlotText(name);
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return text.trimmed();
}

}  // namespace

CMiddleView::CMiddleView(QWidget* parent)
    : QWidget(parent),
      m_btnConnect(AddButton(IDB_CONNECT_NORMAL, IDB_CONNECT_ACTIVE, QStringLiteral("Connect"))),
      m_btnRefresh(AddButton(IDB_REFRESH_NORMAL, IDB_REFRESH_ACTIVE, QStringLiteral("Refresh"))),
      m_btnCopyUp(AddButton(IDB_COPY_UP_NORMAL, IDB_COPY_UP_ACTIVE, QStringLiteral("Copy Up"))),
      m_btnCopyDown(
          AddButton(IDB_COPY_DOWN_NORMAL, IDB_COPY_DOWN_ACTIVE, QStringLiteral("Copy Down"))),
      m_btnHelp(AddButton(IDB_HELP_NORMAL, IDB_HELP_ACTIVE, QStringLiteral("Help"))),
      m_btnAbout(AddButton(IDB_ABOUT_NORMAL, IDB_ABOUT_ACTIVE, QStringLiteral("About"))) {
    setAutoFillBackground(true);
    connect(m_btnConnect, &CGdipButton::clicked, this, &CMiddleView::OnConnect);
    connect(m_btnRefresh, &CGdipButton::clicked, this, &CMiddleView::OnRefreshAll);
    connect(m_btnCopyUp, &CGdipButton::clicked, this, &CMiddleView::OnCopyUp);
    connect(m_btnCopyDown, &CGdipButton::clicked, this, &CMiddleView::OnCopyDown);
    connect(m_btnHelp, &CGdipButton::clicked, this, &CMiddleView::OnHelpButton);
    connect(m_btnAbout, &CGdipButton::clicked, this, &CMiddleView::OnAboutButton);
}

CGdipButton* CMiddleView::AddButton(int normalPicture, int activePicture, const QString& tip) {
    auto* button = new CGdipButton(this);
    button->LoadImages(normalPicture, activePicture);
    button->SetToolTipText(tip);
    return button;
}

void CMiddleView::resizeEvent(QResizeEvent* event) {
    const int width = event->size().width();
    m_btnConnect->setGeometry(30, kButtonTop, 110, kButtonHeight);
    m_btnRefresh->setGeometry(180, kButtonTop, 110, kButtonHeight);
    m_btnCopyUp->setGeometry(width - 450, kButtonTop, 100, kButtonHeight);
    m_btnCopyDown->setGeometry(width - 320, kButtonTop, 110, kButtonHeight);
    m_btnHelp->setGeometry(width - 190, kButtonTop, 70, kButtonHeight);
    m_btnAbout->setGeometry(width - 100, kButtonTop, 70, kButtonHeight);
}

void CMiddleView::OnConnect() {
    CMidiTrans* link = FindMidiTrans(this);
    if (link == nullptr || !link->IsIdle()) {
        return;
    }
    const WindowSettings::Ports remembered = WindowSettings::LoadPorts();
    CMidiDeviceDlg dialog(*link, m_nInDevice, m_nOutDevice, window(), remembered.strIn,
                          remembered.strOut);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    auto* frame = qobject_cast<CMainFrame*>(window());
    if (!link->ConnectDevice(m_nInDevice, m_strDeviceName, m_nOutDevice)) {
        if (frame != nullptr) {
            frame->ShowDeviceName({});
        }
        return;
    }
    if (frame != nullptr) {
        frame->ShowDeviceName(DeviceNameText(m_strDeviceName));
    }
    m_strInName = dialog.m_inNames.value(m_nInDevice);
    m_strOutName = dialog.m_outNames.value(m_nOutDevice);
    WindowSettings::SavePorts({m_strInName, m_strOutName});
    if (CTopLeftView* slotView = FindTopLeftView(this)) {
        slotView->Refresh();
    }
    Prompt().Message(m_strDeviceName + " Connected!");
}

void CMiddleView::OnRefreshAll() {
    if (CTopRightView* repository = FindTopRightView(this)) {
        repository->RefreshRepository();
    }
    if (CBottomView* browser = FindBottomView(this)) {
        browser->RefreshBrowser();
    }
    CMidiTrans* link = FindMidiTrans(this);
    CTopLeftView* slotView = FindTopLeftView(this);
    if (link == nullptr || !link->IsConnected() || slotView == nullptr) {
        return;
    }
    // A keyboard that was unplugged and is back needs its ports opened again.
    if (!slotView->ReadSlots() && Reconnect(*link)) {
        slotView->Refresh();
    }
}

bool CMiddleView::Reconnect(CMidiTrans& link) {
    link.EnumDevices();
    auto position = [](const std::vector<MidiDevEntry>& ports, const QString& name) {
        for (std::size_t i = 0; i < ports.size(); ++i) {
            if (QString::fromStdString(ports[i].strName) == name) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    const int in = position(link.Device().m_InDevs, m_strInName);
    const int out = position(link.Device().m_OutDevs, m_strOutName);
    if (in < 0 || out < 0) {
        Prompt().Message("Device cannot be opened!");
        return false;
    }
    m_nInDevice = in;
    m_nOutDevice = out;
    return link.ConnectDevice(m_nInDevice, m_strDeviceName, m_nOutDevice);
}

std::vector<TransferSource> CMiddleView::GetSelectedBrowserFiles() const {
    std::vector<TransferSource> files;
    const CBottomRightView* browser = FindBottomRightView(this);
    if (browser == nullptr) {
        return files;
    }
    const CCJShellList* list = browser->m_shellList;
    for (int row : list->GetSelectedRows()) {
        const QString path = list->RowPath(row);
        if (!QFileInfo(path).isDir()) {
            files.push_back({path, list->GetItemText(row, 0)});
        }
    }
    return files;
}

void CMiddleView::OnCopyUp() {
    CTopRightView* repository = FindTopRightView(this);
    const CBottomRightView* browser = FindBottomRightView(this);
    if (repository == nullptr || browser == nullptr) {
        return;
    }
    const std::vector<TransferSource> files = GetSelectedBrowserFiles();
    if (!files.empty() && IsUsableFolder(browser->m_shellList->GetFolder()) &&
        IsUsableFolder(repository->m_strRepository)) {
        repository->AddSongs(files);
    }
}

void CMiddleView::OnCopyDown() {
    const CTopRightView* repository = FindTopRightView(this);
    const CBottomRightView* browser = FindBottomRightView(this);
    if (repository == nullptr || browser == nullptr) {
        return;
    }
    CCJShellList* list = browser->m_shellList;
    const QString target =
        list->m_pTreeCtrl != nullptr ? list->m_pTreeCtrl->GetSelectedFolderPath() : QString();
    std::vector<TransferSource> songs;
    for (const QString& name : repository->GetSelectedFiles()) {
        songs.push_back({CCJShell::JoinPath(repository->m_strRepository, name), name});
    }
    if (songs.empty() || !IsUsableFolder(target) || !IsUsableFolder(repository->m_strRepository)) {
        return;
    }
    TransferFiles(songs, target, {});
    list->Refresh();
}

void CMiddleView::OnHelpButton() {
    // The answer may come after the window has gone.
    CCJShell::ShellOpen(GetDataFolder() + HelpDocumentName(), [view = QPointer<QWidget>(this)] {
        if (view != nullptr) {
            CHelpWnd::ShowHelp(GetDataFolder() + QStringLiteral("Help.html"), view->window());
        }
    });
}

void CMiddleView::OnAboutButton() {
    CAboutDlg about(window());
    about.exec();
    // None of the buttons keeps the hover face it had when the box opened.
    for (CGdipButton* button :
         {m_btnConnect, m_btnRefresh, m_btnCopyUp, m_btnCopyDown, m_btnHelp, m_btnAbout}) {
        button->m_bHover = false;
        button->update();
    }
}

}  // namespace korvana
