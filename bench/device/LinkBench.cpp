// The device link's own cost over the in-process loopback cable:
// - Transport: one 48-byte message out and a 10-byte acknowledgement back, backends alone.
// - SendFrame: the same per chunk through the port layer (completion, lock, wait and wake,
//   assembly, frame handler); the difference to Transport is what the link adds per chunk.
// - SendFileToSimulator: a 20 KB song into the simulated keyboard, with the waiting thread's
//   CPU time per chunk and share of a core.
// - PacedSendFrame: the same frame against a device that takes 1 ms per acknowledgement, as a
//   MIDI cable does (a 48-byte message alone takes 15 ms at 31250 baud): the share of a core
//   the waiting thread then uses.
// - CapacityRefusal: time from the keyboard's status-6 reply to SendFile's return.

#include <benchmark/benchmark.h>

#include <time.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "SongImage.h"
#include "common/Prompt.h"
#include "common/RecordingPrompt.h"
#include "device/CMidiTrans.h"
#include "device/Frame.h"
#include "device/LoopbackBackend.h"
#include "device/SysExChunks.h"
#include "simulator/SimulatedKeyboard.h"

namespace korvana {
namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The far end of the cable: acknowledges every message at once, and optionally answers with
// a reply frame (recording when it was sent).
struct Acknowledger {
    explicit Acknowledger(std::chrono::microseconds pace = {})
        : cable(MakeLoopbackCable("bench", "bench")) {
        cable.second->Open(0, 0, [this, pace](std::span<const std::uint8_t> message) {
            if (pace.count() > 0)
                std::this_thread::sleep_for(pace);
            cable.second->Send(MakeChunkAck());
            if (!reply.empty() && message.size() == 32) {
                replySent = Clock::now();
                cable.second->Send(reply);
            }
        });
    }
    ~Acknowledger() { cable.second->Close(); }
    LoopbackCable cable;
    Bytes reply;
    Clock::time_point replySent;
};

// A link over a given backend, opened, for one benchmark.
struct DeviceUse {
    explicit DeviceUse(std::unique_ptr<MidiBackend> backend) : device(&link.Device()) {
        device->SetBackend(std::move(backend));
        link.EnumDevices();
        device->OpenPorts(0, 0);
    }
    CMidiTrans link;
    CMidiDevice* device;
};

void Transport(benchmark::State& state) {
    Acknowledger far;
    auto near = std::move(far.cable.first);
    std::mutex mutex;
    std::condition_variable arrived;
    bool acked = false;
    near->Open(0, 0, [&](std::span<const std::uint8_t>) {
        std::lock_guard lock(mutex);
        acked = true;
        arrived.notify_one();
    });
    const Bytes message(kMaxMessageSize, 0x11);
    for (auto _ : state) {
        near->Send(message);
        std::unique_lock lock(mutex);
        arrived.wait(lock, [&] { return acked; });
        acked = false;
    }
    near->Close();
}
BENCHMARK(Transport)->UseRealTime();

// Sends a 20 KB song's data frame through the port layer; reports time and the waiting
// thread's CPU per chunk, and its share of a core.
void SendFrameAgainst(benchmark::State& state, Acknowledger& far) {
    DeviceUse use(std::move(far.cable.first));
    Bytes frame(2 * 20000 + 12, 0x11);
    frame.front() = kSysExStart;
    frame.back() = kSysExEnd;
    const auto chunks = static_cast<double>(SplitFrame(frame).size());
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double cpuStart = ThreadCpuSeconds();
        const Clock::time_point start = Clock::now();
        if (!use.device->SendFrame(frame))
            state.SkipWithError("a chunk was not acknowledged");
        wall += std::chrono::duration<double>(Clock::now() - start).count();
        cpu += ThreadCpuSeconds() - cpuStart;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["chunks"] = chunks;
    state.counters["us_per_chunk"] = 1e6 * wall / runs / chunks;
    state.counters["cpu_us_per_chunk"] = 1e6 * cpu / runs / chunks;
    state.counters["waiting_thread_cpu_pct"] = 100.0 * cpu / wall;
}

void SendFrame(benchmark::State& state) {
    Acknowledger far;
    SendFrameAgainst(state, far);
}
BENCHMARK(SendFrame)->UseRealTime()->Unit(benchmark::kMillisecond);

void PacedSendFrame(benchmark::State& state) {
    Acknowledger far(std::chrono::milliseconds(1));
    SendFrameAgainst(state, far);
}
BENCHMARK(PacedSendFrame)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void SendFileToSimulator(benchmark::State& state) {
    SimulatedKeyboard keyboard;
    DeviceUse use(keyboard.TakeProgramSide());
    std::string name;
    if (!use.link.ConnectDevice(0, name, 0)) {
        state.SkipWithError("no connection");
        return;
    }
    const Bytes image = test::SongImage(20000 - 82);
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double cpuStart = ThreadCpuSeconds();
        const Clock::time_point start = Clock::now();
        if (!use.link.SendFile(image, 0, 500))
            state.SkipWithError("send failed");
        wall += std::chrono::duration<double>(Clock::now() - start).count();
        cpu += ThreadCpuSeconds() - cpuStart;
    }
    const auto chunks = static_cast<double>(CMidiTrans::SendSteps(image.size()));
    const auto runs = static_cast<double>(state.iterations());
    state.counters["chunks_per_song"] = chunks;
    state.counters["us_per_chunk"] = 1e6 * wall / runs / chunks;
    state.counters["cpu_us_per_chunk"] = 1e6 * cpu / runs / chunks;
    state.counters["waiting_thread_cpu_pct"] = 100.0 * cpu / wall;
}
BENCHMARK(SendFileToSimulator)->UseRealTime()->Unit(benchmark::kMillisecond);

void CapacityRefusal(benchmark::State& state) {
    Acknowledger far;
    far.reply = MakeFrame(kCmdFile, Bytes{kStatusCapacity});
    DeviceUse use(std::move(far.cable.first));
    RecordingPrompt prompt;
    ScopedPrompt scope(prompt);
    const Bytes image = test::SongImage(20000 - 82);
    for (auto _ : state) {
        use.link.SendFile(image, 0, 500);
        const auto latency = Clock::now() - far.replySent;
        state.SetIterationTime(std::chrono::duration<double>(latency).count());
    }
}
BENCHMARK(CapacityRefusal)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvana

BENCHMARK_MAIN();
