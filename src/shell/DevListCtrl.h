#pragma once

// The keyboard's slot list: one row per slot in the keyboard's directory order, so row i is slot
// i. A filled slot shows its song name with the MIDI-file icon, a free one the text "Empty"
// without one. Its right-click menu turns Delete and Refresh into requests to its view, and adds
// the keyboard's own entries: "Verify after sending" (a remembered choice), "Back Up Keyboard…"
// and "Restore Backup…". It never talks to the keyboard itself.

#include <QIcon>
#include <QList>
#include <QString>

#include "controls/CCJListCtrl.h"

namespace korvana {

// The text of a free slot.
inline const QString kEmptySlot = QStringLiteral("Empty");

class DevListCtrl : public CCJListCtrl {
    Q_OBJECT

public:
    explicit DevListCtrl(QWidget* parent = nullptr);

    // Appends a row and returns its index.
    int AddSlotRow(const QString& strText);

    // Asks "Delete NAME?" for every selected filled slot and requests the deletion of each one
    // confirmed, then requests one refresh (slot -1). Nothing when no row is selected.
    void OnDeleteSlot();
    void OnRefresh();

    // The menu's keyboard entries, after Delete and Refresh.
    QList<QAction*> KeyboardActions() const;

    QAction* m_verifyAction;   // checkable, "Verify after sending"
    QAction* m_backUpAction;   // "Back Up Keyboard…"
    QAction* m_restoreAction;  // "Restore Backup…"

signals:
    // Delivered at once, before the emitting call returns; -1 asks for a refresh.
    void deleteSlotRequested(int slot);
    void refreshRequested();
    void backUpRequested();
    void restoreRequested();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    const QIcon m_midiIcon;
    const QIcon m_blankIcon;
};

}  // namespace korvana
