#include "KeyboardWindowFixture.h"
#include "controls/CCJFlatHeaderCtrl.h"
#include "shell/CCJShell.h"

namespace korvana::test {
namespace {

using Texts = std::vector<std::string>;

QStringList Rows(const QListWidget& list) {
    QStringList rows;
    for (int row = 0; row < list.count(); ++row) {
        rows.push_back(list.item(row)->text());
    }
    return rows;
}

QString Selected(const QListWidget& list) {
    const QList<QListWidgetItem*> items = list.selectedItems();
    return items.isEmpty() ? QString() : items.front()->text();
}

void Choose(QListWidget& list, int row) {
    list.setCurrentRow(row);
}

// The window over a MIDI system with ports of these names (which cannot be opened) followed by
// the simulated keyboard.
class DeviceDialog : public KeyboardWindow {
protected:
    void SetUp() override {
        KeyboardWindow::SetUp();
        *m_ports = {"Zeta", "Alpha", "Mid", "Alpha"};
        OpenWindow(WithSimulatedKeyboard(std::make_unique<NamedPortsBackend>(m_ports)));
    }
    std::shared_ptr<std::vector<std::string>> m_ports =
        std::make_shared<std::vector<std::string>>();
    const QString m_simulated = QString::fromLatin1(kSimulatedPortName);
};

TEST_F(DeviceDialog, ListsThePortsSortedWithTheSimulatedKeyboardLast) {
    int in = -1;
    int out = -1;
    CMidiDeviceDlg dialog(Link(), in, out);
    EXPECT_EQ(dialog.windowTitle(), "MIDI Device");
    EXPECT_EQ(dialog.m_inNames, QStringList({"Zeta", "Alpha", "Mid", "Alpha", m_simulated}));
    EXPECT_EQ(Rows(*dialog.m_lbIn), QStringList({"Alpha", "Alpha", m_simulated, "Mid", "Zeta"}));
    EXPECT_EQ(Rows(*dialog.m_lbOut), Rows(*dialog.m_lbIn));
    EXPECT_TRUE(Selected(*dialog.m_lbIn).isEmpty());
    EXPECT_TRUE(Link().IsIdle());
}

TEST_F(DeviceDialog, OkStoresThePositionOfTheFirstPortOfTheChosenName) {
    int in = -1;
    int out = -1;
    CMidiDeviceDlg dialog(Link(), in, out);
    Choose(*dialog.m_lbIn, 1);   // the second "Alpha" row
    Choose(*dialog.m_lbOut, 3);  // "Mid"
    dialog.OnOK();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(in, 1);
    EXPECT_EQ(out, 2);
}

TEST_F(DeviceDialog, TheEarlierChoiceIsPreselectedByNameOnTheLastMatchingRow) {
    int in = 3;  // the second "Alpha" port
    int out = 4;
    CMidiDeviceDlg dialog(Link(), in, out);
    EXPECT_EQ(dialog.m_lbIn->currentRow(), 1);
    EXPECT_EQ(Selected(*dialog.m_lbOut), m_simulated);
}

TEST_F(DeviceDialog, ANumberBeyondThePortsPreselectsNothing) {
    int in = 7;
    int out = -3;
    CMidiDeviceDlg dialog(Link(), in, out);
    EXPECT_TRUE(dialog.m_lbIn->selectedItems().isEmpty());
    EXPECT_TRUE(dialog.m_lbOut->selectedItems().isEmpty());
}

TEST_F(DeviceDialog, OkWithoutASelectedRowKeepsTheEarlierNumber) {
    int in = 7;
    int out = 2;
    CMidiDeviceDlg dialog(Link(), in, out);
    dialog.m_lbOut->clearSelection();
    dialog.OnOK();
    EXPECT_EQ(in, 7);
    EXPECT_EQ(out, 2);
}

TEST_F(DeviceDialog, RefreshListsANewPortAndKeepsTheChoiceByName) {
    int in = 2;  // "Mid"
    int out = 2;
    CMidiDeviceDlg dialog(Link(), in, out);
    m_ports->insert(m_ports->begin(), "Aardvark");
    dialog.m_btnRefresh->click();
    EXPECT_EQ(Rows(*dialog.m_lbIn).front(), "Aardvark");
    EXPECT_EQ(Selected(*dialog.m_lbIn), "Mid");
    dialog.OnOK();
    EXPECT_EQ(in, 3) << "Mid has moved one place down";
}

TEST_F(DeviceDialog, ConnectToTheSimulatedKeyboardFillsTheSlotsAndNamesIt) {
    ConnectTo(m_simulated);
    EXPECT_EQ(m_prompt.m_texts, Texts({"Korvana Keyboard Connected!"}));
    EXPECT_TRUE(Link().IsConnected());
    EXPECT_EQ(Bar().m_strDeviceName, "Korvana Keyboard");
    EXPECT_EQ(Bar().m_nInDevice, 4);
    EXPECT_EQ(Slots().m_wndDevList->GetItemCount(), 16);
}

// At the smallest window the name takes a header line of its own rather than being cut short.
TEST_F(DeviceDialog, TheKeyboardsNameShowsWholeInTheTitleAndTheSlotListsHeader) {
    ConnectTo(m_simulated);
    EXPECT_EQ(m_frame->windowTitle(), QStringLiteral("Korvana \u2014 Korvana Keyboard"));
    const CCJFlatHeaderCtrl* header = Slots().m_wndDevList->GetFlatHeader();
    const auto title = [&] { return Slots().m_wndDevList->headerItem()->text(0); };
    for (const int width : {800, 1600}) {
        m_frame->resize(width, 600);
        QCoreApplication::processEvents();
        const QStringList lines = title().split(QLatin1Char('\n'));
        EXPECT_EQ(lines.join(QLatin1Char(' ')), QStringLiteral("Device \u2014 Korvana Keyboard"));
        EXPECT_EQ(lines.size(), width == 800 ? 2 : 1) << width;
        for (const QString& line : lines) {
            EXPECT_LE(
                header->fontMetrics().horizontalAdvance(line) + 2 * CCJFlatHeaderCtrl::m_nOffset,
                header->sectionSize(0))
                << line.toStdString();
        }
        EXPECT_GE(header->height(), lines.size() * header->fontMetrics().height());
        EXPECT_GE(Slots().m_wndDevList->viewport()->y(), header->geometry().bottom())
            << "the header covers no slot";
    }
    EXPECT_EQ(Slots().m_wndDevList->headerItem()->toolTip(0), QStringLiteral("Korvana Keyboard"));
    ConnectTo(QStringLiteral("Zeta"));
    EXPECT_EQ(title(), QStringLiteral("Device"));
    EXPECT_EQ(m_frame->windowTitle(), QStringLiteral("Korvana"));
}

TEST_F(DeviceDialog, APortThatCannotBeOpenedFailsTheConnect) {
    ConnectTo(m_simulated);
    m_prompt.m_texts.clear();
    ConnectTo("Zeta");
    EXPECT_EQ(m_prompt.m_texts, Texts({"Device cannot be opened!"}));
    EXPECT_FALSE(Link().IsConnected()) << "a failed connect ends the one before";
}

TEST_F(DeviceDialog, CancelChangesNothing) {
    Connect([](CMidiDeviceDlg& dialog) {
        dialog.m_lbIn->setCurrentRow(0);
        dialog.m_btnCancel->click();
    });
    EXPECT_EQ(Bar().m_nInDevice, -1);
    EXPECT_TRUE(m_prompt.m_texts.empty());
    EXPECT_FALSE(Link().IsConnected());
}

class KeyboardConnect : public KeyboardWindow {};

TEST_F(KeyboardConnect, AKeyboardThatAnswersWronglyFailsTheHandshake) {
    MakeKeyboard();
    SimulatorFaults faults;
    faults.wrongCommandReplies = 1;
    m_keyboard->Simulator().SetFaults(faults);
    OpenWindow();
    ConnectTo(QString::fromLatin1(kSimulatedPortName));
    EXPECT_EQ(m_prompt.m_texts, Texts({"Connect request error!"}));
    EXPECT_FALSE(Link().IsConnected());
    EXPECT_EQ(DirectoryReads(), 0);
}

// The window's own MIDI system: whatever ports the machine has (none here, most likely), then
// the simulated keyboard, whose slots survive in its store folder.
TEST_F(KeyboardConnect, TheWindowsBackendEndsWithTheSimulatedKeyboardAndKeepsItsSlots) {
    const QString store = m_dir.path() + QStringLiteral("/store");
    OpenWindow(MakeWindowBackend(CCJShell::ToPath(store)));
    int in = -1;
    int out = -1;
    {
        CMidiDeviceDlg dialog(Link(), in, out);
        ASSERT_FALSE(dialog.m_inNames.isEmpty());
        EXPECT_EQ(dialog.m_inNames.back(), QString::fromLatin1(kSimulatedPortName));
        EXPECT_EQ(dialog.m_outNames.back(), QString::fromLatin1(kSimulatedPortName));
    }
    ConnectTo(QString::fromLatin1(kSimulatedPortName));
    ASSERT_TRUE(Link().IsConnected());
    AddSongs({"pop-8beat.mid"});
    SelectSongs({"pop-8beat.mid"});
    SelectSlots({3});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts.back(), "Download successfully!");
    EXPECT_EQ(Entries(store).size(), 1);
}

}  // namespace
}  // namespace korvana::test
