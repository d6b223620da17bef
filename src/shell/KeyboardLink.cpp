#include "shell/KeyboardLink.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <string>

#include "device/RtMidiBackend.h"
#include "shell/CCJShell.h"
#include "simulator/SimulatedKeyboard.h"

namespace korvana {

namespace {

// A wait pumps before and after every chunk; letting Qt run at most this often keeps the window
// fluent without slowing a fast link down.
constexpr std::chrono::milliseconds kPumpGap{10};

}  // namespace

PumpFunction MakeWindowPump() {
    return [last = std::chrono::steady_clock::time_point{}]() mutable {
        const auto now = std::chrono::steady_clock::now();
        if (now - last < kPumpGap) {
            return;
        }
        last = now;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    };
}

void AttachToWindow(CMidiTrans& link, std::unique_ptr<MidiBackend> backend) {
    link.Device().SetBackend(std::move(backend));
    link.Device().SetPump(MakeWindowPump(), kPumpInterval);
}

std::unique_ptr<MidiBackend> MakeWindowBackend(const std::filesystem::path& storeFolder) {
    const char* api = std::getenv("KORVANA_MIDI_API");
    std::string error;
    std::unique_ptr<MidiBackend> real = RtMidiBackend::Create(api ? api : "", "Korvana", error);
    if (!real) {
        qWarning("Korvana: no MIDI ports of the system (%s); the simulated keyboard is still there",
                 error.c_str());
    }
    return WithSimulatedKeyboard(std::move(real), {}, storeFolder);
}

std::filesystem::path SimulatedKeyboardStore() {
    return CCJShell::ToPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                            QStringLiteral("/Simulated Keyboard"));
}

}  // namespace korvana
