#include "CTopMiddleView.h"

#include <QAction>
#include <QFileInfo>
#include <QPointer>
#include <QResizeEvent>
#include <algorithm>

#include "CCJShell.h"
#include "CGdipButton.h"
#include "CMainFrame.h"
#include "CMidiTrans.h"
#include "CTopLeftView.h"
#include "CTopRightView.h"
#include "CXProgressCtrl.h"
#include "DevListCtrl.h"
#include "FramePanes.h"
#include "PrivateConversion.h"
#include "Prompt.h"
#include "ResourceIds.h"
#include "SlotFileName.h"

namespace korvana {

namespace {

// The bar's range is a 16-bit number.
constexpr std::size_t kMaxProgressRange = 0xFFFF;

// The whole percent a position stands for (0 for an empty range).
int Percent(int position, int top) {
    return top > 0 ? static_cast<int>(position * 100.0 / top) : 0;
}

// Greys the keyboard's commands for as long as a transfer runs.
class TransferScope {
public:
    explicit TransferScope(QWidget* from) : m_pFrame(qobject_cast<CMainFrame*>(from->window())) {
        if (m_pFrame != nullptr) {
            m_pFrame->EnableKeyboardCommands(false);
        }
    }
    ~TransferScope() {
        if (m_pFrame != nullptr) {
            m_pFrame->EnableKeyboardCommands(true);
        }
    }
    TransferScope(const TransferScope&) = delete;
    TransferScope& operator=(const TransferScope&) = delete;

private:
    QPointer<CMainFrame> m_pFrame;
};

const QString kKeyboardGone = QStringLiteral(
    "\nThe keyboard stopped answering, or its port is gone. Press Refresh once it is back.");

bool Confirmed(const char* question) {
    return Prompt().Ask(question, PromptButtons::YesNo) == PromptAnswer::Yes;
}

}  // namespace

CTopMiddleView::CTopMiddleView(QWidget* parent)
    : QWidget(parent), m_btnSend(new CGdipButton(this)), m_progress(new CXProgressCtrl(this)) {
    setAutoFillBackground(true);
    m_btnSend->LoadImages(IDB_DOWNLOAD_NORMAL, IDB_DOWNLOAD_ACTIVE);
    m_btnSend->SetToolTipText(QStringLiteral("Download"));
    m_progress->hide();
    connect(m_btnSend, &CGdipButton::clicked, this, &CTopMiddleView::OnSend);

    m_fetch = new QAction(QStringLiteral("Upload"), this);
    m_fetch->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    m_fetch->setShortcutContext(Qt::WindowShortcut);
    connect(m_fetch, &QAction::triggered, this, &CTopMiddleView::OnFetch);
    addAction(m_fetch);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CTopMiddleView::resizeEvent(QResizeEvent* event) {
    const int width = event->size().width();
    m_btnSend->setGeometry(10, 35, width + 2, 50);
    m_progress->setGeometry(14, 105, width - 16, 20);
}

void CTopMiddleView::OnSend() {
    const CMidiTrans* link = FindMidiTrans(this);
    CTopRightView* repository = FindTopRightView(this);
    CTopLeftView* slotView = FindTopLeftView(this);
    if (link == nullptr || !link->CanTalkToKeyboard() || repository == nullptr ||
        slotView == nullptr) {
        return;
    }
    const QStringList files = repository->GetSelectedFiles();
    if (files.isEmpty()) {
        return;
    }
    if (files.size() > 1) {
        Prompt().Message("Select one file to download!");
        return;
    }
    QStringList slotTexts;
    const bool occupied = slotView->GetSlotsForSend(slotTexts);
    if (files.size() > slotTexts.size()) {
        Prompt().Message("The capacity of current divice is not enough!");
        return;
    }
    bool answers = true;
    if (slotTexts.count(QString()) >= files.size()) {
        if (occupied && !Confirmed("Overwrite?")) {
            return;
        }
        answers = SendToDevice(repository->m_strRepository, slotTexts, files, QString());
    } else if (slotTexts.count(kEmptySlot) > files.size()) {
        Prompt().Message("Select slot first!");
        return;
    } else if (Confirmed("Using empty slot?")) {
        answers = SendToDevice(repository->m_strRepository, slotTexts, files, kEmptySlot);
    } else {
        Prompt().Message("Select slot first!");
        return;
    }
    // Read again after every send that got as far as the slots, whatever its outcome, as long as
    // the keyboard answers.
    if (answers) {
        slotView->Refresh();
    }
}

bool CTopMiddleView::SendToDevice(const QString& folder, const QStringList& slotTexts,
                                  const QStringList& files, const QString& mode) {
    CMidiTrans* link = FindMidiTrans(this);
    if (link == nullptr) {
        return false;
    }
    const TransferScope busy(this);
    bool answers = true;
    qsizetype cursor = 0;
    for (const QString& file : files) {
        const qsizetype slot = slotTexts.indexOf(mode, cursor);
        if (slot < 0) {
            break;
        }
        // The conversion does not depend on the slot: a refused song is refused once.
        const PrivateConversion conversion =
            ConvertPrivately(CCJShell::ToPath(CCJShell::JoinPath(folder, file)));
        if (!conversion.Accepted() || conversion.image.empty()) {
            Prompt().Message("File is not supported!");
            continue;
        }
        StartProgress(conversion.image.size());
        if (link->SendFile(conversion.image, static_cast<int>(slot), kSendTimeout)) {
            m_nPosition = m_progress->maximum();
            m_progress->setValue(m_nPosition);
            Prompt().Message("Download successfully!");
        } else if (CTopLeftView* slotView = FindTopLeftView(this);
                   slotView == nullptr || !slotView->ReadSlots()) {
            // Said once: every further request would only wait for its time-out again.
            Prompt().Message(
                (file + QStringLiteral("  Download error!") + kKeyboardGone).toStdString());
            answers = false;
            break;
        } else {
            Prompt().Message((file + QStringLiteral("  Download error!")).toStdString());
        }
        cursor = slot + 1;
    }
    link->SetProgress(nullptr);
    m_progress->hide();
    if (CTopLeftView* slotView = FindTopLeftView(this); answers && slotView != nullptr) {
        slotView->Refresh();
    }
    return answers;
}

void CTopMiddleView::StartProgress(std::size_t imageSize) {
    const auto top =
        static_cast<int>(std::min(CMidiTrans::SendSteps(imageSize), kMaxProgressRange));
    m_progress->setRange(0, top);
    m_progress->setValue(0);
    m_nPosition = 0;
    m_progress->show();
    if (CMidiTrans* link = FindMidiTrans(this)) {
        link->SetProgress([this] { OnStep(); });
    }
}

void CTopMiddleView::OnStep() {
    const int top = m_progress->maximum();
    m_nPosition = std::min(m_nPosition + 1, top);
    // The keyboard's reply, not the last chunk, completes a send: hold the bar below 98 %.
    if (Percent(m_nPosition, top) > 98) {
        m_nPosition = static_cast<int>(top * 0.98);
    }
    // Chunks come far faster than a screen shows them: the bar takes a position only when its
    // percentage changes, and is drawn at the event loop's next turn (the wait's pump).
    if (Percent(m_nPosition, top) != Percent(m_progress->value(), top)) {
        m_progress->setUpdatesEnabled(false);
        m_progress->setValue(m_nPosition);
        m_progress->setUpdatesEnabled(true);
    }
}

void CTopMiddleView::OnFetch() {
    CMidiTrans* link = FindMidiTrans(this);
    CTopRightView* repository = FindTopRightView(this);
    const CTopLeftView* slotView = FindTopLeftView(this);
    if (link == nullptr || !link->CanTalkToKeyboard() || repository == nullptr ||
        slotView == nullptr) {
        return;
    }
    const QStringList names = slotView->GetSelectedSlotNames();
    if (names.isEmpty()) {
        return;
    }
    const TransferScope busy(this);
    for (qsizetype slot = 0; slot < names.size(); ++slot) {
        const QString& name = names[slot];
        if (name.isEmpty()) {
            continue;
        }
        const QString path = CCJShell::JoinPath(repository->m_strRepository, SlotFileName(name));
        if (QFileInfo(path).isDir()) {
            continue;
        }
        if (CCJShell::PathExists(path) && !Confirmed("Replace existed file?")) {
            continue;
        }
        if (!link->ReceiveFile(CCJShell::ToPath(path), static_cast<int>(slot), kFetchTimeout)) {
            Prompt().Message((name + QStringLiteral("  Upload error!")).toStdString());
        }
    }
    repository->RefreshRepository();
}

}  // namespace korvana
