#pragma once

// What a conversion writes and how, in one value handed to the converter.

namespace korvana {

struct ConversionOptions {
    // 6 instead of 8 bytes per part setup in the control list entry.
    bool m_bShortPartSetup = false;
    // Keep the DRUM part's program number without adding 0x80.
    bool m_bRawDrumProgram = false;
    // Binary control list entry and 16-byte pattern header; off: the text control list and the
    // 18-byte header.
    bool m_bBinaryOutput = false;
    // Also write the two event dumps beside each input file.
    bool m_bDumpEvents = false;
    // Off: the outputs stay in memory and nothing is written, for conversions that only check or
    // send a song.
    bool m_bWriteFiles = true;

    // What the window and the keyboard commands convert with: binary output, nothing else.
    static constexpr ConversionOptions Application() {
        ConversionOptions options;
        options.m_bBinaryOutput = true;
        return options;
    }
};

}  // namespace korvana
