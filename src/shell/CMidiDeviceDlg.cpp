#include "CMidiDeviceDlg.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <optional>

#include "CMidiTrans.h"

namespace korvana {

namespace {

// The dialog is laid out in dialog units of the classic 8-point dialog font.
QRect DialogUnits(int x, int y, int width, int height) {
    auto horizontal = [](int units) { return units * 3 / 2; };
    auto vertical = [](int units) { return units * 13 / 8; };
    return {horizontal(x), vertical(y), horizontal(width), vertical(height)};
}

QListWidget* MakePortList(QWidget* parent, const QRect& rect) {
    auto* list = new QListWidget(parent);
    list->setGeometry(rect);
    list->setSortingEnabled(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QStringList Names(const std::vector<MidiDevEntry>& ports) {
    QStringList names;
    for (const MidiDevEntry& port : ports) {
        names.push_back(QString::fromStdString(port.strName));
    }
    return names;
}

// The name of the port at chosen in names; nothing when chosen lies outside them.
std::optional<QString> NameAt(const QStringList& names, int chosen) {
    if (chosen < 0 || chosen >= names.size()) {
        return std::nullopt;
    }
    return names[chosen];
}

// Lists the names and marks the last row named wanted.
void FillList(QListWidget& list, const QStringList& names, const std::optional<QString>& wanted) {
    list.addItems(names);
    list.setCurrentRow(-1);
    if (!wanted) {
        return;
    }
    for (int row = list.count() - 1; row >= 0; --row) {
        if (list.item(row)->text() == *wanted) {
            list.setCurrentRow(row);
            return;
        }
    }
}

void StoreChoice(const QListWidget& list, const QStringList& names, int& chosen) {
    const QList<QListWidgetItem*> selected = list.selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const qsizetype position = names.indexOf(selected.front()->text());
    if (position >= 0) {
        chosen = static_cast<int>(position);
    }
}

}  // namespace

CMidiDeviceDlg::CMidiDeviceDlg(CMidiTrans& link, int& inDevice, int& outDevice, QWidget* parent)
    : QDialog(parent), m_pnInDev(&inDevice), m_pnOutDev(&outDevice), m_link(link) {
    setWindowTitle(QStringLiteral("MIDI Device"));
    setFixedSize(DialogUnits(0, 0, 450, 201).size());
    (new QGroupBox(QStringLiteral("Input"), this))->setGeometry(DialogUnits(15, 10, 200, 150));
    (new QGroupBox(QStringLiteral("Output"), this))->setGeometry(DialogUnits(229, 10, 200, 150));
    m_lbIn = MakePortList(this, DialogUnits(25, 25, 180, 125));
    m_lbOut = MakePortList(this, DialogUnits(238, 25, 180, 125));
    m_btnRefresh = new QPushButton(QStringLiteral("Refresh"), this);
    m_btnRefresh->setGeometry(DialogUnits(84, 169, 50, 14));
    m_btnOK = new QPushButton(QStringLiteral("OK"), this);
    m_btnOK->setGeometry(DialogUnits(278, 173, 50, 14));
    m_btnOK->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_btnCancel->setGeometry(DialogUnits(355, 172, 50, 14));
    connect(m_btnRefresh, &QPushButton::clicked, this, &CMidiDeviceDlg::FillLists);
    connect(m_btnOK, &QPushButton::clicked, this, &CMidiDeviceDlg::OnOK);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FillLists();
}

void CMidiDeviceDlg::FillLists() {
    // A stored number counts in the list it was chosen from: on a Refresh the one shown so far,
    // as a new port may come before the chosen one; the fresh one when the dialog opens.
    const QStringList shownIn = m_inNames;
    const QStringList shownOut = m_outNames;
    m_lbIn->clear();
    m_lbOut->clear();
    m_link.EnumDevices();
    m_inNames = Names(m_link.Device().m_InDevs);
    m_outNames = Names(m_link.Device().m_OutDevs);
    FillList(*m_lbIn, m_inNames, NameAt(shownIn.isEmpty() ? m_inNames : shownIn, *m_pnInDev));
    FillList(*m_lbOut, m_outNames, NameAt(shownOut.isEmpty() ? m_outNames : shownOut, *m_pnOutDev));
}

void CMidiDeviceDlg::OnOK() {
    StoreChoice(*m_lbIn, m_inNames, *m_pnInDev);
    StoreChoice(*m_lbOut, m_outNames, *m_pnOutDev);
    accept();
}

}  // namespace korvana
