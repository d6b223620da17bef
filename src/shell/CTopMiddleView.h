#pragma once

// The transfer pane between the slot list and the repository: the Download button sends the
// song selected in the repository into a slot of the keyboard, converted on a private copy,
// with the progress bar stepping once per acknowledged chunk. Its Upload command (right-click
// or Ctrl+U) fetches the selected slots back into the repository folder as song images (.mix),
// which a Download sends back as they are. While any transfer runs, Cancel (or Esc) below the bar
// stops it after the current chunk, and the pane says what state the slot is in.

#include <QStringList>
#include <QWidget>
#include <cstddef>
#include <string>

class QAction;
class QPushButton;

#include "device/KeyboardBackup.h"

namespace korvana {

class CGdipButton;
class CXProgressCtrl;

class CTopMiddleView : public QWidget {
    Q_OBJECT

public:
    explicit CTopMiddleView(QWidget* parent = nullptr);

    // Sends the one selected repository song into the selected slot, or into an empty one
    // after asking.
    void OnSend();
    // Fetches every selected filled slot into the repository folder as a song image named after
    // the slot (made safe) with ".mix".
    void OnFetch();
    // One acknowledged chunk: the bar steps, but stays below 98 % until the keyboard confirms.
    void OnStep();
    // A fetch's progress: the bar shows the blocks received of the slot's block count.
    void OnBlock(std::size_t received, std::size_t blocks);

    // "Back Up Keyboard…": asks for the folder to put the backup in, then BackUpInto.
    void OnBackUpKeyboard();
    // Backs the keyboard up into a new folder "Korvana backup YYYY-MM-DD HHMM" inside parent,
    // the bar showing the progress, and says at the end what was backed up and what failed.
    void BackUpInto(const QString& parent);
    // "Restore Backup…": asks for the backup's folder, then RestoreFrom.
    void OnRestoreBackup();
    // Checks the whole backup first (nothing is sent from a damaged one), asks before
    // overwriting naming every slot that would be, restores with the bar showing the progress,
    // and sums up: what was restored, what failed and why.
    void RestoreFrom(const QString& folder);

    // Sends each file into the next slot from the last one used on whose text equals mode
    // ("" for the selected slots, "Empty" for free ones), then refreshes the slot list. False
    // when the keyboard stopped answering: said once, and nothing more is sent or read.
    bool SendToDevice(const QString& folder, const QStringList& slotTexts, const QStringList& files,
                      const QString& mode);

    // Shows the bar for a send of an image of that many bytes, one step per acknowledged chunk,
    // and has the link step it.
    void StartProgress(std::size_t imageSize);

    // Shows Cancel, ready, for the length of a transfer; hides it after.
    void ShowCancel(bool show);
    // Asks the transfer under way to stop after the current chunk.
    void OnCancel();

    CGdipButton* m_btnSend;
    // Upload: fetches the selected slots (right-click or Ctrl+U).
    QAction* m_fetch;
    CXProgressCtrl* m_progress;
    QPushButton* m_btnCancel;
    // The bar's position in acknowledged chunks (received blocks in a fetch); the bar shows it
    // whenever the percentage changes.
    int m_nPosition = 0;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Shows the bar at 0 of that many steps.
    void ShowBar(std::size_t steps);
    void ShowPosition(int position);
    void OnSlotProgress(const SlotProgress& progress);
    // What the slot holds now, as the keyboard lists it: said after a transfer was stopped.
    std::string SlotState(int slot);
};

}  // namespace korvana
