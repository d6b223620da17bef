// A backup of 16 slots of 20 KB against the in-process simulated keyboard, paired in every
// iteration with its peer, 16 separate fetches of the same slots into files: a backup may add no
// per-chunk cost of its own (only the slot list, the digests and the manifest), so the ratio
// of the two should stay within 1.1.

#include <benchmark/benchmark.h>

#include <chrono>

#include "SongImage.h"
#include "common/SafeFile.h"
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

void BackupAgainstSixteenFetches(benchmark::State& state) {
    SimulatorOptions options;
    options.slotCount = kSlots;
    options.capacity = kSlots * kSongSize;
    SimulatedKeyboard keyboard(options);
    for (int slot = 0; slot < kSlots; ++slot)
        keyboard.Store().Put(slot,
                             test::SongImage(kSongSize - 82, static_cast<std::uint8_t>(slot)));
    CMidiTrans link;
    link.Device().SetBackend(keyboard.TakeProgramSide());
    link.EnumDevices();
    std::string name;
    if (!link.ConnectDevice(0, name, 0)) {
        state.SkipWithError("no connection");
        return;
    }
    double fetches = 0;
    double backups = 0;
    bool backupFirst = false;
    for (auto _ : state) {
        TempFolder folder;
        // Each goes first every other time, so that neither gains from the other's warm-up.
        auto fetchAll = [&] {
            const Clock::time_point start = Clock::now();
            for (int slot = 0; slot < kSlots; ++slot) {
                if (!link.ReceiveFile(folder.Path() / std::to_string(slot), slot, kFetchTimeout))
                    state.SkipWithError("fetch failed");
            }
            fetches += Seconds(start);
        };
        auto backUp = [&] {
            const Clock::time_point start = Clock::now();
            if (!BackupKeyboard(link, folder.Path() / "backup", name, {}).Complete())
                state.SkipWithError("backup failed");
            backups += Seconds(start);
        };
        if (backupFirst) {
            backUp();
            fetchAll();
        } else {
            fetchAll();
            backUp();
        }
        backupFirst = !backupFirst;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["fetches_ms"] = 1e3 * fetches / runs;
    state.counters["backup_ms"] = 1e3 * backups / runs;
    state.counters["backup_per_fetches"] = backups / fetches;
    link.Device().SetBackend(nullptr);
}
BENCHMARK(BackupAgainstSixteenFetches)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvana

BENCHMARK_MAIN();
