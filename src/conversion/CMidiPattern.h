#pragma once

// The converter: checks Standard MIDI Files against the keyboard's rules and turns their tracks on
// channels 10 to 16 into a control list entry (base + "dat") and pattern data (base + "sty"),
// base being the first input path up to and including the last '.' of its file name. A song is
// accepted when the error log m_errors is empty after Convert; only then are the outputs written,
// at the end and each whole. Message boxes go through korvana::Prompt().

#include <cstdint>
#include <string>
#include <vector>

#include "CMidiReader.h"
#include "ControlListEntry.h"
#include "ConverterBuffers.h"
#include "PendingFile.h"

namespace korvana {

class CMidiPattern : public CMidiReader {
public:
    // What the keyboard's stream and files can describe; a song beyond them is refused.
    static constexpr std::uint32_t kMaxStreamDelta = (1u << 21) - 1;  // 3 bytes of delta
    static constexpr std::uint32_t kMaxNoteLength = (1u << 14) - 1;   // 2 bytes of length
    static constexpr std::uint32_t kMaxPatternData = 0xFFFF;          // 16-bit offsets, size
    static constexpr std::uint32_t kMaxQuantity = 0x0FFFFFFF;         // a 4-byte quantity

    CMidiPattern();
    ~CMidiPattern() override = default;

    void AddInputFile(const std::string& path) { m_inputFiles.push_back(path); }
    // Converts every input file. Throws std::filesystem::filesystem_error when an input file
    // cannot be opened at all.
    bool Convert();
    void AddError(std::string text) { m_errors.push_back(std::move(text)); }
    bool ConvertFile(int index);
    bool ConvertTrack(std::uint32_t track);
    // Encodes the part records; false (with a log entry) when the data would be too large.
    bool BuildPatternData();
    void WriteControlEntry();
    void WriteControlText();
    // Writes the pattern file and the control file, each whole; both or neither replace what
    // was there. False (with a log entry) when they could not be written.
    bool WriteOutputFiles();

    std::vector<std::string> m_patternNames;
    std::vector<std::string> m_inputFiles;
    std::vector<std::string> m_errors;
    ControlListEntry m_control;
    int m_nNameCount;
    std::string m_strBasePath;
    PendingFile m_controlFile;
    std::string m_strPatternFile;
    int m_nPartRecords[kPartCount] = {};
    int m_nDataPos = 0;
    bool m_bTimeSigFound = false;
    bool m_bKindFound = false;
    bool m_bTempoFound = false;
    bool m_bShortPartSetup = false;
    bool m_bRawDrumProgram = false;
    bool m_bBinaryOutput = false;
    bool m_bDumpEvents = false;
    // Off: the outputs stay in memory (m_controlFile.Bytes(), PatternData()) and nothing is
    // written, for conversions that only check or send a song.
    bool m_bWriteFiles = true;
    // Why the outputs were not written ("path: reason"), when they could not be.
    std::string m_strWriteFailure;

    const PartEventRecord* PartRecords(int part) const { return m_pBuffers->parts[part]; }
    const std::uint8_t* PatternData() const { return m_pBuffers->pattern; }

private:
    void ScanTempoTrack();
    void SetMeasures();
    bool StoreRecord(std::uint32_t track, int part, const MidiEvent& event, std::uint8_t status,
                     std::uint8_t first, std::uint8_t second, std::uint32_t& previous);
    void SetNoteLengths(std::uint32_t track, int part);
    // Entries that refuse a song the keyboard's formats cannot hold.
    void RefuseOversize(std::string entry);

    ConverterBuffersPtr m_pBuffers;
    // Set when the song exceeds what the formats can hold: its outputs are not written.
    bool m_bOversize = false;
};

}  // namespace korvana
