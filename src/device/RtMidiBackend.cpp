#include "device/RtMidiBackend.h"

#include <RtMidi.h>

#include <cstdlib>

namespace korvana {
namespace {

// Large enough for the longest frame the keyboard sends, for drivers that buffer input.
constexpr unsigned kInputBufferSize = 2048;
constexpr unsigned kInputBufferCount = 4;

RtMidi::Api ApiByName(const std::string& name) {
    if (name.empty())
        return RtMidi::UNSPECIFIED;
    return RtMidi::getCompiledApiByName(name == "coremidi" ? "core" : name);
}

template <typename Port>
std::vector<std::string> PortNames(Port& port) {
    std::vector<std::string> names;
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i)
        names.push_back(port.getPortName(i));
    return names;
}

}  // namespace

std::unique_ptr<RtMidiBackend> RtMidiBackend::Create(const std::string& apiName,
                                                     const std::string& clientName,
                                                     std::string& error) {
    const RtMidi::Api api = ApiByName(apiName);
    if (!IsKnownApi(apiName)) {
        error = "unknown or unavailable MIDI system '" + apiName + "'";
        return nullptr;
    }
#ifndef _WIN32
    // A JACK client must find a running server, never launch one.
    setenv("JACK_NO_START_SERVER", "1", 0);
#endif
    std::unique_ptr<RtMidiBackend> backend;
    try {
        auto in = std::make_unique<RtMidiIn>(api, clientName);
        auto out = std::make_unique<RtMidiOut>(in->getCurrentApi(), clientName);
        backend.reset(new RtMidiBackend(std::move(in), std::move(out)));
    } catch (const RtMidiError& e) {
        error = e.getMessage();
        return nullptr;
    }
    // RtMidi only warns when its system cannot be reached (no JACK server, for one), and then
    // lists no ports; a probe tells that apart from a system without ports.
    backend->m_pIn->getPortCount();
    backend->m_pOut->getPortCount();
    std::lock_guard lock(backend->m_errorMutex);
    if (!backend->m_strLastWarning.empty()) {
        error = backend->m_strLastWarning;
        return nullptr;
    }
    return backend;
}

bool RtMidiBackend::IsKnownApi(const std::string& apiName) {
    return apiName.empty() || ApiByName(apiName) != RtMidi::UNSPECIFIED;
}

RtMidiBackend::RtMidiBackend(std::unique_ptr<RtMidiIn> in, std::unique_ptr<RtMidiOut> out)
    : m_pIn(std::move(in)), m_pOut(std::move(out)) {
    // RtMidi hands errors to this callback instead of throwing; TookError reads them.
    auto onError = [](RtMidiError::Type type, const std::string& text, void* user) {
        OnError(type, text, user);
    };
    m_pIn->setErrorCallback(onError, this);
    m_pOut->setErrorCallback(onError, this);
    // Installed once for the input's whole life: RtMidi swaps its callback without telling its
    // input thread, and JACK's thread can still be delivering after the port is closed, so a
    // cancelled callback may be called as a null function or with null user data. Whether a
    // buffer goes anywhere is decided by m_onReceive under m_receiveMutex instead.
    m_pIn->setCallback(&RtMidiBackend::OnMessage, this);
}

void RtMidiBackend::OnError(int type, const std::string& text, void* user) {
    auto* self = static_cast<RtMidiBackend*>(user);
    std::lock_guard lock(self->m_errorMutex);
    if (type == RtMidiError::WARNING)
        self->m_strLastWarning = text;
    else if (type != RtMidiError::DEBUG_WARNING)
        self->m_strLastError = text;
}

RtMidiBackend::~RtMidiBackend() {
    Close();
    // Ending the clients stops their threads, which use this object's receiver and error
    // members: that must happen while those still exist.
    m_pIn.reset();
    m_pOut.reset();
}

std::vector<std::string> RtMidiBackend::InputNames() {
    return PortNames(*m_pIn);
}
std::vector<std::string> RtMidiBackend::OutputNames() {
    return PortNames(*m_pOut);
}

bool RtMidiBackend::TookError() {
    std::lock_guard lock(m_errorMutex);
    const bool took = !m_strLastError.empty();
    m_strLastError.clear();
    return took;
}

void RtMidiBackend::PrepareInput(ReceiveCallback onReceive) {
    {
        std::lock_guard lock(m_receiveMutex);
        m_onReceive = std::move(onReceive);
    }
    m_pIn->setBufferSize(kInputBufferSize, kInputBufferCount);
    // System Exclusive is all the keyboard speaks; timing and sensing messages are not wanted.
    m_pIn->ignoreTypes(false, true, true);
}

bool RtMidiBackend::Open(int inIndex, int outIndex, ReceiveCallback onReceive) {
    Close();
    TookError();
    if (inIndex < 0 || outIndex < 0)
        return false;
    PrepareInput(std::move(onReceive));
    m_pIn->openPort(static_cast<unsigned>(inIndex), "Korvana in");
    m_pOut->openPort(static_cast<unsigned>(outIndex), "Korvana out");
    if (TookError() || !m_pIn->isPortOpen() || !m_pOut->isPortOpen()) {
        Close();
        return false;
    }
    m_bOutputOpen = true;
    return true;
}

bool RtMidiBackend::OpenVirtual(const std::string& portName, ReceiveCallback onReceive) {
    Close();
    TookError();
    PrepareInput(std::move(onReceive));
    m_pIn->openVirtualPort(portName);
    m_pOut->openVirtualPort(portName);
    if (TookError()) {
        Close();
        return false;
    }
    m_bOutputOpen = true;
    return true;
}

void RtMidiBackend::Close() {
    m_bOutputOpen = false;
    {
        // Waits for a delivery in progress; later buffers find no receiver.
        std::lock_guard lock(m_receiveMutex);
        m_onReceive = nullptr;
    }
    m_pIn->closePort();
    m_pOut->closePort();
    TookError();
}

bool RtMidiBackend::Send(std::span<const std::uint8_t> message) {
    if (!m_bOutputOpen)
        return false;
    m_pOut->sendMessage(message.data(), message.size());
    return !TookError();
}

std::string RtMidiBackend::ApiName() const {
    return RtMidi::getApiName(m_pIn->getCurrentApi());
}

void RtMidiBackend::OnMessage(double, std::vector<unsigned char>* message, void* user) {
    auto* self = static_cast<RtMidiBackend*>(user);
    std::lock_guard lock(self->m_receiveMutex);
    if (message && !message->empty() && self->m_onReceive)
        self->m_onReceive(std::span<const std::uint8_t>(message->data(), message->size()));
}

}  // namespace korvana
