#pragma once

// A backend that records every message sent and plays the device from a script: a responder
// turns each sent message into the buffers the device answers with, delivered in order on a
// thread of their own as a driver would. By default it acknowledges every message.

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "device/Frame.h"
#include "device/LoopbackBackend.h"
#include "device/MidiBackend.h"

namespace korvana::test {

using Bytes = std::vector<std::uint8_t>;
using Responder = std::function<std::vector<Bytes>(const Bytes& sent)>;

inline std::vector<Bytes> AckOnly(const Bytes&) {
    return {MakeChunkAck()};
}

class RecordingBackend : public MidiBackend {
public:
    RecordingBackend() : m_pToProgram(std::make_shared<LoopbackWire>()) {}

    std::vector<std::string> InputNames() override { return {"Test in"}; }
    std::vector<std::string> OutputNames() override { return {"Test out"}; }
    bool Open(int inIndex, int outIndex, ReceiveCallback onReceive) override {
        if (inIndex != 0 || outIndex != 0)
            return false;
        m_pToProgram->SetReceiver(std::move(onReceive));
        return true;
    }
    void Close() override { m_pToProgram->SetReceiver({}); }
    bool Send(std::span<const std::uint8_t> message) override {
        Bytes sent(message.begin(), message.end());
        Responder responder;
        {
            std::lock_guard lock(m_mutex);
            m_sent.push_back(sent);
            responder = m_responder;
        }
        if (responder) {
            for (const Bytes& reply : responder(sent))
                m_pToProgram->Push(reply);
        }
        return true;
    }

    // Plays one buffer from the device.
    void Receive(const Bytes& buffer) { m_pToProgram->Push(buffer); }

    std::vector<Bytes> Sent() {
        std::lock_guard lock(m_mutex);
        return m_sent;
    }
    void SetResponder(Responder responder) {
        std::lock_guard lock(m_mutex);
        m_responder = std::move(responder);
    }

private:
    std::shared_ptr<LoopbackWire> m_pToProgram;
    std::mutex m_mutex;
    std::vector<Bytes> m_sent;
    Responder m_responder = AckOnly;
};

}  // namespace korvana::test
