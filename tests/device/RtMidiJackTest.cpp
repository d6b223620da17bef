// RtMidiBackend over a running JACK server: closing and destroying the pair while another client
// floods it with System Exclusive. JACK's process thread goes on delivering the events of its
// current cycle after a port is closed, so this is where a receiver swap that the input thread
// does not see turns into a crash. Without a reachable JACK server the cases are skipped; the
// integration tests run them on a private one.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "device/RtMidiBackend.h"

namespace korvana::test {
namespace {

using namespace std::chrono_literals;

constexpr char kFloodPort[] = "korvana-flood";

std::unique_ptr<RtMidiBackend> JackBackend(const std::string& clientName) {
    std::string error;
    return RtMidiBackend::Create("jack", clientName, error);
}

int PortIndex(const std::vector<std::string>& names) {
    const auto found = std::find_if(names.begin(), names.end(), [](const std::string& name) {
        return name.find(kFloodPort) != std::string::npos;
    });
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// A client with a virtual port pair that sends short System Exclusive messages back to back
// from a thread of its own for as long as it lives.
class Flood {
public:
    bool Start() {
        m_pBackend = JackBackend("KorvanaFlood");
        if (!m_pBackend || !m_pBackend->OpenVirtual(kFloodPort, {}))
            return false;
        m_thread = std::thread([this] {
            std::vector<std::uint8_t> message(46, 0x11);
            message.front() = 0xF0;
            message.back() = 0xF7;
            while (!m_bStop) {
                for (int i = 0; i < 16; ++i)
                    m_pBackend->Send(message);
                std::this_thread::sleep_for(200us);
            }
        });
        return true;
    }
    ~Flood() {
        m_bStop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::unique_ptr<RtMidiBackend> m_pBackend;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

class RtMidiJackTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!JackBackend("KorvanaProbe"))
            GTEST_SKIP() << "no JACK server reachable";
        ASSERT_TRUE(m_flood.Start());
    }

    // Opens backend on the flooding client's ports.
    static bool OpenOnFlood(RtMidiBackend& backend, const ReceiveCallback& onReceive) {
        const int in = PortIndex(backend.InputNames());
        const int out = PortIndex(backend.OutputNames());
        return in >= 0 && out >= 0 && backend.Open(in, out, onReceive);
    }

    Flood m_flood;
};

TEST_F(RtMidiJackTest, NothingIsDeliveredOnceClosedWhileInputKeepsArriving) {
    auto backend = JackBackend("KorvanaClose");
    ASSERT_TRUE(backend);
    std::atomic<bool> closed{false};
    std::atomic<int> received{0};
    std::atomic<int> afterClose{0};
    const ReceiveCallback onReceive = [&](std::span<const std::uint8_t>) {
        ++received;
        if (closed)
            ++afterClose;
    };
    for (int round = 0; round < 150; ++round) {
        closed = false;
        ASSERT_TRUE(OpenOnFlood(*backend, onReceive));
        std::this_thread::sleep_for(std::chrono::microseconds(500 + 97 * (round % 50)));
        backend->Close();
        closed = true;
    }
    EXPECT_GT(received.load(), 0);
    EXPECT_EQ(afterClose.load(), 0);
}

TEST_F(RtMidiJackTest, DestroyingTheOpenPairWhileInputArrivesIsSafe) {
    std::atomic<int> received{0};
    for (int round = 0; round < 40; ++round) {
        auto backend = JackBackend("KorvanaDestroy");
        ASSERT_TRUE(backend);
        ASSERT_TRUE(OpenOnFlood(*backend, [&](std::span<const std::uint8_t>) { ++received; }));
        std::this_thread::sleep_for(std::chrono::milliseconds(2 + round % 7));
    }
    EXPECT_GT(received.load(), 0);
}

}  // namespace
}  // namespace korvana::test
