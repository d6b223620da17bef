// Sends the same 20 KB song again and again to a keyboard on real MIDI ports and reports songs
// per minute and acknowledged chunks per second. Run by bench/run-jack-bench.sh against
// korvana-keyboard on a private JACK server.
// Usage: device_jack_driver API PORT-TEXT SONGS

#include <chrono>
#include <cstdio>
#include <string>

#include "SongImage.h"
#include "device/CMidiTrans.h"
#include "device/RtMidiBackend.h"

namespace {

constexpr std::size_t kSongSize = 20000;

int FindPort(const std::vector<korvana::MidiDevEntry>& ports, const std::string& text) {
    for (const auto& port : ports) {
        if (port.strName.find(text) != std::string::npos)
            return static_cast<int>(port.nId);
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace korvana;
    if (argc != 4) {
        std::fprintf(stderr, "usage: device_jack_driver API PORT-TEXT SONGS\n");
        return 2;
    }
    const int songs = std::stoi(argv[3]);
    std::string error;
    auto backend = RtMidiBackend::Create(argv[1], "Korvana bench", error);
    if (!backend) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    CMidiTrans link;
    CMidiDevice* device = &link.Device();
    device->SetBackend(std::move(backend));
    link.EnumDevices();
    const int in = FindPort(device->m_InDevs, argv[2]);
    const int out = FindPort(device->m_OutDevs, argv[2]);
    std::string name;
    int result = 1;
    if (in >= 0 && out >= 0 && link.ConnectDevice(in, name, out)) {
        const auto image = test::SongImage(kSongSize - 82);
        std::size_t chunks = 0;
        link.SetProgress([&] { ++chunks; });
        int sent = 0;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < songs; ++i)
            sent += link.SendFile(image, i % 4, 500) ? 1 : 0;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        link.SetProgress(nullptr);
        std::printf(
            "%d of %d songs of %zu bytes in %.2f s: %.1f songs/minute, %.0f chunks/second\n", sent,
            songs, kSongSize, seconds, 60.0 * sent / seconds,
            static_cast<double>(chunks) / seconds);
        result = sent == songs ? 0 : 1;
    }
    return result;
}
