#include "shell/CMidiDeviceDlg.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <optional>

#include "common/Prompt.h"
#include "device/CMidiTrans.h"
#include "simulator/SimulatedKeyboard.h"

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

// Marks the last row named wanted; false when there is none.
bool Preselect(QListWidget& list, const std::optional<QString>& wanted) {
    if (!wanted || wanted->isEmpty()) {
        return false;
    }
    for (int row = list.count() - 1; row >= 0; --row) {
        if (list.item(row)->text() == *wanted) {
            list.setCurrentRow(row);
            return true;
        }
    }
    return false;
}

std::optional<QString> PortOf(const QStringList& ports, const QString& device) {
    for (const QString& port : ports) {
        if (CMidiDeviceDlg::PortDeviceName(port) == device) {
            return port;
        }
    }
    return std::nullopt;
}

// The device whose ports to preselect when nothing was chosen: the one device with an input
// and an output port that is not the system's pass-through, or else the simulated keyboard.
std::optional<QString> LikelyKeyboard(const QStringList& inputs, const QStringList& outputs) {
    const QString simulated = QString::fromLatin1(kSimulatedPortName);
    QStringList devices;
    for (const QString& input : inputs) {
        const QString device = CMidiDeviceDlg::PortDeviceName(input);
        if (device != simulated && !device.startsWith(QStringLiteral("Midi Through")) &&
            !devices.contains(device) && PortOf(outputs, device)) {
            devices.push_back(device);
        }
    }
    if (devices.size() == 1) {
        return devices.front();
    }
    if (devices.isEmpty() && PortOf(inputs, simulated) && PortOf(outputs, simulated)) {
        return simulated;
    }
    return std::nullopt;
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

CMidiDeviceDlg::CMidiDeviceDlg(CMidiTrans& link, int& inDevice, int& outDevice, QWidget* parent,
                               const QString& inName, const QString& outName)
    : QDialog(parent),
      m_pnInDev(&inDevice),
      m_pnOutDev(&outDevice),
      m_strInName(inName),
      m_strOutName(outName),
      m_link(link) {
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
    m_lbIn->addItems(m_inNames);
    m_lbOut->addItems(m_outNames);
    m_lbIn->setCurrentRow(-1);
    m_lbOut->setCurrentRow(-1);
    bool chosen = Preselect(*m_lbIn, NameAt(shownIn.isEmpty() ? m_inNames : shownIn, *m_pnInDev));
    chosen = Preselect(*m_lbOut, NameAt(shownOut.isEmpty() ? m_outNames : shownOut, *m_pnOutDev)) ||
             chosen;
    if (!chosen) {
        chosen = Preselect(*m_lbIn, m_strInName);
        chosen = Preselect(*m_lbOut, m_strOutName) || chosen;
    }
    if (!chosen) {
        if (const std::optional<QString> device = LikelyKeyboard(m_inNames, m_outNames)) {
            Preselect(*m_lbIn, PortOf(m_inNames, *device));
            Preselect(*m_lbOut, PortOf(m_outNames, *device));
        }
    }
}

void CMidiDeviceDlg::OnOK() {
    if (m_lbIn->selectedItems().isEmpty() || m_lbOut->selectedItems().isEmpty()) {
        Prompt().Message(
            "Choose the keyboard's ports: the input port it sends on and the output port it "
            "listens on, usually both named after it. Without a keyboard, choose \"" +
            std::string(kSimulatedPortName) + "\" on both sides.");
        return;
    }
    StoreChoice(*m_lbIn, m_inNames, *m_pnInDev);
    StoreChoice(*m_lbOut, m_outNames, *m_pnOutDev);
    accept();
}

QString CMidiDeviceDlg::PortDeviceName(const QString& port) {
    static const QRegularExpression alsaAddress(QStringLiteral("\\s+\\d+:\\d+$"));
    static const QRegularExpression a2jDirection(QStringLiteral("\\s*\\((capture|playback)\\)"));
    static const QRegularExpression jackNumber(QStringLiteral("-\\d\\d$"));
    QString name = port;
    name.remove(alsaAddress);
    name.remove(a2jDirection);
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        return name;
    }
    return name.left(colon).remove(jackNumber) + name.mid(colon);
}

}  // namespace korvana
