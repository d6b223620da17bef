#include "shell/CTopMiddleView.h"

#include <QAction>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>
#include <optional>
#include <vector>

#include "common/Prompt.h"
#include "common/SafeFile.h"
#include "controls/CGdipButton.h"
#include "controls/CXProgressCtrl.h"
#include "controls/ResourceIds.h"
#include "conversion/PrivateConversion.h"
#include "device/CMidiTrans.h"
#include "device/KeyboardBackup.h"
#include "device/KeyboardRestore.h"
#include "device/SongImageFormat.h"
#include "device/SongImageTransfer.h"
#include "shell/CCJShell.h"
#include "shell/CMainFrame.h"
#include "shell/CTopLeftView.h"
#include "shell/CTopRightView.h"
#include "shell/DevListCtrl.h"
#include "shell/FramePanes.h"
#include "shell/SlotFileName.h"
#include "shell/WindowSettings.h"

namespace korvana {

namespace {

// The bar's range is a 16-bit number.
constexpr std::size_t kMaxProgressRange = 0xFFFF;

// The whole percent a position stands for (0 for an empty range).
int Percent(int position, int top) {
    return top > 0 ? static_cast<int>(position * 100.0 / top) : 0;
}

// What a Download sends for a repository file: a song image as it is, after the check that it is
// one; a song converted on a private copy. Nothing, once the user was told why, when the file
// cannot be sent.
std::optional<std::vector<std::uint8_t>> ImageToSend(const QString& path) {
    const std::filesystem::path file = CCJShell::ToPath(path);
    if (!HasSongImageExtension(file)) {
        ConversionOutcome conversion = ConvertPrivately(file);
        conversion.ShowMessages(Prompt());
        if (!conversion.Accepted() || conversion.image.empty()) {
            Prompt().Message("File is not supported!");
            return std::nullopt;
        }
        return std::move(conversion.image);
    }
    std::optional<std::vector<std::uint8_t>> image = ReadWholeFile(file);
    const std::optional<std::string> problem =
        image ? SongImageProblem(*image) : "it cannot be read";
    if (problem) {
        Prompt().Message(QFileInfo(path).fileName().toStdString() +
                         "  Download error! It is not a keyboard song image: " + *problem + ".");
        return std::nullopt;
    }
    return image;
}

// "slots 0, 3 and 15"-style lists of slot numbers.
std::string SlotList(const std::vector<int>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        text += (i == 0                    ? ""
                 : i + 1 == numbers.size() ? " and "
                                           : ", ") +
                std::to_string(numbers[i]);
    }
    return text;
}

std::string FailureList(const std::vector<SlotFailure>& failures) {
    std::string text;
    for (const SlotFailure& failure : failures) {
        text += (text.empty() ? "" : "; ") + std::string("slot ") + std::to_string(failure.slot) +
                " (" + failure.error + ")";
    }
    return text;
}

constexpr const char* kKeyboardGone =
    "\nThe keyboard stopped answering, or its port is gone. Press Refresh once it is back.";

std::string BackupSummary(const BackupOutcome& outcome, const std::string& folder) {
    std::string text =
        outcome.interruption == Interruption::Stopped ? "The backup was stopped. " : "";
    text += "Backed up " + std::to_string(outcome.manifest.backedUp.size()) + " slots into " +
            folder + ".";
    if (!outcome.failures.empty()) {
        text += "\nNot backed up: " + FailureList(outcome.failures) + ".";
    }
    if (outcome.interruption == Interruption::KeyboardGone) {
        text += kKeyboardGone;
    }
    return text;
}

// Names every slot of the keyboard that the restore overwrites, as the slot list shows it.
std::string RestoreQuestion(const LoadedBackup& backup, const std::vector<std::string>& slotNames) {
    std::string overwritten;
    for (const BackupImage& image : backup.images) {
        const auto slot = static_cast<std::size_t>(image.slot);
        if (slot < slotNames.size() && slotNames[slot] != kEmptySlotText) {
            overwritten += (overwritten.empty() ? "" : ", ") + std::to_string(image.slot) + " " +
                           slotNames[slot];
        }
    }
    std::string question = "Restore " + std::to_string(backup.images.size()) +
                           " songs from the backup into the keyboard?";
    if (!overwritten.empty()) {
        question += "\nThese slots will be overwritten: " + overwritten + ".";
    }
    return question;
}

std::string RestoreSummary(const RestoreOutcome& outcome) {
    std::string text = outcome.restored.empty()
                           ? "Nothing was restored."
                           : "Restored slots " + SlotList(outcome.restored) + ".";
    if (!outcome.failed.empty()) {
        text += "\nFailed: " + FailureList(outcome.failed) + ".";
    }
    return text;
}

// The window's state for as long as a transfer runs: the keyboard's commands greyed, Cancel
// offered.
class TransferScope {
public:
    explicit TransferScope(QWidget* from) : m_pFrame(qobject_cast<CMainFrame*>(from->window())) {
        if (m_pFrame != nullptr) {
            m_pFrame->TransferStarted();
        }
    }
    ~TransferScope() {
        if (m_pFrame != nullptr) {
            m_pFrame->TransferEnded();
        }
    }
    TransferScope(const TransferScope&) = delete;
    TransferScope& operator=(const TransferScope&) = delete;

private:
    QPointer<CMainFrame> m_pFrame;
};

bool Confirmed(const char* question) {
    return Prompt().Ask(question, PromptButtons::YesNo) == PromptAnswer::Yes;
}

}  // namespace

