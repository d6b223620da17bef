// Tearing the device down while the keyboard's frames keep arriving: every delivery in progress
// ends before the device goes, and nothing reaches the frame handler or the output afterwards.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "device/CMidiTrans.h"
#include "device/Frame.h"
#include "device/LoopbackBackend.h"

namespace korvana::test {
namespace {

// A directory entry, which the handler takes and answers, and a copy with a broken checksum,
// which it answers with the error reply whatever it waits for: both answers leave through the
// device from the input thread.
std::vector<std::uint8_t> DirectoryEntry() {
    const std::uint8_t payload[] = {kStatusOk, 0, 4, 'S', 'o', 'n', 'g'};
    return MakeFrame(kCmdDirectory, payload);
}
std::vector<std::uint8_t> Corrupted(std::vector<std::uint8_t> frame) {
    frame[frame.size() - 2] ^= 0x01;
    return frame;
}

TEST(ShutdownTest, LinkDestroyedWhileFramesArriveStopsDeliveringFirst) {
    const std::vector<std::uint8_t> entry = DirectoryEntry();
    const std::vector<std::uint8_t> corrupted = Corrupted(entry);
    for (int round = 0; round < 20; ++round) {
        // Split buffers, as some drivers deliver them.
        LoopbackCable cable = MakeLoopbackCable("Korvana", "Keyboard", 7);
        LoopbackBackend& keyboard = *cable.second;
        ASSERT_TRUE(keyboard.Open(0, 0, {}));
        std::atomic<bool> stop{false};
        std::thread sender([&] {
            while (!stop) {
                keyboard.Send(entry);
                keyboard.Send(corrupted);
                std::this_thread::sleep_for(std::chrono::microseconds(50));
            }
        });
        auto link = std::make_unique<CMidiTrans>();
        link->Device().SetBackend(std::move(cable.first));
        link->EnumDevices();
        ASSERT_TRUE(link->Device().OpenPorts(0, 0));
        link->SetTransState(kStateDirectoryWait);
        std::this_thread::sleep_for(std::chrono::milliseconds(1 + round % 3));
        // Whatever still arrives finds the ports closed: the sanitizers see no use of the state
        // the handler writes once it is gone.
        link.reset();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        stop = true;
        sender.join();
    }
}

}  // namespace
}  // namespace korvana::test
