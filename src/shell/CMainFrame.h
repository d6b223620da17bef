#pragma once

// The main window: three rows of fixed height rules (slots, transfer and repository on top, the
// command bar in the middle, the file browser below), 800 x 600 at first (or as the last run
// left it) and never smaller.

#include <QWidget>

#include "device/CMidiTrans.h"

namespace korvana {

class CDisabledCSplitterWnd;

class CMainFrame : public QWidget {
    Q_OBJECT

public:
    explicit CMainFrame(const QString& repositoryFolder, QWidget* parent = nullptr);

    static constexpr int c_nWidth = 800;
    static constexpr int c_nHeight = 600;
    static constexpr int c_nMiddleRowHeight = 60;
    static constexpr int c_nMinRowHeight = 100;

    // The top row's height for an outer window height (caption and borders included): two
    // fifths of that height less 60, at least 100. The bottom row takes what is left of the
    // client area, about three fifths.
    static int TopRowHeight(int outerHeight);

    // The window's link to the keyboard, which every pane asks (FindMidiTrans); made before the
    // panes and gone after them.
    CMidiTrans m_midiTrans;

    // A send, fetch, backup or restore runs from TransferStarted to TransferEnded: the commands
    // that talk to the keyboard (Connect, Refresh, Download, Upload and the slot list) are
    // greyed and the transfer pane offers Cancel. A close asked for meanwhile happens after it.
    void TransferStarted();
    void TransferEnded();
    bool TransferRunning() const { return m_bTransferRunning; }

    // Names the connected keyboard in the window title and the slot list's header ("Device —
    // NAME"); an empty name shows none.
    void ShowDeviceName(const QString& name);

    CDisabledCSplitterWnd* m_wndSplitter;
    bool m_bSplitterReady = false;

protected:
    // Remembers the window's place and size for the next run. During a transfer it asks first
    // whether to wait for its end or to stop it after the current chunk, and closes after it.
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The window manager adds its frame after the window first shows, which changes the outer
    // height the rows follow.
    void moveEvent(QMoveEvent* event) override;

private:
    void EnableKeyboardCommands(bool enable);
    // Closes once no message box is up: the one saying how the transfer ended stays readable,
    // as the last window's close ends the application.
    void CloseWhenFree();
    void ApplyRowLayout();
    void SetTabOrder();

    bool m_bTransferRunning = false;
    bool m_bCloseAfterTransfer = false;
};

}  // namespace korvana
