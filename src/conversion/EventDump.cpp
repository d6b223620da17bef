#include <cstdint>
#include <span>
#include <string>

#include "CMidiReader.h"
#include "PathNames.h"
#include "SafeFile.h"
#include "TextFormat.h"

namespace korvana {
namespace {

// The data part of a dump line and its end: the first data byte, for system events the data
// count, then the remaining data bytes.
void AppendEventData(std::string& line, const MidiEvent& event) {
    const std::uint8_t* data = event.Data();
    if (event.dwLength > 0) {  // an event without data shows none, and no count below zero
        AppendText(line, " %.2X", data[0]);
        if (event.byStatus >= 0xF0)
            AppendText(line, " %.2X", event.dwLength - 1);
        for (std::uint32_t i = 1; i < event.dwLength; ++i)
            AppendText(line, " %.2X", data[i]);
    }
    line += "\r\n";
}

void WriteDump(const std::string& path, const std::string& text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    WriteFileAtomically(PathFromUtf8(path),
                        std::span(bytes, text.size()));  // an unwritable dump is skipped
}

}  // namespace

void CMidiReader::DumpTrackEvents() const {
    std::string text = FormatText("PPQN: %d\r\n", static_cast<int>(g_nPPQN.load()));
    for (std::uint32_t track = 0; track < m_nTracks; ++track) {
        AppendText(text, "Track %.2d\r\n", static_cast<int>(track));
        std::uint32_t previous = 0;
        for (const MidiEvent& event : m_trackEvents[track]) {
            AppendText(text, "%.8d\t%.8X\t%.2X", static_cast<int>(event.dwTime),
                       event.dwTime - previous, event.byStatus);
            AppendEventData(text, event);
            previous = event.dwTime;
        }
    }
    WriteDump(m_strFileName + "_Events.txt", text);
}

void CMidiReader::DumpAllEvents() const {
    std::string text;
    for (const MidiEvent* event : m_allEvents) {
        AppendText(text, "%.8d\t%.2X", static_cast<int>(event->dwTime), event->byStatus);
        AppendEventData(text, *event);
    }
    WriteDump(m_strFileName + "_AllEvents.txt", text);
}

}  // namespace korvana