CTopMiddleView::CTopMiddleView(QWidget* parent)
    : QWidget(parent),
      m_btnSend(new CGdipButton(this)),
      m_progress(new CXProgressCtrl(this)),
      m_btnCancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setAutoFillBackground(true);
    m_btnSend->LoadImages(IDB_DOWNLOAD_NORMAL, IDB_DOWNLOAD_ACTIVE);
    m_btnSend->SetToolTipText(QStringLiteral("Download"));
    m_progress->hide();
    connect(m_btnSend, &CGdipButton::clicked, this, &CTopMiddleView::OnSend);
    m_btnCancel->setToolTip(QStringLiteral("Stop after the current chunk (Esc)"));
    m_btnCancel->hide();
    connect(m_btnCancel, &QPushButton::clicked, this, &CTopMiddleView::OnCancel);

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
    m_btnCancel->setGeometry(14, 135, width - 16, m_btnCancel->sizeHint().height());
}

void CTopMiddleView::ShowCancel(bool show) {
    m_btnCancel->setEnabled(true);
    m_btnCancel->setVisible(show);
    // Esc means Cancel only while there is something to cancel.
    m_btnCancel->setShortcut(show ? QKeySequence(Qt::Key_Escape) : QKeySequence());
}

void CTopMiddleView::OnCancel() {
    if (CMidiTrans* link = FindMidiTrans(this)) {
        link->RequestStop();
        // Taken: the transfer ends at its next chunk.
        m_btnCancel->setEnabled(false);
    }
}

