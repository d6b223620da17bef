#pragma once

// An in-process MIDI cable for tests and the built-in simulated keyboard: two backends joined
// crosswise, each direction a queue delivered in order on a thread of its own, as a driver would.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/MidiBackend.h"

namespace korvana {

// One direction of the cable.
class LoopbackWire {
public:
    // splitSize > 0 delivers each message in buffers of at most that many bytes.
    explicit LoopbackWire(std::size_t splitSize = 0);
    ~LoopbackWire();
    LoopbackWire(const LoopbackWire&) = delete;
    LoopbackWire& operator=(const LoopbackWire&) = delete;

    void Push(std::span<const std::uint8_t> message);

    // Replaces the receiver (an empty one drops what arrives). Returns once no delivery to the
    // old receiver is running; must not be called from inside a delivery.
    void SetReceiver(ReceiveCallback receiver);

private:
    void Run();

    const std::size_t m_splitSize;
    std::mutex m_queueMutex;
    std::condition_variable m_queueChanged;
    std::deque<std::vector<std::uint8_t>> m_queue;
    bool m_bStopping = false;
    std::mutex m_receiverMutex;  // held for the whole of each delivery
    ReceiveCallback m_receiver;
    std::thread m_thread;
};

// One end of the cable: a single input and a single output port, both named portName.
class LoopbackBackend : public MidiBackend {
public:
    LoopbackBackend(std::string portName, std::shared_ptr<LoopbackWire> incoming,
                    std::shared_ptr<LoopbackWire> outgoing);
    ~LoopbackBackend() override;

    std::vector<std::string> InputNames() override { return {m_strPortName}; }
    std::vector<std::string> OutputNames() override { return {m_strPortName}; }
    bool Open(int inIndex, int outIndex, ReceiveCallback onReceive) override;
    void Close() override;
    bool Send(std::span<const std::uint8_t> message) override;

private:
    const std::string m_strPortName;
    std::shared_ptr<LoopbackWire> m_pIncoming;
    std::shared_ptr<LoopbackWire> m_pOutgoing;
    std::atomic<bool> m_bOpen{false};
};

struct LoopbackCable {
    std::unique_ptr<LoopbackBackend> first;   // sees its port as firstPortName
    std::unique_ptr<LoopbackBackend> second;  // sees its port as secondPortName
};

LoopbackCable MakeLoopbackCable(const std::string& firstPortName, const std::string& secondPortName,
                                std::size_t splitSize = 0);

}  // namespace korvana
