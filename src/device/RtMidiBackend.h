#pragma once

// Real MIDI ports through RtMidi: ALSA, JACK, CoreMIDI or WinMM.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "device/MidiBackend.h"

class RtMidiIn;
class RtMidiOut;

namespace korvana {

class RtMidiBackend : public MidiBackend {
public:
    // apiName is "alsa", "jack", "coremidi", "winmm" or empty for the platform's default.
    // Nothing when the name is unknown, not built in, or the system cannot be reached; error then
    // says why. A sound server is never started on the way.
    static std::unique_ptr<RtMidiBackend> Create(const std::string& apiName,
                                                 const std::string& clientName, std::string& error);
    ~RtMidiBackend() override;

    // Whether apiName names a MIDI system built into this program (empty: the default).
    static bool IsKnownApi(const std::string& apiName);

    std::vector<std::string> InputNames() override;
    std::vector<std::string> OutputNames() override;
    bool Open(int inIndex, int outIndex, ReceiveCallback onReceive) override;
    void Close() override;
    bool Send(std::span<const std::uint8_t> message) override;

    // Creates an input and an output port of our own, both named portName, that other programs
    // connect to (ALSA and JACK only).
    bool OpenVirtual(const std::string& portName, ReceiveCallback onReceive);

    // The RtMidi name of the system in use ("alsa", "jack", ...).
    std::string ApiName() const;

private:
    RtMidiBackend(std::unique_ptr<RtMidiIn> in, std::unique_ptr<RtMidiOut> out);
    bool TookError();  // whether RtMidi reported an error since the last call
    void PrepareInput(ReceiveCallback onReceive);
    static void OnMessage(double timestamp, std::vector<unsigned char>* message, void* user);
    static void OnError(int type, const std::string& text, void* user);

    std::unique_ptr<RtMidiIn> m_pIn;
    std::unique_ptr<RtMidiOut> m_pOut;
    std::atomic<bool> m_bOutputOpen{false};
    std::mutex m_receiveMutex;  // held while a buffer is delivered and while the receiver changes
    ReceiveCallback m_onReceive;
    std::mutex m_errorMutex;
    std::string m_strLastError;
    std::string m_strLastWarning;
};

}  // namespace korvana