std::string CTopMiddleView::SlotState(int slot) {
    CTopLeftView* slotView = FindTopLeftView(this);
    const bool listed = slotView != nullptr && slotView->ReadSlots();
    return SlotText(SlotStateText(listed ? &slotView->m_slotNames : nullptr, slot,
                                  "press Refresh to see what it holds."))
        .toStdString();
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
    const bool verify = WindowSettings::LoadVerifyAfterSending();
    bool answers = true;
    qsizetype cursor = 0;
    for (const QString& file : files) {
        const qsizetype slot = slotTexts.indexOf(mode, cursor);
        if (slot < 0 || link->StopRequested()) {
            break;
        }
        // The image does not depend on the slot: a refused file is refused once.
        const std::optional<std::vector<std::uint8_t>> image =
            ImageToSend(CCJShell::JoinPath(folder, file));
        if (!image) {
            continue;
        }
        StartProgress(image->size());
        const int target = static_cast<int>(slot);
        const std::string name = file.toStdString();
        const bool sent = link->SendFile(*image, target, kSendTimeout);
        // The bar counts this send's chunks, not those of a read-back or of the slot list.
        link->SetProgress(nullptr);
        if (sent) {
            const std::optional<std::string> difference =
                verify ? VerifySlot(*link, *image, target) : std::nullopt;
            if (difference && link->StopRequested()) {
                Prompt().Message(name + "  Download successfully! Reading slot " +
                                 std::to_string(target) + " back to check it was stopped.");
            } else if (difference) {
                Prompt().Message(name + "  Download error! Slot " + std::to_string(target) + ": " +
                                 *difference + ".");
            } else {
                m_nPosition = m_progress->maximum();
                m_progress->setValue(m_nPosition);
                Prompt().Message("Download successfully!");
            }
        } else if (const Interruption interruption = AfterFailedTransfer(*link);
                   interruption == Interruption::Stopped) {
            Prompt().Message(name + "  Download stopped. " + SlotState(target));
        } else if (interruption == Interruption::KeyboardGone) {
            // Said once: every further request would only wait for its time-out again.
            Prompt().Message(name + "  Download error!" + kKeyboardGone);
            answers = false;
            break;
        } else {
            Prompt().Message(name + "  Download error!");
        }
        cursor = slot + 1;
    }
    m_progress->hide();
    if (CTopLeftView* slotView = FindTopLeftView(this); answers && slotView != nullptr) {
        slotView->Refresh();
    }
    return answers;
}

void CTopMiddleView::StartProgress(std::size_t imageSize) {
    ShowBar(CMidiTrans::SendSteps(imageSize));
    if (CMidiTrans* link = FindMidiTrans(this)) {
        link->SetProgress([this] { OnStep(); });
    }
}

void CTopMiddleView::ShowBar(std::size_t steps) {
    m_progress->setRange(0, static_cast<int>(std::min(steps, kMaxProgressRange)));
    m_progress->setValue(0);
    m_nPosition = 0;
    m_progress->show();
}

void CTopMiddleView::OnStep() {
    const int top = m_progress->maximum();
    int position = std::min(m_nPosition + 1, top);
    // The keyboard's reply, not the last chunk, completes a send: hold the bar below 98 %.
    if (Percent(position, top) > 98) {
        position = static_cast<int>(top * 0.98);
    }
    ShowPosition(position);
}

void CTopMiddleView::OnBlock(std::size_t received, std::size_t blocks) {
    if (received == 0) {
        ShowBar(blocks);
    } else {
        ShowPosition(static_cast<int>(std::min(received, kMaxProgressRange)));
    }
}

void CTopMiddleView::ShowPosition(int position) {
    const int top = m_progress->maximum();
    m_nPosition = position;
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
    link->SetBlockProgress(
        [this](std::size_t received, std::size_t blocks) { OnBlock(received, blocks); });
    for (qsizetype slot = 0; slot < names.size(); ++slot) {
        const QString& name = names[slot];
        if (name.isEmpty()) {
            continue;
        }
        const QString path = CCJShell::JoinPath(repository->m_strRepository,
                                                SlotFileName(name) + QStringLiteral(".mix"));
        if (QFileInfo(path).isDir()) {
            continue;
        }
        if (CCJShell::PathExists(path) && !Confirmed("Replace existed file?")) {
            continue;
        }
        if (link->ReceiveFile(CCJShell::ToPath(path), static_cast<int>(slot), kFetchTimeout)) {
            continue;
        }
        const Interruption interruption = AfterFailedTransfer(*link);
        if (interruption == Interruption::Stopped) {
            Prompt().Message(name.toStdString() + kFetchStoppedText);
            break;
        }
        if (interruption == Interruption::KeyboardGone) {
            // Said once, as for a send.
            Prompt().Message(name.toStdString() + "  Upload error!" + kKeyboardGone);
            break;
        }
        Prompt().Message(name.toStdString() + "  Upload error!");
    }
    link->SetBlockProgress(nullptr);
    m_progress->hide();
    repository->RefreshRepository();
}

