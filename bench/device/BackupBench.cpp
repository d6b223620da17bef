// A backup of 16 slots of 20 KB against the in-process simulated keyboard, paired in every
// iteration with its peer, 16 separate fetches of the same slots into files: a backup may add no
// per-chunk cost of its own (only the slot list, the digests and the manifest), so the ratio
// of the two should stay within 1.1. The ratio is taken iteration by iteration and its median
// reported, so that one iteration slowed by the machine does not move it.
// BackupExtras times what a backup does beyond its fetches, each piece beside one fetch.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "SongImage.h"
#include "common/SafeFile.h"
#include "common/Sha256.h"
#include "device/BackupManifest.h"
#include "device/CMidiTrans.h"
#include "device/KeyboardBackup.h"
#include "device/SongImageTransfer.h"
#include "simulator/SimulatedKeyboard.h"

namespace korvana {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSlots = 16;
constexpr std::size_t kSongSize = 20000;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A simulated keyboard whose slots all hold a song, and a link connected to it.
struct FullKeyboard {
    FullKeyboard() : keyboard(Options()) {
        for (int slot = 0; slot < kSlots; ++slot)
            keyboard.Store().Put(slot,
                                 test::SongImage(kSongSize - 82, static_cast<std::uint8_t>(slot)));
        link.Device().SetBackend(keyboard.TakeProgramSide());
        link.EnumDevices();
        connected = link.ConnectDevice(0, name, 0);
    }
    ~FullKeyboard() { link.Device().SetBackend(nullptr); }
    static SimulatorOptions Options() {
        SimulatorOptions options;
        options.slotCount = kSlots;
        options.capacity = kSlots * kSongSize;
        return options;
    }

    SimulatedKeyboard keyboard;
    CMidiTrans link;
    std::string name;
    bool connected = false;
};

void BackupAgainstSixteenFetches(benchmark::State& state) {
    FullKeyboard full;
    if (!full.connected) {
        state.SkipWithError("no connection");
        return;
    }
    CMidiTrans& link = full.link;
    double fetches = 0;
    double backups = 0;
    std::vector<double> ratios;
    bool backupFirst = false;
    for (auto _ : state) {
        TempFolder folder;
        double fetch = 0;
        double backup = 0;
        // Each goes first every other time, so that neither gains from the other's warm-up.
        auto fetchAll = [&] {
            const Clock::time_point start = Clock::now();
            for (int slot = 0; slot < kSlots; ++slot) {
                if (!link.ReceiveFile(folder.Path() / std::to_string(slot), slot, kFetchTimeout))
                    state.SkipWithError("fetch failed");
            }
            fetch = Seconds(start);
        };
        auto backUp = [&] {
            const Clock::time_point start = Clock::now();
            if (!BackupKeyboard(link, folder.Path() / "backup", full.name, {}).Complete())
                state.SkipWithError("backup failed");
            backup = Seconds(start);
        };
        if (backupFirst) {
            backUp();
            fetchAll();
        } else {
            fetchAll();
            backUp();
        }
        backupFirst = !backupFirst;
        fetches += fetch;
        backups += backup;
        ratios.push_back(backup / fetch);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["fetches_ms"] = 1e3 * fetches / runs;
    state.counters["backup_ms"] = 1e3 * backups / runs;
    state.counters["backup_per_fetches"] = Median(ratios);
}
BENCHMARK(BackupAgainstSixteenFetches)->UseRealTime()->Unit(benchmark::kMillisecond);

void BackupExtras(benchmark::State& state) {
    FullKeyboard full;
    if (!full.connected) {
        state.SkipWithError("no connection");
        return;
    }
    std::vector<double> fetch, list, digests, manifest;
    for (auto _ : state) {
        TempFolder folder;
        Clock::time_point start = Clock::now();
        std::vector<std::uint8_t> image;
        if (!full.link.ReceiveImage(kSlots - 1, kFetchTimeout, image))
            state.SkipWithError("fetch failed");
        fetch.push_back(Seconds(start));

        start = Clock::now();
        std::vector<std::string> names;
        if (!full.link.ReadDirectory(names))
            state.SkipWithError("no slot list");
        list.push_back(Seconds(start));

        start = Clock::now();
        BackupManifest written;
        for (int slot = 0; slot < kSlots; ++slot)
            written.backedUp.push_back(
                {slot, names[slot], BackupFileName(slot), image.size(), Sha256Hex(image)});
        digests.push_back(Seconds(start));

        start = Clock::now();
        const std::string json = ManifestJson(written);
        if (!WriteFileAtomically(
                folder.Path() / kManifestFileName,
                std::span(reinterpret_cast<const std::uint8_t*>(json.data()), json.size())))
            state.SkipWithError("manifest not written");
        manifest.push_back(Seconds(start));
    }
    // Medians of the iterations, in milliseconds.
    state.counters["one_fetch_ms"] = 1e3 * Median(fetch);
    state.counters["slot_list_ms"] = 1e3 * Median(list);
    state.counters["16_digests_ms"] = 1e3 * Median(digests);
    state.counters["manifest_ms"] = 1e3 * Median(manifest);
}
BENCHMARK(BackupExtras)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvana

BENCHMARK_MAIN();
