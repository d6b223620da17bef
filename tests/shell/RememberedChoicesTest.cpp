// What one run of the window remembers and the next one finds (in the tests' own settings
// folder), and how the device dialog preselects on a first Connect.

#include <QAction>
#include <QSettings>

#include "KeyboardWindowFixture.h"
#include "shell/CBottomLeftView.h"
#include "shell/CBottomRightView.h"
#include "shell/CCJShellList.h"
#include "shell/CCJShellTree.h"
#include "shell/WindowSettings.h"

namespace korvana::test {
namespace {

using Texts = std::vector<std::string>;

QString Selected(const QListWidget& list) {
    const QList<QListWidgetItem*> items = list.selectedItems();
    return items.isEmpty() ? QString() : items.front()->text();
}

// Windows over a MIDI system with ports of these names (which cannot be opened) followed by the
// simulated keyboard.
class RememberedChoices : public KeyboardWindow {
protected:
    void OpenOver(std::vector<std::string> ports) {
        *m_ports = std::move(ports);
        OpenWindow(WithSimulatedKeyboard(std::make_unique<NamedPortsBackend>(m_ports)));
    }
    CCJShellTree& Tree() { return *FindBottomLeftView(m_frame.get())->m_shellTree; }
    CCJShellList& Files() { return *FindBottomRightView(m_frame.get())->m_shellList; }

    std::shared_ptr<std::vector<std::string>> m_ports =
        std::make_shared<std::vector<std::string>>();
    const QString m_simulated = QString::fromLatin1(kSimulatedPortName);
};

TEST_F(RememberedChoices, OneRunsChoicesAreTheNextRunsStart) {
    const QString folder = m_dir.path() + QStringLiteral("/Stücke \"neu\" \\ 2");
    ASSERT_TRUE(QDir().mkpath(folder));
    OpenOver({"Zeta"});
    ConnectTo(m_simulated);
    ASSERT_TRUE(Link().IsConnected());
    ASSERT_TRUE(Tree().TunnelTree(folder));
    Repository().List()->OnHeaderItemClick(4);
    Repository().List()->OnHeaderItemClick(4);
    Files().OnHeaderItemClick(2);
    Slots().m_wndDevList->KeyboardActions().front()->setChecked(true);
    m_frame->resize(931, 707);
    m_frame->close();
    m_frame.reset();

    // The simulated keyboard is now the third port: remembered by name, not by number.
    OpenOver({"Alpha", "Zeta"});
    EXPECT_EQ(m_frame->size(), QSize(931, 707));
    EXPECT_EQ(Tree().GetSelectedFolderPath(), folder);
    EXPECT_EQ(Repository().List()->m_nSortColumn, 4);
    EXPECT_FALSE(Repository().List()->m_bAscending);
    EXPECT_EQ(Files().m_nSortColumn, 2);
    EXPECT_TRUE(Files().m_bAscending);
    EXPECT_TRUE(Slots().m_wndDevList->KeyboardActions().front()->isChecked());
    QStringList preselected;
    Connect([&preselected](CMidiDeviceDlg& dialog) {
        preselected = {Selected(*dialog.m_lbIn), Selected(*dialog.m_lbOut)};
        dialog.OnOK();
    });
    EXPECT_EQ(preselected, QStringList({m_simulated, m_simulated}));
    EXPECT_EQ(Bar().m_nInDevice, 2);
    EXPECT_TRUE(Link().IsConnected());
}

TEST_F(RememberedChoices, AMalformedSortIsNoSort) {
    for (const char* stored : {"", "4", "x,ascending", "-1,ascending", "4,ascending,1"}) {
        QSettings(QStringLiteral("Korvana"), QStringLiteral("Korvana"))
            .setValue(QStringLiteral("sort/repository"), QString::fromLatin1(stored));
        EXPECT_FALSE(WindowSettings::LoadSort(QStringLiteral("repository"))) << stored;
    }
}

// On a first Connect: the one device with both ports that is not the system's pass-through,
// else the simulated keyboard when it is alone, else nothing.
TEST_F(RememberedChoices, TheFirstConnectPreselectsTheOneLikelyKeyboard) {
    const QString piano = QStringLiteral("Stage Piano:Stage Piano MIDI 1 20:0");
    const QString through = QStringLiteral("Midi Through:Midi Through Port-0 14:0");
    const struct {
        std::vector<std::string> ports;
        QString expected;
    } cases[] = {
        {{through.toStdString(), piano.toStdString()}, piano},
        {{through.toStdString()}, m_simulated},
        {{}, m_simulated},
        {{"Alpha", piano.toStdString()}, QString()},
    };
    OpenOver({});
    for (const auto& [ports, expected] : cases) {
        *m_ports = ports;
        int in = -1;
        int out = -1;
        const CMidiDeviceDlg dialog(Link(), in, out);
        EXPECT_EQ(Selected(*dialog.m_lbIn), expected) << ports.size();
        EXPECT_EQ(Selected(*dialog.m_lbOut), expected) << ports.size();
    }
}

TEST_F(RememberedChoices, OkWithNothingChosenSaysWhatToChooseAndStaysOpen) {
    OpenOver({"Alpha", "Zeta"});
    bool open = false;
    Connect([&open](CMidiDeviceDlg& dialog) {
        dialog.OnOK();
        open = dialog.isVisible();
        dialog.reject();
    });
    EXPECT_TRUE(open);
    EXPECT_EQ(m_prompt.m_texts,
              Texts({"Choose the keyboard's ports: the input port it sends on and the output port "
                     "it listens on, usually both named after it. Without a keyboard, choose "
                     "\"Korvana Keyboard (simulated)\" on both sides."}));
    EXPECT_FALSE(Link().IsConnected());
}

}  // namespace
}  // namespace korvana::test
