#pragma once

// The per-pattern record that tells the keyboard how to play the pattern data.

#include <cstdint>

namespace korvana {

constexpr int kPartCount = 7;  // DRUM, PERCUSSION, BASS, CHORD1 to CHORD4 on channels 10 to 16
constexpr std::uint8_t kFirstPartChannel = 9;  // zero-based MIDI channel of DRUM

struct PartSetup {
    std::uint8_t byProgram;
    std::uint8_t byVolume;
    std::uint8_t byPan;
    std::uint8_t byReverb;
    std::uint8_t byChannel;
    std::uint8_t byPartKind;
    std::uint8_t byBankMsb;
    std::uint8_t byBankLsb;

    // What part k plays with before its track says otherwise.
    static PartSetup Default(int part);
};
static_assert(sizeof(PartSetup) == 8);

struct ControlListEntry {
    char szName[9];
    std::uint8_t byIndex;
    std::uint8_t byTimeSig;  // denominator power in the high nibble, numerator in the low one
    std::uint8_t byKind;
    std::uint16_t wTempo;
    std::uint16_t wMeasures;
    std::uint8_t byPartMask;
    std::uint8_t byPort[kPartCount];
    PartSetup parts[kPartCount];
    std::uint32_t dwDataSize;

    static ControlListEntry Default();
};

inline PartSetup PartSetup::Default(int part) {
    const bool rhythm = part < 2;  // DRUM and PERCUSSION
    return PartSetup{static_cast<std::uint8_t>(rhythm ? 0x80 : 0),
                     100,
                     8,
                     64,
                     static_cast<std::uint8_t>(kFirstPartChannel + part),
                     static_cast<std::uint8_t>(rhythm ? 0 : 2),
                     0,
                     0};
}

inline ControlListEntry ControlListEntry::Default() {
    ControlListEntry entry{};
    for (int part = 0; part < kPartCount; ++part)
        entry.parts[part] = PartSetup::Default(part);
    return entry;
}

}  // namespace korvana
