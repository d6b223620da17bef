#pragma once

// A program's contact with the keyboard: lists the ports of the MIDI system, opens one input and
// one output port as a pair, joins received buffers into frames for the frame handler, and sends
// System Exclusive messages, long frames in acknowledged chunks. Owned by the CMidiTrans that
// speaks the protocol over it.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/FrameAssembler.h"
#include "device/MidiBackend.h"
#include "device/TransferLimits.h"

namespace korvana {

// Receives each assembled frame on the input thread.
using FrameHandlerFunction = std::function<void(const std::uint8_t* pFrame, int nLength)>;
// Lets the caller's event loop run between polls of a wait (the window passes its own).
using PumpFunction = std::function<void()>;
// Called on the waiting thread once per acknowledged chunk while m_bProgressNotify is 1.
using ProgressFunction = std::function<void()>;

enum PortState : int { kPortClosed = 0, kPortOpen = 1, kPortStarted = 2 };

struct MidiDevEntry {
    std::uint32_t nId = 0;
    std::string strName;
};

class CMidiDevice {
public:
    // handler receives every frame; it is fixed for the device's lifetime.
    explicit CMidiDevice(FrameHandlerFunction handler);
    // Closes the ports: once it returns no frame reaches the handler.
    virtual ~CMidiDevice();
    CMidiDevice(const CMidiDevice&) = delete;
    CMidiDevice& operator=(const CMidiDevice&) = delete;

    // Installs the MIDI system to use; closes any open pair first.
    void SetBackend(std::unique_ptr<MidiBackend> backend);
    // The pump runs at least every interval while a wait lasts.
    void SetPump(PumpFunction pump, std::chrono::milliseconds interval);
    // The function each acknowledged chunk calls while m_bProgressNotify is 1.
    void SetProgress(ProgressFunction progress);

    // Refreshes both port tables; leaves both ports closed.
    void EnumDevices();
    // Opens the pair at these table positions and starts input.
    bool OpenPorts(int nInId, int nOutId);
    void ClosePorts();
    bool IsOpen() const { return m_nInState == kPortStarted && m_nOutState == kPortOpen; }

    // Sends one piece of at most 47 bytes (or a whole frame of at most 46), completed into a
    // message of its own. Safe from the input thread and the waiting thread at once.
    bool SendSysEx(std::span<const std::uint8_t> piece);
    // Sends a whole frame in pieces, waiting for the acknowledgement of each; gives up at the
    // deadline, and before the next piece once *stop is 1 (the piece under way is finished).
    bool SendFrame(std::span<const std::uint8_t> frame,
                   std::chrono::steady_clock::time_point deadline =
                       std::chrono::steady_clock::time_point::max(),
                   const std::atomic<int>* stop = nullptr);

    // Runs the caller's pump once.
    void PumpMessages();
    // Pumps and sleeps until done() holds or more than timeout has passed; wakes as soon as the
    // input thread reports a change. Returns done()'s last value.
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Wakes a running wait: called after every change of a shared word.
    void Notify();
    // The frame handler saw the device acknowledge a chunk.
    void OnChunkAck();

    std::uint32_t m_nInDevs = 0;
    std::uint32_t m_nOutDevs = 0;
    std::vector<MidiDevEntry> m_InDevs;
    std::vector<MidiDevEntry> m_OutDevs;
    std::atomic<PortState> m_nInState{kPortClosed};   // closed, or open and started
    std::atomic<PortState> m_nOutState{kPortClosed};  // closed or open
    std::atomic<int> m_bProgressNotify{0};
    std::atomic<int> m_bChunkAck{0};  // the device acknowledged the last chunk sent

private:
    void MidiInCallback(std::span<const std::uint8_t> buffer);

    const FrameHandlerFunction m_pfnFrameHandler;
    std::unique_ptr<MidiBackend> m_pBackend;
    std::mutex m_sendMutex;  // one message at a time on the output port
    std::atomic<int> m_bInputStopping{0};
    FrameAssembler m_assembler;  // touched only by the input thread

    PumpFunction m_pump;
    std::chrono::milliseconds m_pumpInterval{10};
    ProgressFunction m_progress;

    std::mutex m_signalMutex;
    std::condition_variable m_signal;
    std::uint64_t m_nGeneration = 0;
};

}  // namespace korvana
