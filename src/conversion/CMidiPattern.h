#pragma once

// The converter: checks Standard MIDI Files against the keyboard's rules and turns their tracks on
// channels 10 to 16 into a control list entry (base + "dat") and pattern data (base + "sty"),
// base being the first input path up to and including the last '.' of its file name. Convert
// returns one outcome: the error log and the message texts in order, and the result. A song is
// accepted when the log is empty; only then are the outputs written, at the end and each whole.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "conversion/CMidiReader.h"
#include "conversion/ControlListEntry.h"
#include "conversion/ConversionOptions.h"
#include "conversion/ConversionOutcome.h"
#include "conversion/ConverterBuffers.h"
#include "conversion/PendingFile.h"

namespace korvana {

class CMidiPattern : public CMidiReader {
public:
    // What the keyboard's stream and files can describe; a song beyond them is refused.
    static constexpr std::uint32_t kMaxStreamDelta = (1u << 21) - 1;  // 3 bytes of delta
    static constexpr std::uint32_t kMaxNoteLength = (1u << 14) - 1;   // 2 bytes of length
    static constexpr std::uint32_t kMaxPatternData = 0xFFFF;          // 16-bit offsets, size
    static constexpr std::uint32_t kMaxQuantity = 0x0FFFFFFF;         // a 4-byte quantity

    // A song to convert: a file, or bytes in memory under a name (which the log entries give and
    // beside which outputs would be written).
    struct SongInput {
        std::string strPath;
        std::optional<std::span<const std::uint8_t>> bytes;
    };

    explicit CMidiPattern(const ConversionOptions& options = {});
    ~CMidiPattern() override = default;

    void AddInputFile(const std::string& path) { m_inputFiles.push_back({path, std::nullopt}); }
    // The bytes must outlive Convert.
    void AddInputBytes(const std::string& name, std::span<const std::uint8_t> bytes) {
        m_inputFiles.push_back({name, bytes});
    }
    // Converts every input file; a converter serves one Convert. Throws
    // std::filesystem::filesystem_error when an input file cannot be opened at all.
    ConversionOutcome Convert();
    void AddError(std::string text);
    // A message box's text, shown by the caller from the outcome.
    void ShowMessage(std::string text);
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
    std::vector<SongInput> m_inputFiles;
    ConversionOptions m_options;
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

    const PartEventRecord* PartRecords(int part) const { return m_buffers.parts[part].data(); }
    const std::uint8_t* PatternData() const { return m_buffers.pattern.data(); }

private:
    bool ConvertAll();
    void ScanTempoTrack();
    void SetMeasures();
    bool StoreRecord(std::uint32_t track, int part, const MidiEvent& event, std::uint8_t status,
                     std::uint8_t first, std::uint8_t second, std::uint32_t& previous);
    void SetNoteLengths(std::uint32_t track, int part);
    // Entries that refuse a song the keyboard's formats cannot hold.
    void RefuseOversize(std::string entry);

    ConverterBuffers m_buffers;
    // Set when the song exceeds what the formats can hold: its outputs are not written.
    bool m_bOversize = false;
    ConversionOutcome m_outcome;
};

}  // namespace korvana
