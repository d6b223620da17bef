#pragma once

// The whole window connected to an in-process simulated keyboard, with the window's own event
// pump in every wait: a repository of the test's own, the samples at hand, a count of the
// directory reads, and a private temporary folder that must be empty again after each send.

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>

#include "ShellTestSupport.h"
#include "common/RecordingPrompt.h"
#include "device/CMidiTrans.h"
#include "device/Frame.h"
#include "shell/CCJShell.h"
#include "shell/CMainFrame.h"
#include "shell/CMiddleView.h"
#include "shell/CMidiDeviceDlg.h"
#include "shell/CTopLeftView.h"
#include "shell/CTopMiddleView.h"
#include "shell/CTopRightView.h"
#include "shell/DevListCtrl.h"
#include "shell/FramePanes.h"
#include "shell/KeyboardLink.h"
#include "shell/RepListCtrl.h"
#include "simulator/SimulatedKeyboard.h"

namespace korvana::test {

// Passes everything on to the real end of the cable and counts the directory requests.
class CountingBackend : public MidiBackend {
public:
    explicit CountingBackend(std::unique_ptr<MidiBackend> inner) : m_pInner(std::move(inner)) {}

    std::vector<std::string> InputNames() override { return m_pInner->InputNames(); }
    std::vector<std::string> OutputNames() override { return m_pInner->OutputNames(); }
    bool Open(int inIndex, int outIndex, ReceiveCallback onReceive) override {
        ++*m_pOpens;
        *m_pPlugged = m_pPlugged->load() || m_pPluggedBack->exchange(false);
        return m_pInner->Open(inIndex, outIndex, std::move(onReceive));
    }
    void Close() override { m_pInner->Close(); }
    bool Send(std::span<const std::uint8_t> message) override {
        static const std::vector<std::uint8_t> kDirectoryRequest =
            MakeFrame(0x12, std::vector<std::uint8_t>{1});
        if (std::equal(message.begin(), message.end(), kDirectoryRequest.begin(),
                       kDirectoryRequest.end())) {
            ++*m_pDirectoryReads;
        }
        return *m_pPlugged && m_pInner->Send(message);
    }

