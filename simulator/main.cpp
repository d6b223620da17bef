// korvana-keyboard: a simulated keyboard on virtual MIDI ports of its own, answering the
// keyboard's transfer protocol until it is interrupted.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "device/RtMidiBackend.h"
#include "simulator/KeyboardSimulator.h"
#include "simulator/SlotStore.h"

namespace {

constexpr const char* kUsage =
    R"(Usage: korvana-keyboard [--name NAME] [--slots N] [--capacity BYTES]
                        [--store DIR] [--store-delay MS] [--api NAME]
Opens a MIDI input and output port named NAME (default "Korvana Keyboard") and answers the
keyboard's transfer protocol on them until interrupted.
  --slots N          number of song slots, 1 to 256 (default 16)
  --capacity BYTES   room for songs over all slots (default 262144)
  --store DIR        keep the slots in DIR so that they survive a restart
  --store-delay MS   take MS milliseconds longer to store each song, as a slow memory does
  --api NAME         MIDI system: alsa or jack (default: KORVANA_MIDI_API, else the platform's)
)";

int Usage(const std::string& text) {
    std::fprintf(stderr, "korvana-keyboard: %s\n%s", text.c_str(), kUsage);
    return 2;
}

std::optional<unsigned long long> ParseNumber(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 18)
        return std::nullopt;
    return std::stoull(text);
}

struct ProgramOptions {
    korvana::SimulatorOptions simulator;
    korvana::SimulatorFaults faults;
    std::optional<std::string> store;
    std::string api;
};

// Fills options from argv; returns a usage error text, or nothing when all was understood.
std::optional<std::string> Parse(const std::vector<std::string>& words, ProgramOptions& options) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (i + 1 >= words.size())
            return "unknown option or missing value: " + word;
        const std::string& value = words[++i];
        if (word == "--name" && !value.empty()) {
            options.simulator.name = value;
        } else if (word == "--slots") {
            const auto slots = ParseNumber(value);
            if (!slots || *slots < 1 || *slots > 256)
                return "--slots takes a number from 1 to 256";
            options.simulator.slotCount = static_cast<int>(*slots);
        } else if (word == "--capacity") {
            const auto capacity = ParseNumber(value);
            if (!capacity)
                return "--capacity takes a number of bytes";
            options.simulator.capacity = *capacity;
        } else if (word == "--store") {
            options.store = value;
        } else if (word == "--store-delay") {
            const auto delay = ParseNumber(value);
            if (!delay || *delay > 60000)
                return "--store-delay takes milliseconds from 0 to 60000";
            options.faults.storeDelay = std::chrono::milliseconds(*delay);
        } else if (word == "--api") {
            options.api = value;
        } else {
            return "unknown option " + word;
        }
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    for (const std::string& word : words) {
        if (word == "--help" || word == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    ProgramOptions options;
    if (const char* env = std::getenv("KORVANA_MIDI_API"); env && *env)
        options.api = env;
    if (auto error = Parse(words, options))
        return Usage(*error);
    if (!korvana::RtMidiBackend::IsKnownApi(options.api))
        return Usage("unknown MIDI system '" + options.api + "'");

    korvana::SlotStore store(options.simulator.slotCount, options.store);
    std::string error;
    std::vector<std::string> skipped;
    const bool loaded = store.Load(error, skipped);
    for (const std::string& line : skipped)
        std::fprintf(stderr, "korvana-keyboard: %s\n", line.c_str());
    if (!loaded) {
        std::fprintf(stderr, "korvana-keyboard: %s\n", error.c_str());
        return 2;
    }

    // Stop signals are taken synchronously below, so the MIDI threads never see them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    auto backend = korvana::RtMidiBackend::Create(options.api, options.simulator.name, error);
    if (!backend) {
        std::fprintf(stderr, "korvana-keyboard: %s\n", error.c_str());
        return 1;
    }
    const std::string name = options.simulator.name;
    korvana::KeyboardSimulator simulator(
        options.simulator, store,
        [&backend](std::span<const std::uint8_t> message) { backend->Send(message); });
    simulator.SetFaults(options.faults);
    if (!backend->OpenVirtual(name, [&simulator](std::span<const std::uint8_t> buffer) {
            simulator.OnBuffer(buffer);
        })) {
        std::fprintf(stderr, "korvana-keyboard: cannot open the ports \"%s\" on %s\n", name.c_str(),
                     backend->ApiName().c_str());
        return 1;
    }
    std::printf("%s: ready on %s\n", name.c_str(), backend->ApiName().c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    // Nothing is sent once the ports begin to close, and clients are closed before the process
    // ends, or a JACK server stalls on them.
    simulator.Stop();
    backend->Close();
    backend.reset();
    return 0;
}