void CTopMiddleView::OnBackUpKeyboard() {
    const QString parent = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Back Up Keyboard: the folder to put the backup in"));
    if (!parent.isEmpty()) {
        BackUpInto(parent);
    }
}

void CTopMiddleView::BackUpInto(const QString& parent) {
    CMidiTrans* link = FindMidiTrans(this);
    if (link == nullptr || !link->CanTalkToKeyboard()) {
        return;
    }
    const QString folder = CCJShell::JoinPath(
        parent, QStringLiteral("Korvana backup ") +
                    QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HHmm")));
    const std::filesystem::path path = CCJShell::ToPath(folder);
    if (const std::optional<std::string> problem = BackupFolderProblem(path)) {
        Prompt().Message(folder.toStdString() + " " + *problem + ": nothing was backed up.");
        return;
    }
    BackupOutcome outcome;
    {
        const TransferScope busy(this);
        outcome =
            BackupKeyboard(*link, path, link->DeviceName(),
                           [this](const SlotProgress& progress) { OnSlotProgress(progress); });
        m_progress->hide();
    }
    if (!outcome.error.empty()) {
        Prompt().Message("The backup failed: " + outcome.error);
        return;
    }
    Prompt().Message(BackupSummary(outcome, folder.toStdString()));
}

void CTopMiddleView::OnRestoreBackup() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Restore Backup: the backup's folder"));
    if (!folder.isEmpty()) {
        RestoreFrom(folder);
    }
}

void CTopMiddleView::RestoreFrom(const QString& folder) {
    CMidiTrans* link = FindMidiTrans(this);
    CTopLeftView* slotView = FindTopLeftView(this);
    if (link == nullptr || !link->CanTalkToKeyboard() || slotView == nullptr) {
        return;
    }
    std::string error;
    const std::optional<LoadedBackup> backup = LoadBackup(CCJShell::ToPath(folder), error);
    if (!backup) {
        Prompt().Message(error + ". Nothing was sent.");
        return;
    }
    if (!Confirmed(RestoreQuestion(*backup, slotView->m_slotNames).c_str())) {
        return;
    }
    RestoreOutcome outcome;
    {
        const TransferScope busy(this);
        outcome =
            RestoreBackup(*link, *backup, {.verify = WindowSettings::LoadVerifyAfterSending()},
                          [this](const SlotProgress& progress) { OnSlotProgress(progress); });
        m_progress->hide();
    }
    std::string summary = RestoreSummary(outcome);
    if (outcome.interruption == Interruption::KeyboardGone) {
        Prompt().Message(summary + kKeyboardGone);
        return;
    }
    if (const std::optional<int> stopped = outcome.StoppedSlot()) {
        summary += "\n" + SlotState(*stopped);
    }
    Prompt().Message(summary);
    slotView->Refresh();
}

void CTopMiddleView::OnSlotProgress(const SlotProgress& progress) {
    // The bar covers the whole backup or restore: a hundred steps for each slot.
    const auto top = static_cast<int>(std::min(progress.count * 100, kMaxProgressRange));
    if (m_progress->maximum() != top || m_progress->isHidden()) {
        ShowBar(static_cast<std::size_t>(top));
    }
    const std::size_t share =
        progress.bytesTotal > 0
            ? std::min<std::size_t>(100, progress.bytesDone * 100 / progress.bytesTotal)
            : 0;
    ShowPosition(static_cast<int>(std::min<std::size_t>((progress.index - 1) * 100 + share, top)));
}

}  // namespace korvana
