#include "shell/CTopLeftView.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <array>

#include "common/Prompt.h"
#include "controls/CCJFlatHeaderCtrl.h"
#include "controls/ResourceIds.h"
#include "controls/StringTable.h"
#include "device/CMidiTrans.h"
#include "shell/CTopMiddleView.h"
#include "shell/ColumnWidths.h"
#include "shell/DevListCtrl.h"
#include "shell/FramePanes.h"

namespace korvana {

QString SlotText(const std::string& name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

CTopLeftView::CTopLeftView(QWidget* parent) : QWidget(parent), m_wndDevList(new DevListCtrl(this)) {
    constexpr std::array kWidths{150};
    constexpr std::array kTitles{IDS_COLUMN_DEVICE};
    m_wndDevList->BuildColumns(FontScaledWidths(kWidths, m_wndDevList->font()), kTitles);
    m_wndDevList->SubclassHeader(false);
    // Row i is slot i: the slots keep the keyboard's order, and the header offers no sort.
    m_wndDevList->GetFlatHeader()->setSectionsClickable(false);
    connect(m_wndDevList->header(), &QHeaderView::sectionResized, this,
            &CTopLeftView::UpdateHeaderTitle);
    connect(m_wndDevList, &DevListCtrl::refreshRequested, this, &CTopLeftView::OnUserRefresh,
            Qt::DirectConnection);
    connect(m_wndDevList, &DevListCtrl::backUpRequested, this, [this] {
        if (CTopMiddleView* transfer = FindTopMiddleView(this)) {
            transfer->OnBackUpKeyboard();
        }
    });
    connect(m_wndDevList, &DevListCtrl::restoreRequested, this, [this] {
        if (CTopMiddleView* transfer = FindTopMiddleView(this)) {
            transfer->OnRestoreBackup();
        }
    });
    connect(m_wndDevList, &DevListCtrl::deleteSlotRequested, this, &CTopLeftView::OnUserDeleteSlot,
            Qt::DirectConnection);
}

void CTopLeftView::resizeEvent(QResizeEvent* event) {
    m_wndDevList->setGeometry(0, 0, event->size().width(), event->size().height());
}

void CTopLeftView::ShowDeviceName(const QString& name) {
    m_deviceName = name;
    UpdateHeaderTitle();
}

void CTopLeftView::UpdateHeaderTitle() {
    const QString column = LoadResString(IDS_COLUMN_DEVICE);
    QString title = column;
    if (!m_deviceName.isEmpty()) {
        const QString dash = QStringLiteral(" \u2014");
        title = column + dash + QLatin1Char(' ') + m_deviceName;
        const CCJFlatHeaderCtrl* header = m_wndDevList->GetFlatHeader();
        const int room = header->sectionSize(0) - 2 * CCJFlatHeaderCtrl::m_nOffset;
        if (header->fontMetrics().horizontalAdvance(title) > room) {
            title = column + dash + QLatin1Char('\n') + m_deviceName;
        }
    }
    if (m_wndDevList->headerItem()->text(0) != title) {
        m_wndDevList->headerItem()->setText(0, title);
        // A name too long even for a line of its own is cut short there, but never here.
        m_wndDevList->headerItem()->setToolTip(0, m_deviceName);
    }
}

void CTopLeftView::Refresh() {
    CMidiTrans* link = FindMidiTrans(this);
    if (link == nullptr || !link->CanTalkToKeyboard()) {
        return;
    }
    if (!ReadSlots()) {
        m_wndDevList->DeleteAllItems();
        Prompt().Message("Connection error!");
    }
}

bool CTopLeftView::ReadSlots() {
    CMidiTrans* link = FindMidiTrans(this);
    std::vector<std::string> names;
    if (link == nullptr || !link->CanTalkToKeyboard() || !link->ReadDirectory(names)) {
        return false;
    }
    m_slotNames = std::move(names);
    m_wndDevList->DeleteAllItems();
    for (const std::string& name : m_slotNames) {
        m_wndDevList->AddSlotRow(SlotText(name));
    }
    return true;
}

void CTopLeftView::OnUserRefresh() {
    Refresh();
}

void CTopLeftView::OnUserDeleteSlot(int slot) {
    CMidiTrans* link = FindMidiTrans(this);
    if (link == nullptr || !link->CanTalkToKeyboard()) {
        return;
    }
    if (slot < 0) {
        Refresh();
    } else {
        link->DeleteSlot(static_cast<unsigned>(slot));
    }
}

bool CTopLeftView::GetSlotsForSend(QStringList& slotTexts) const {
    slotTexts.clear();
    for (int row = 0; row < m_wndDevList->GetItemCount(); ++row) {
        slotTexts.push_back(m_wndDevList->GetItemText(row, 0));
    }
    bool occupied = false;
    for (int row : m_wndDevList->GetSelectedRows()) {
        occupied = occupied || slotTexts[row] != kEmptySlot;
        slotTexts[row].clear();
    }
    return occupied;
}

QStringList CTopLeftView::GetSelectedSlotNames() const {
    QStringList names;
    for (int row = 0; row < m_wndDevList->GetItemCount(); ++row) {
        names.push_back(QString());
    }
    for (int row : m_wndDevList->GetSelectedRows()) {
        const QString text = m_wndDevList->GetItemText(row, 0);
        if (text != kEmptySlot) {
            names[row] = text;
        }
    }
    return names;
}

}  // namespace korvana
