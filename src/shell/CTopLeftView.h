#pragma once

// The keyboard's pane: the list of its song slots, read from the keyboard after every connect,
// deletion and send, and on the list's Refresh.

#include <QStringList>
#include <QWidget>
#include <string>
#include <vector>

namespace korvana {

class DevListCtrl;

class CTopLeftView : public QWidget {
    Q_OBJECT

public:
    explicit CTopLeftView(QWidget* parent = nullptr);

    // Reads the keyboard's directory and fills the list, row i for slot i. Only while connected
    // and no other operation runs; "Connection error!" leaves the list empty.
    void Refresh();
    // The same without a message: false, with the list as it was, when the keyboard does not
    // answer.
    bool ReadSlots();
    // Names the connected keyboard in the list's header, "Device — <name>" (empty: none). Where
    // that does not fit the column, the name goes on a second line of its own.
    void ShowDeviceName(const QString& name);
    // The list's requests: a refresh, or the deletion of a slot (-1: a refresh).
    void OnUserRefresh();
    void OnUserDeleteSlot(int slot);

    // slotTexts receives every row's text, a selected row's as the empty text. True when at least
    // one selected row holds a song.
    bool GetSlotsForSend(QStringList& slotTexts) const;
    // One entry per row: the song name of a selected filled slot, else the empty text.
    QStringList GetSelectedSlotNames() const;

    DevListCtrl* m_wndDevList;
    // The directory of the last refresh, one text per slot.
    std::vector<std::string> m_slotNames;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateHeaderTitle();

    QString m_deviceName;
};

// A slot name as the keyboard sends it (8-bit text) in the window's text.
QString SlotText(const std::string& name);

}  // namespace korvana
