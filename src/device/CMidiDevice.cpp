#include "device/CMidiDevice.h"

#include <utility>

#include "device/SysExChunks.h"

namespace korvana {

CMidiDevice::CMidiDevice(FrameHandlerFunction handler) : m_pfnFrameHandler(std::move(handler)) {}

CMidiDevice::~CMidiDevice() {
    ClosePorts();
}

void CMidiDevice::SetBackend(std::unique_ptr<MidiBackend> backend) {
    ClosePorts();
    std::unique_ptr<MidiBackend> previous;
    {
        std::lock_guard lock(m_sendMutex);
        previous = std::exchange(m_pBackend, std::move(backend));
    }
    m_nInDevs = m_nOutDevs = 0;
    m_InDevs.clear();
    m_OutDevs.clear();
}

void CMidiDevice::SetPump(PumpFunction pump, std::chrono::milliseconds interval) {
    m_pump = std::move(pump);
    m_pumpInterval = interval;
}

void CMidiDevice::SetProgress(ProgressFunction progress) {
    m_progress = std::move(progress);
}

void CMidiDevice::EnumDevices() {
    ClosePorts();
    m_InDevs.clear();
    m_OutDevs.clear();
    if (m_pBackend) {
        for (std::string& name : m_pBackend->InputNames())
            m_InDevs.push_back({static_cast<std::uint32_t>(m_InDevs.size()), std::move(name)});
        for (std::string& name : m_pBackend->OutputNames())
            m_OutDevs.push_back({static_cast<std::uint32_t>(m_OutDevs.size()), std::move(name)});
    }
    m_nInDevs = static_cast<std::uint32_t>(m_InDevs.size());
    m_nOutDevs = static_cast<std::uint32_t>(m_OutDevs.size());
}

bool CMidiDevice::OpenPorts(int nInId, int nOutId) {
    ClosePorts();
    m_assembler = FrameAssembler{};
    m_bInputStopping = 0;
    const bool opened =
        m_pBackend && m_pBackend->Open(nInId, nOutId, [this](std::span<const std::uint8_t> buf) {
            MidiInCallback(buf);
        });
    if (opened) {
        m_nInState = kPortStarted;
        m_nOutState = kPortOpen;
    }
    return opened;
}

void CMidiDevice::ClosePorts() {
    m_bInputStopping = 1;
    m_nOutState = kPortClosed;
    m_nInState = kPortClosed;
    if (m_pBackend)
        m_pBackend->Close();
}

void CMidiDevice::MidiInCallback(std::span<const std::uint8_t> buffer) {
    if (m_bInputStopping)
        return;
    m_assembler.Feed(buffer, [this](std::span<const std::uint8_t> frame) {
        if (m_pfnFrameHandler)
            m_pfnFrameHandler(frame.data(), static_cast<int>(frame.size()));
    });
}

bool CMidiDevice::SendSysEx(std::span<const std::uint8_t> piece) {
    std::array<std::uint8_t, kMaxMessageSize> message{};
    const std::size_t length = CompleteSysEx(piece, message);
    if (length == 0)
        return false;
    std::lock_guard lock(m_sendMutex);
    // A closed port sends nothing, and the caller learns so at once.
    if (m_nOutState != kPortOpen || !m_pBackend)
        return false;
    return m_pBackend->Send(std::span<const std::uint8_t>(message.data(), length));
}

bool CMidiDevice::SendFrame(std::span<const std::uint8_t> frame,
                            std::chrono::steady_clock::time_point deadline,
                            const std::atomic<int>* stop) {
    for (std::span<const std::uint8_t> piece : SplitFrame(frame)) {
        if (std::chrono::steady_clock::now() > deadline || (stop != nullptr && *stop == 1))
            return false;
        m_bChunkAck = 0;
        if (!SendSysEx(piece))
            return false;
        if (!WaitUntil([this] { return m_bChunkAck == 1; }, kChunkAckTimeout))
            return false;
        if (m_bProgressNotify == 1 && m_progress)
            m_progress();
    }
    return true;
}

void CMidiDevice::PumpMessages() {
    if (m_pump)
        m_pump();
}

bool CMidiDevice::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    std::uint64_t seen;
    {
        std::lock_guard lock(m_signalMutex);
        seen = m_nGeneration;
    }
    PumpMessages();
    for (;;) {
        if (done())
            return true;
        const Clock::time_point now = Clock::now();
        if (now > deadline)
            return false;
        // Sleep until the input thread reports a change, the pump is due, or the time is up.
        Clock::duration slice = deadline - now + std::chrono::milliseconds(1);
        if (m_pump)
            slice = std::min<Clock::duration>(slice, m_pumpInterval);
        {
            std::unique_lock lock(m_signalMutex);
            m_signal.wait_for(lock, slice, [&] { return m_nGeneration != seen; });
            seen = m_nGeneration;
        }
        PumpMessages();
    }
}

void CMidiDevice::OnChunkAck() {
    m_bChunkAck = 1;
    Notify();
}

void CMidiDevice::Notify() {
    {
        std::lock_guard lock(m_signalMutex);
        ++m_nGeneration;
    }
    m_signal.notify_all();
}

}  // namespace korvana