    std::shared_ptr<std::atomic<int>> m_pDirectoryReads = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<int>> m_pOpens = std::make_shared<std::atomic<int>>(0);
    // A pulled cable sends nothing; plugged back, it works again from the next opening.
    std::shared_ptr<std::atomic<bool>> m_pPlugged = std::make_shared<std::atomic<bool>>(true);
    std::shared_ptr<std::atomic<bool>> m_pPluggedBack = std::make_shared<std::atomic<bool>>(false);

private:
    std::unique_ptr<MidiBackend> m_pInner;
};

// Port lists of a MIDI system whose ports cannot be opened; the names may change meanwhile.
class NamedPortsBackend : public MidiBackend {
public:
    explicit NamedPortsBackend(std::shared_ptr<std::vector<std::string>> names)
        : m_pNames(std::move(names)) {}
    std::vector<std::string> InputNames() override { return *m_pNames; }
    std::vector<std::string> OutputNames() override { return *m_pNames; }
    bool Open(int, int, ReceiveCallback) override { return false; }
    void Close() override {}
    bool Send(std::span<const std::uint8_t>) override { return false; }

private:
    std::shared_ptr<std::vector<std::string>> m_pNames;
};

inline SimulatorOptions KeyboardOf(int slotCount,
                                   std::uint64_t capacity = SimulatorOptions{}.capacity) {
    return {.slotCount = slotCount, .capacity = capacity};
}

inline QString SampleSong(const QString& name) {
    return QStringLiteral(KORVANA_SAMPLES_DIR "/") + name;
}

class KeyboardWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_repository = m_dir.path() + QStringLiteral("/Repository/");
        m_scratch = m_dir.path() + QStringLiteral("/tmp");
        ASSERT_TRUE(QDir().mkpath(m_repository));
        ASSERT_TRUE(QDir().mkpath(m_scratch));
        m_bHadTmp = qEnvironmentVariableIsSet("TMPDIR");
        m_savedTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", m_scratch.toUtf8());
    }

    void TearDown() override {
        m_frame.reset();
        m_keyboard.reset();
        if (m_bHadTmp) {
            qputenv("TMPDIR", m_savedTmp);
        } else {
            qunsetenv("TMPDIR");
        }
    }

    // The window over a keyboard of these options, whose slots the test may fill first.
    void MakeKeyboard(SimulatorOptions options = {}) {
        m_keyboard = std::make_unique<SimulatedKeyboard>(options);
    }
    void OpenWindow(std::unique_ptr<MidiBackend> backend = nullptr) {
        if (!backend) {
            auto counting = std::make_unique<CountingBackend>(m_keyboard->TakeProgramSide());
            m_directoryReads = counting->m_pDirectoryReads;
            m_opens = counting->m_pOpens;
            m_plugged = counting->m_pPlugged;
            m_pluggedBack = counting->m_pPluggedBack;
            backend = std::move(counting);
        }
        m_frame = std::make_unique<CMainFrame>(m_repository);
        Link().SetLockFolder(CCJShell::ToPath(m_locks.path()));
        AttachToWindow(Link(), std::move(backend));
        m_frame->show();
    }

    // Presses Connect, lets answer handle the device dialog, and waits for the whole connect.
    void Connect(const std::function<void(CMidiDeviceDlg&)>& answer) {
        QTimer::singleShot(0, [answer] {
            auto* dialog = qobject_cast<CMidiDeviceDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
        });
        Bar().OnConnect();
    }
    // Chooses the port of that name on both sides.
    void ConnectTo(const QString& port) {
        Connect([port](CMidiDeviceDlg& dialog) {
            for (QListWidget* list : {dialog.m_lbIn, dialog.m_lbOut}) {
                const QList<QListWidgetItem*> rows = list->findItems(port, Qt::MatchExactly);
                ASSERT_FALSE(rows.isEmpty());
                list->setCurrentItem(rows.front());
            }
            dialog.OnOK();
        });
    }
    // A keyboard of these options, filled by the test, in a window connected to it.
    void ConnectToKeyboard(
        SimulatorOptions options = {},
        const std::vector<std::pair<int, std::vector<std::uint8_t>>>& songs = {}) {
        MakeKeyboard(options);
        for (const auto& [slot, bytes] : songs) {
            ASSERT_TRUE(m_keyboard->Store().Put(slot, bytes));
        }
        OpenWindow();
        ConnectTo(QString::fromLatin1(kSimulatedPortName));
        ASSERT_TRUE(Link().IsConnected());
        m_prompt.m_texts.clear();
        m_prompt.m_questions.clear();
    }

    // Copies samples into the repository and selects the given ones.
    void AddSongs(const QStringList& samples) {
        for (const QString& sample : samples) {
            ASSERT_TRUE(QFile::copy(SampleSong(sample), m_repository + sample));
        }
        Repository().RefreshRepository();
    }
    void SelectSongs(const QStringList& names) {
        RepListCtrl& list = *Repository().List();
        list.clearSelection();
        for (const QString& name : names) {
            list.SetRowSelected(static_cast<int>(Column(list).indexOf(name)), true);
        }
    }
    void SelectSlots(std::initializer_list<int> rows) {
        Slots().m_wndDevList->clearSelection();
        for (int row : rows) {
            Slots().m_wndDevList->SetRowSelected(row, true);
        }
    }
    std::string SlotName(int slot) {
        const std::vector<std::uint8_t>* bytes = m_keyboard->Store().Get(slot);
        return bytes ? SlotStore::NameOf(*bytes) : "Empty";
    }

    CMidiTrans& Link() { return m_frame->m_midiTrans; }
    CMiddleView& Bar() { return *FindMiddleView(m_frame.get()); }
    CTopLeftView& Slots() { return *FindTopLeftView(m_frame.get()); }
    CTopMiddleView& Transfer() { return *FindTopMiddleView(m_frame.get()); }
    CTopRightView& Repository() { return *FindTopRightView(m_frame.get()); }
    int DirectoryReads() const { return *m_directoryReads; }

    QTemporaryDir m_dir;
    QTemporaryDir m_locks;  // the keyboard locks of this test's window alone
    QString m_repository;
    QString m_scratch;
    bool m_bHadTmp = false;
    QByteArray m_savedTmp;
    RecordingPrompt m_prompt;
    ScopedPrompt m_scoped{m_prompt};
    std::unique_ptr<SimulatedKeyboard> m_keyboard;
    std::shared_ptr<std::atomic<int>> m_directoryReads = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<int>> m_opens;
    std::shared_ptr<std::atomic<bool>> m_plugged;
    std::shared_ptr<std::atomic<bool>> m_pluggedBack;
    std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace korvana::test
