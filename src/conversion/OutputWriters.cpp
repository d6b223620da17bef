#include <span>
#include <vector>

#include "common/PathNames.h"
#include "common/SafeFile.h"
#include "conversion/CMidiPattern.h"
#include "conversion/TextFormat.h"

namespace korvana {
namespace {

void PutWord(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

}  // namespace

void CMidiPattern::WriteControlEntry() {
    const ControlListEntry& entry = m_control;
    std::vector<std::uint8_t> bytes(8, ' ');  // the keyboard ignores the name: always spaces
    bytes.push_back(entry.byIndex);
    bytes.push_back(entry.byTimeSig);
    bytes.push_back(entry.byKind);
    bytes.push_back(entry.byPartMask);
    PutWord(bytes, entry.wTempo);
    PutWord(bytes, entry.wMeasures);
    bytes.insert(bytes.end(), std::begin(entry.byPort), std::end(entry.byPort));
    bytes.push_back(0);
    const std::size_t setupSize = m_options.m_bShortPartSetup ? 6 : sizeof(PartSetup);
    for (const PartSetup& setup : entry.parts) {
        const auto* fields = reinterpret_cast<const std::uint8_t*>(&setup);
        bytes.insert(bytes.end(), fields, fields + setupSize);
    }
    PutWord(bytes, entry.dwDataSize);
    m_controlFile.Append(bytes);
}

void CMidiPattern::WriteControlText() {
    const ControlListEntry& entry = m_control;
    const int number = entry.byIndex + 1;
    std::string text = FormatText("/* PATTERN_DATA CONTROL_LIST__%.3d */\r\n", number);
    AppendText(text, "/* PATTERN_table[%d] = */\r\n{\r\n\t", number);
    AppendText(text, "\"%s\",0x%.2x,\r\n", entry.szName, entry.byIndex);
    AppendText(text, "\t0x%.2x,0x%.2x,0x%.4x,0x%.4x,0x%.2x,\r\n\t", entry.byTimeSig, entry.byKind,
               entry.wTempo, entry.wMeasures, entry.byPartMask);
    for (std::uint8_t port : entry.byPort)
        AppendText(text, "0x%.2x,", port);
    for (const PartSetup& p : entry.parts) {
        if (m_options.m_bShortPartSetup)
            AppendText(text, "\r\n\t0x%.2x,0x%.2x,0x%.2x,0x%.2x,0x%.2x,0x%.2x,", p.byProgram,
                       p.byVolume, p.byPan, p.byReverb, p.byChannel, p.byPartKind);
        else
            AppendText(text, "\r\n\t0x%.2x,0x%.2x,0x%.2x,0x%.2x,0x%.2x,0x%.2x,0x%.2x,0x%.2x,",
                       p.byProgram, p.byVolume, p.byPan, p.byReverb, p.byChannel, p.byPartKind,
                       p.byBankMsb, p.byBankLsb);
    }
    AppendText(text, "\r\n\t0x%.8x\r\n},\r\n\r\n", entry.dwDataSize);
    m_controlFile.Append(text);
}

bool CMidiPattern::WriteOutputFiles() {
    const std::span<const std::uint8_t> data(PatternData(), static_cast<std::size_t>(m_nDataPos));
    AtomicFileWriter pattern(PathFromUtf8(m_strPatternFile));
    AtomicFileWriter control(PathFromUtf8(m_controlFile.Path()));
    pattern.Write(data);
    control.Write(m_controlFile.Bytes());
    // Both are whole before either replaces its target.
    const bool written =
        !pattern.Error() && !control.Error() && pattern.Commit() && control.Commit();
    if (!written) {
        const bool patternFailed = static_cast<bool>(pattern.Error());
        const std::string& path = patternFailed ? m_strPatternFile : m_controlFile.Path();
        const std::error_code error = patternFailed ? pattern.Error() : control.Error();
        m_outcome.writeFailure = path + ": " + error.message();
        AddError(FormatText("%s File Write Error", path.c_str()));
    }
    return written;
}

}  // namespace korvana
