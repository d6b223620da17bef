#include "device/LoopbackBackend.h"

#include <algorithm>

namespace korvana {

LoopbackWire::LoopbackWire(std::size_t splitSize)
    : m_splitSize(splitSize), m_thread([this] { Run(); }) {}

LoopbackWire::~LoopbackWire() {
    {
        std::lock_guard lock(m_queueMutex);
        m_bStopping = true;
    }
    m_queueChanged.notify_one();
    m_thread.join();
}

void LoopbackWire::Push(std::span<const std::uint8_t> message) {
    {
        std::lock_guard lock(m_queueMutex);
        m_queue.emplace_back(message.begin(), message.end());
    }
    m_queueChanged.notify_one();
}

void LoopbackWire::SetReceiver(ReceiveCallback receiver) {
    std::lock_guard lock(m_receiverMutex);
    m_receiver = std::move(receiver);
}

void LoopbackWire::Run() {
    for (;;) {
        std::vector<std::uint8_t> message;
        {
            std::unique_lock lock(m_queueMutex);
            m_queueChanged.wait(lock, [this] { return m_bStopping || !m_queue.empty(); });
            if (m_bStopping)
                return;
            message = std::move(m_queue.front());
            m_queue.pop_front();
        }
        std::lock_guard lock(m_receiverMutex);
        if (!m_receiver)
            continue;
        const std::size_t piece = m_splitSize > 0 ? m_splitSize : message.size();
        for (std::size_t at = 0; at < message.size(); at += piece) {
            const std::size_t length = std::min(piece, message.size() - at);
            m_receiver(std::span<const std::uint8_t>(message.data() + at, length));
        }
    }
}

LoopbackBackend::LoopbackBackend(std::string portName, std::shared_ptr<LoopbackWire> incoming,
                                 std::shared_ptr<LoopbackWire> outgoing)
    : m_strPortName(std::move(portName)),
      m_pIncoming(std::move(incoming)),
      m_pOutgoing(std::move(outgoing)) {}

LoopbackBackend::~LoopbackBackend() {
    Close();
}

bool LoopbackBackend::Open(int inIndex, int outIndex, ReceiveCallback onReceive) {
    Close();
    if (inIndex != 0 || outIndex != 0)
        return false;
    m_pIncoming->SetReceiver(std::move(onReceive));
    m_bOpen = true;
    return true;
}

void LoopbackBackend::Close() {
    m_bOpen = false;
    m_pIncoming->SetReceiver({});
}

bool LoopbackBackend::Send(std::span<const std::uint8_t> message) {
    if (!m_bOpen)
        return false;
    m_pOutgoing->Push(message);
    return true;
}

LoopbackCable MakeLoopbackCable(const std::string& firstPortName, const std::string& secondPortName,
                                std::size_t splitSize) {
    auto toSecond = std::make_shared<LoopbackWire>(splitSize);
    auto toFirst = std::make_shared<LoopbackWire>(splitSize);
    return {std::make_unique<LoopbackBackend>(firstPortName, toFirst, toSecond),
            std::make_unique<LoopbackBackend>(secondPortName, toSecond, toFirst)};
}

}  // namespace korvana
