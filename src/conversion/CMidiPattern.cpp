#include "conversion/CMidiPattern.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "common/SafeFile.h"
#include "conversion/MetaEvents.h"
#include "conversion/TextFormat.h"

namespace korvana {
namespace {

constexpr std::uint32_t kDivision = 192;
constexpr std::size_t kNameLength = 8;

// The outputs' common path: the input's path up to and including the last '.' of its file name,
// or with a '.' appended to a name without one, so the outputs always lie beside the input.
std::string OutputBase(const std::string& input) {
#ifdef _WIN32
    const std::size_t nameStart = input.find_last_of("/\\:") + 1;
#else
    const std::size_t nameStart = input.rfind('/') + 1;
#endif
    const std::size_t dot = input.rfind('.');
    return dot == std::string::npos || dot < nameStart ? input + "." : input.substr(0, dot + 1);
}

bool LessIgnoringCase(const CMidiPattern::SongInput& first, const CMidiPattern::SongInput& second) {
    const std::string& a = first.strPath;
    const std::string& b = second.strPath;
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

int KindFromLetter(std::uint8_t letter) {
    switch (letter) {
        case 's':
            return 0;
        case 'p':
            return 1;
        case 't':
            return 2;
        case 'h':
            return 3;
        default:
            return -1;
    }
}

}  // namespace

CMidiPattern::CMidiPattern(const ConversionOptions& options)
    : m_patternNames{std::string()},
      m_options(options),
      m_control(ControlListEntry::Default()),
      m_nNameCount(static_cast<int>(m_patternNames.size())) {}

void CMidiPattern::AddError(std::string text) {
    m_outcome.items.push_back({ConversionOutcome::Kind::LogEntry, std::move(text)});
}

void CMidiPattern::ShowMessage(std::string text) {
    m_outcome.items.push_back({ConversionOutcome::Kind::Message, std::move(text)});
}

ConversionOutcome CMidiPattern::Convert() {
    m_outcome.result = ConvertAll();
    return std::move(m_outcome);
}

bool CMidiPattern::ConvertAll() {
    if (m_inputFiles.size() > static_cast<std::size_t>(m_nNameCount)) {
        ShowMessage("Number of File Names is less than that of Input files");
        return false;
    }
    if (m_inputFiles.empty())
        return false;
    std::stable_sort(m_inputFiles.begin(), m_inputFiles.end(), LessIgnoringCase);
    m_strBasePath = OutputBase(m_inputFiles.front().strPath);
    m_controlFile.Start(m_strBasePath + "dat");
    m_strPatternFile = m_strBasePath + "sty";
    if (m_options.m_bWriteFiles) {
        for (const std::string& output : {m_controlFile.Path(), m_strPatternFile}) {
            if (const std::error_code error = CheckReplaceable(output)) {
                m_outcome.writeFailure = output + ": " + error.message();
                ShowMessage("Cannot Write Output Files");
                return false;
            }
        }
    }
    bool result = true;
    for (std::size_t i = 0; i < m_inputFiles.size(); ++i) {
        if (!ConvertFile(static_cast<int>(i)))
            result = false;
    }
    // A refused song leaves the files on disk as they were: a control file and a pattern file
    // are only ever replaced together.
    if (m_options.m_bWriteFiles && result && m_outcome.Accepted() && !WriteOutputFiles())
        result = false;
    return result;
}

bool CMidiPattern::ConvertFile(int index) {
    m_control = ControlListEntry::Default();
    std::fill(std::begin(m_nPartRecords), std::end(m_nPartRecords), 0);
    m_bTimeSigFound = m_bKindFound = m_bTempoFound = false;
    m_bOversize = false;

    Reset();
    const SongInput& input = m_inputFiles[static_cast<std::size_t>(index)];
    m_strFileName = input.strPath;
    const char* path = m_strFileName.c_str();
    if (input.bytes)
        LoadBytes(*input.bytes);
    else if (!LoadFile() && m_bFileTooLarge) {
        AddError(FormatText("%s File Too Large", path));
        return false;
    }  // another failed load leaves no data, which the header check reports
    if (const int code = ReadHeader(); code != kHeaderOk) {
        AddError(FormatText("%s Init Error:%d", path, code));
        return false;
    }
    if (!ReadTracks()) {
        AddError(FormatText("%s Process Error", path));
        return false;
    }
    MergeTracks();
    if (m_options.m_bDumpEvents && m_options.m_bWriteFiles) {
        DumpTrackEvents();
        DumpAllEvents();
    }
    if (m_nPPQN != kDivision) {
        AddError("Warning: PPQN is not 192");
        ShowMessage("Error: PPQN is not 192");
        return false;
    }

    const std::string& name = m_patternNames[static_cast<std::size_t>(index)];
    if (name.size() > kNameLength)
        AddError(FormatText("%s Name Too Long", name.c_str()));
    std::memset(m_control.szName, ' ', kNameLength);
    std::memcpy(m_control.szName, name.data(), std::min(name.size(), kNameLength));
    m_control.szName[kNameLength] = 0;
    m_control.byIndex = static_cast<std::uint8_t>(index);

    ScanTempoTrack();
    if (!m_bTimeSigFound) {
        AddError(FormatText("%s TimeSign Error", name.c_str()));
        ShowMessage("Time signature is required!");
        return false;
    }
    if (!m_bTempoFound) {
        AddError(FormatText("%s Tempo Error", name.c_str()));
        ShowMessage("Tempo is required!");
        return false;
    }
    SetMeasures();

    for (std::uint32_t track = 0; track < m_nTracks; ++track) {
        if (!ConvertTrack(track))
            return false;
    }
    if (m_bOversize || !BuildPatternData())
        return false;
    if (m_options.m_bBinaryOutput)
        WriteControlEntry();
    else
        WriteControlText();
    return true;
}

void CMidiPattern::ScanTempoTrack() {
    if (m_nTracks == 0)
        return;
    for (const MidiEvent& event : Track(0)) {
        if (event.byStatus != meta::kStatus)
            continue;
        const std::uint8_t* data = event.byData;
        if (!m_bTimeSigFound && event.dwLength == 5 && data[0] == meta::kTimeSignature) {
            m_control.byTimeSig = static_cast<std::uint8_t>(data[2] << 4 | data[1]);
            m_bTimeSigFound = true;
        } else if (!m_bTempoFound && event.dwLength == 4 && data[0] == meta::kTempo) {
            const std::uint32_t micros = static_cast<std::uint32_t>(data[1]) << 16 |
                                         static_cast<std::uint32_t>(data[2]) << 8 | data[3];
            // Below 916 microseconds per quarter the tempo does not fit its 16 bits.
            const double tempo = micros ? 60000000.0 / micros + 0.5 : 0.0;
            if (micros == 0 || tempo >= 65536.0)
                RefuseOversize(FormatText("%s Tempo Out Of Range", m_strFileName.c_str()));
            else
                m_control.wTempo = static_cast<std::uint16_t>(tempo);
            m_bTempoFound = true;
        } else if (!m_bKindFound && event.dwLength == 6 && data[0] == meta::kMarker &&
                   std::memcmp(data + 1, "qx7m", 4) == 0) {
            if (const int kind = KindFromLetter(data[5]); kind >= 0) {
                m_control.byKind = static_cast<std::uint8_t>(kind);
                m_bKindFound = true;
            }
        }
    }
}

void CMidiPattern::SetMeasures() {
    // The smallest whole number of bars that holds the last event: ceil(T * 2^d / (192 * 4 * n)),
    // in whole numbers so that an event on a bar line never spills into the next bar.
    const std::uint32_t last = m_lastEvent.dwTime;
    const unsigned power = m_control.byTimeSig >> 4;
    const unsigned numerator = m_control.byTimeSig & 0x0F;
    if (numerator == 0)
        return;
    const std::uint64_t beats = static_cast<std::uint64_t>(last) << power;
    const std::uint64_t perBar = std::uint64_t{kDivision} * 4 * numerator;
    const std::uint64_t measures = (beats + perBar - 1) / perBar;
    if (measures > 0xFFFF)
        RefuseOversize(FormatText("%s Too Many Measures", m_strFileName.c_str()));
    else
        m_control.wMeasures = static_cast<std::uint16_t>(measures);
}

void CMidiPattern::RefuseOversize(std::string entry) {
    AddError(std::move(entry));
    m_bOversize = true;
}

}  // namespace korvana
