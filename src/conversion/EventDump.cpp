#include <cstdint>
#include <span>
#include <string>

#include "common/PathNames.h"
#include "common/SafeFile.h"
#include "conversion/CMidiReader.h"
#include "conversion/TextFormat.h"

namespace korvana {
namespace {

constexpr std::size_t kPieceSize = 64 * 1024;

// The data part of a dump line and its end: the first data byte, for system events the data
// count, then the remaining data bytes.
void AppendEventData(std::string& line, const MidiEvent& event) {
    if (event.dwLength > 0) {  // an event without data shows none, and no count below zero
        AppendText(line, " %.2X", event.byData[0]);
        if (event.byStatus >= 0xF0)
            AppendText(line, " %.2X", event.dwLength - 1);
        const std::uint8_t* rest = event.Rest();
        for (std::uint32_t i = 0; i + 1 < event.dwLength; ++i)
            AppendText(line, " %.2X", rest[i]);
    }
    line += "\r\n";
}

// Collects lines and hands them on in pieces of about kPieceSize bytes.
class PieceWriter {
public:
    explicit PieceWriter(const CMidiReader::TextOut& out) : m_out(out) {}
    ~PieceWriter() { Flush(); }
    std::string& Text() { return m_text; }
    void LineDone() {
        if (m_text.size() >= kPieceSize)
            Flush();
    }

private:
    void Flush() {
        if (!m_text.empty())
            m_out(m_text);
        m_text.clear();
    }

    const CMidiReader::TextOut& m_out;
    std::string m_text;
};

void WriteDump(const std::string& path,
               const std::function<void(const CMidiReader::TextOut&)>& dump) {
    AtomicFileWriter writer(PathFromUtf8(path));
    dump([&](std::string_view text) {
        writer.Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    });
    writer.Commit();  // an unwritable dump is skipped
}

}  // namespace

void CMidiReader::DumpTrackEvents(const TextOut& out) const {
    PieceWriter writer(out);
    AppendText(writer.Text(), "PPQN: %d\r\n", static_cast<int>(m_nPPQN));
    for (std::uint32_t track = 0; track < m_nTracks; ++track) {
        AppendText(writer.Text(), "Track %.2d\r\n", static_cast<int>(track));
        std::uint32_t previous = 0;
        for (const MidiEvent& event : Track(track)) {
            AppendText(writer.Text(), "%.8d\t%.8X\t%.2X", static_cast<int>(event.dwTime),
                       event.dwTime - previous, event.byStatus);
            AppendEventData(writer.Text(), event);
            writer.LineDone();
            previous = event.dwTime;
        }
    }
}

void CMidiReader::DumpAllEvents(const TextOut& out) const {
    PieceWriter writer(out);
    MergedEvents merged(*this);
    for (MidiEvent event; merged.Next(event);) {
        AppendText(writer.Text(), "%.8d\t%.2X", static_cast<int>(event.dwTime), event.byStatus);
        AppendEventData(writer.Text(), event);
        writer.LineDone();
    }
}

void CMidiReader::DumpTrackEvents() const {
    WriteDump(m_strFileName + "_Events.txt", [this](const TextOut& out) { DumpTrackEvents(out); });
}

void CMidiReader::DumpAllEvents() const {
    WriteDump(m_strFileName + "_AllEvents.txt", [this](const TextOut& out) { DumpAllEvents(out); });
}

}  // namespace korvana
