// A 20 KB song sent to the in-process simulated keyboard, twice over the same cable:
//  - as korvana-cli sends it: conversion on a private copy, then the send with no event loop;
//  - from the window: the Download button's command, with its progress bar and the window's
//    event pump in every wait.
// Prints the median send times in milliseconds, the window's extra time in percent, and the
// progress bar's repaints per second during the window's sends, and how many of 60 repaints a
// second asked of the window (of its Download button) it carried out meanwhile.
//
//   korvana_send_bench [repetitions]
//   korvana_send_bench --song FILE      (writes the song and stops)
//   bench/run-jack-bench.sh  (the same over JACK, and korvana-cli's own sends)
//   KORVANA_SEND_SNAPSHOT=send.png QT_QPA_PLATFORM=xcb xvfb-run korvana_send_bench

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "common/RecordingPrompt.h"
#include "controls/CGdipButton.h"
#include "controls/CXProgressCtrl.h"
#include "conversion/PrivateConversion.h"
#include "device/CMidiTrans.h"
#include "resources/KorvanaResources.h"
#include "shell/CCJShell.h"
#include "shell/CMainFrame.h"
#include "shell/CTopLeftView.h"
#include "shell/CTopMiddleView.h"
#include "shell/CTopRightView.h"
#include "shell/DevListCtrl.h"
#include "shell/FramePanes.h"
#include "shell/KeyboardLink.h"
#include "shell/RepListCtrl.h"
#include "simulator/SimulatedKeyboard.h"

namespace korvana {
namespace {

constexpr int kPpqn = 192;

QByteArray Quantity(quint32 value) {
    QByteArray bytes(1, char(value & 0x7F));
    while ((value >>= 7) != 0) {
        bytes.prepend(char((value & 0x7F) | 0x80));
    }
    return bytes;
}

QByteArray Track(const QByteArray& body) {
    QByteArray track("MTrk");
    for (int shift : {24, 16, 8, 0}) {
        track += char((body.size() >> shift) & 0xFF);
    }
    return track + body;
}

// A two-track drum pattern of 160 bars of sixteenths: about 20 KB.
QByteArray DrumSong() {
    constexpr int kBars = 160;
    const int end = kBars * 4 * kPpqn;
    QByteArray tempo(
        "\x00\xFF\x03\x05"
        "Bench\x00\xFF\x58\x04\x04\x02\x18\x08"
        "\x00\xFF\x51\x03\x07\xA1\x20",
        24);
    tempo += Quantity(end) + QByteArray("\xFF\x2F\x00", 3);
    QByteArray drums;
    int now = 0;
    const char kNotes[] = {42, 36, 38, 46};
    for (int hit = 0; hit < kBars * 16; ++hit) {
        const int at = hit * kPpqn / 4;
        const char note = kNotes[hit % 4];
        drums += Quantity(at - now) + QByteArray("\x99", 1) + note + char(100);
        drums += Quantity(24) + QByteArray("\x89", 1) + note + char(64);
        now = at + 24;
    }
    drums += Quantity(end - now) + QByteArray("\xFF\x2F\x00", 3);
    return QByteArray("MThd\x00\x00\x00\x06\x00\x01\x00\x02\x00\xC0", 14) + Track(tempo) +
           Track(drums);
}

// Counts the paints of the widget it watches.
class PaintCounter : public QObject {
public:
    int m_nPaints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++m_nPaints;
        }
        return false;
    }
};

class TimedPrompt : public RecordingPrompt {
public:
    using RecordingPrompt::Message;
    void Message(std::string_view text, std::string_view caption, PromptIcon icon) override {
        if (text == "Download successfully!" && m_pClock) {
            m_nSentAt = m_pClock->nsecsElapsed();
        }
        RecordingPrompt::Message(text, caption, icon);
    }
    const QElapsedTimer* m_pClock = nullptr;
    qint64 m_nSentAt = -1;
};

