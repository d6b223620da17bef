#pragma once

// The only place that knows a MIDI system: it lists port names, opens one input and one output
// port as a pair, sends whole messages and hands every received buffer to a callback.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace korvana {

// Called on the backend's own thread with one received buffer. A driver may split one System
// Exclusive message over several buffers; joining them is the caller's business.
using ReceiveCallback = std::function<void(std::span<const std::uint8_t>)>;

class MidiBackend {
public:
    virtual ~MidiBackend() = default;

    virtual std::vector<std::string> InputNames() = 0;
    virtual std::vector<std::string> OutputNames() = 0;

    // Opens input inIndex and output outIndex (positions in the name lists) and starts input.
    // Any pair open before is closed first. False leaves both closed.
    virtual bool Open(int inIndex, int outIndex, ReceiveCallback onReceive) = 0;

    // Closes both ports; once it returns the callback is not running and will not run again.
    virtual void Close() = 0;

    // Sends one complete message. Callers serialise calls.
    virtual bool Send(std::span<const std::uint8_t> message) = 0;
};

}  // namespace korvana