int FindPort(const std::vector<MidiDevEntry>& ports, const std::string& part) {
    for (const MidiDevEntry& port : ports) {
        if (port.strName.find(part) != std::string::npos) {
            return static_cast<int>(port.nId);
        }
    }
    return -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Run(int repetitions) {
    QTemporaryDir dir;
    const QString repository = dir.path() + QStringLiteral("/Repository/");
    QDir().mkpath(repository);
    const QString song = repository + QStringLiteral("bench.mid");
    if (!test::WriteBytes(song, DrumSong())) {
        return 1;
    }
    TimedPrompt prompt;
    prompt.m_fallback = PromptAnswer::Yes;
    const ScopedPrompt scoped(prompt);

    // The in-process keyboard, or with KORVANA_BENCH_PORT=NAME the MIDI system's first port
    // whose name holds NAME (korvana-keyboard on JACK, say; KORVANA_MIDI_API picks the system).
    const std::string portName = qEnvironmentVariable("KORVANA_BENCH_PORT").toStdString();
    std::optional<SimulatedKeyboard> keyboard;
    CMainFrame frame(repository);
    CMidiTrans& link = frame.m_midiTrans;
    CMidiDevice* device = &link.Device();
    if (portName.empty()) {
        keyboard.emplace(SimulatorOptions{.slotCount = 2, .capacity = 1 << 20});
        AttachToWindow(link, keyboard->TakeProgramSide());
    } else {
        AttachToWindow(link, MakeWindowBackend(CCJShell::ToPath(dir.path() + "/store")));
    }
    frame.show();
    QApplication::processEvents();
    link.EnumDevices();
    std::string name;
    if (!link.ConnectDevice(FindPort(device->m_InDevs, portName), name,
                            FindPort(device->m_OutDevs, portName))) {
        return 1;
    }
    CTopLeftView& slotView = *FindTopLeftView(&frame);
    CTopMiddleView& transfer = *FindTopMiddleView(&frame);
    CTopRightView& songs = *FindTopRightView(&frame);
    slotView.Refresh();
    songs.RefreshRepository();
    songs.List()->SetRowSelected(0, true);

    const std::filesystem::path songPath = CCJShell::ToPath(song);
    const std::size_t imageSize = ConvertPrivately(songPath).image.size();
    if (imageSize == 0) {
        std::fprintf(stderr, "the bench song was refused\n");
        return 1;
    }
    std::vector<double> cliTimes;
    std::vector<double> windowTimes;
    std::vector<double> commandTimes;
    std::vector<double> paintRates;
    std::vector<double> askedRates;
    PaintCounter paints;
    transfer.m_progress->installEventFilter(&paints);
    PaintCounter askedPaints;
    transfer.m_btnSend->installEventFilter(&askedPaints);
    QTimer ticker;
    ticker.setInterval(1000 / 60);
    QObject::connect(&ticker, &QTimer::timeout, [&transfer] { transfer.m_btnSend->update(); });
    // With KORVANA_SEND_SNAPSHOT=FILE.png the window is pictured halfway through its first send.
    const QString snapshot = qEnvironmentVariable("KORVANA_SEND_SNAPSHOT");
    bool pictured = snapshot.isEmpty();
    QObject::connect(transfer.m_progress, &QProgressBar::valueChanged, [&](int value) {
        if (!pictured && value >= transfer.m_progress->maximum() / 2) {
            pictured = frame.screen()->grabWindow(frame.winId()).save(snapshot);
            std::printf("pictured the window at %d of %d in %s\n", value,
                        transfer.m_progress->maximum(), qPrintable(snapshot));
        }
    });
    int failures = 0;
    for (int run = 0; run < repetitions; ++run) {
        // As korvana-cli: no event loop runs while it waits.
        device->SetPump(nullptr, kPumpInterval);
        QElapsedTimer clock;
        clock.start();
        const ConversionOutcome conversion = ConvertPrivately(songPath);
        // A real link may miss a chunk's acknowledgement under load: such sends are counted
        // and left out of the figures.
        if (!link.SendFile(conversion.image, 0, kSendTimeout)) {
            ++failures;
            continue;
        }
        cliTimes.push_back(clock.nsecsElapsed() / 1e6);

        // From the window: into the selected (occupied) slot, Overwrite? answered Yes.
        device->SetPump(MakeWindowPump(), kPumpInterval);
        slotView.m_wndDevList->clearSelection();
        slotView.m_wndDevList->SetRowSelected(1, true);
        paints.m_nPaints = 0;
        askedPaints.m_nPaints = 0;
        prompt.m_nSentAt = -1;
        prompt.m_pClock = &clock;
        ticker.start();
        clock.start();
        transfer.OnSend();
        const double command = clock.nsecsElapsed() / 1e6;
        ticker.stop();
        if (prompt.m_nSentAt < 0) {
            ++failures;
            cliTimes.pop_back();
            continue;
        }
        const double sent = prompt.m_nSentAt / 1e6;
        windowTimes.push_back(sent);
        commandTimes.push_back(command);
        paintRates.push_back(paints.m_nPaints * 1000.0 / sent);
        askedRates.push_back(askedPaints.m_nPaints * 1000.0 / command);
    }
    std::printf("%d of %d repetitions failed\n", failures, repetitions);
    if (cliTimes.empty()) {
        return 1;
    }
    const double cli = Median(cliTimes);
    const double window = Median(windowTimes);
    std::printf("song %lld bytes, image %zu bytes, %d repetitions\n",
                static_cast<long long>(QFileInfo(song).size()), imageSize, repetitions);
    std::printf("send as korvana-cli:      %8.1f ms\n", cli);
    std::printf("send from the window:     %8.1f ms (%+.1f %%)\n", window,
                (window - cli) * 100.0 / cli);
    std::printf("whole command with the two slot list reads: %8.1f ms\n", Median(commandTimes));
    std::printf("progress bar repaints:    %8.0f per second (lowest %.0f)\n", Median(paintRates),
                *std::min_element(paintRates.begin(), paintRates.end()));
    std::printf("window repaints (60 asked): %6.0f per second (lowest %.0f)\n", Median(askedRates),
                *std::min_element(askedRates.begin(), askedRates.end()));
    return 0;
}

}  // namespace
}  // namespace korvana

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    korvana::InitResources();
    if (argc == 3 && std::string(argv[1]) == "--song") {
        return korvana::test::WriteBytes(QString::fromLocal8Bit(argv[2]), korvana::DrumSong()) ? 0
                                                                                               : 1;
    }
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    return korvana::Run(repetitions);
}
