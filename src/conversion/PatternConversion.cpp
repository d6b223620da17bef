#include <algorithm>
#include <cstring>

#include "conversion/CMidiPattern.h"
#include "conversion/MetaEvents.h"
#include "conversion/TextFormat.h"

namespace korvana {
namespace {

constexpr std::uint8_t kDrumChannel = 9;
constexpr std::uint8_t kPercussionChannel = 10;

// The pan step of a controller 10 value: how many of the thresholds are not above it, minus 1.
std::uint8_t PanStep(std::uint8_t value) {
    static constexpr std::uint8_t kThresholds[] = {0,  8,  16, 24, 32,  40,  48,  56, 64,
                                                   72, 80, 88, 96, 104, 112, 120, 127};
    const auto above = std::upper_bound(std::begin(kThresholds), std::end(kThresholds), value);
    return static_cast<std::uint8_t>(above - std::begin(kThresholds) - 1);
}

bool IsStoredController(std::uint8_t controller) {
    switch (controller) {
        case 1:
        case 6:
        case 11:
        case 64:
        case 66:
        case 67:
        case 93:
        case 100:
        case 101:
            return true;
        default:
            return false;
    }
}

bool IsNoteOn(const PartEventRecord& record) {
    return (record.byStatus >> 4) == 0x9 && record.byData2 != 0;
}

bool IsNoteEnd(const PartEventRecord& record) {
    const unsigned kind = record.byStatus >> 4;
    return kind == 0x8 || (kind == 0x9 && record.byData2 == 0);
}

// Which setup values a track has already set: only the first of each counts.
struct FirstTaken {
    bool program = false;
    bool volume = false;
    bool pan = false;
    bool reverb = false;
    bool port = false;
    bool bankMsb = false;
    bool bankLsb = false;
};

void TakeFirst(bool& taken, std::uint8_t& field, std::uint8_t value) {
    if (!taken) {
        field = value;
        taken = true;
    }
}

}  // namespace

bool CMidiPattern::ConvertTrack(std::uint32_t track) {
    const TrackEvents events = Track(track);
    const char* path = m_strFileName.c_str();

    int channel = -1;
    bool mixed = false;
    for (const MidiEvent& event : events) {
        if (event.byStatus >= 0xF0)
            continue;
        const int eventChannel = event.byStatus & 0x0F;
        if (channel < 0) {
            channel = eventChannel;
        } else if (eventChannel != channel) {
            mixed = true;
            break;
        }
    }
    if (channel < 0)
        return true;  // only meta and System Exclusive events: nothing to play
    const int part = channel - kDrumChannel;
    const auto partBit = static_cast<std::uint8_t>(part >= 0 ? 1u << part : 0u);
    if (mixed || (m_control.byPartMask & partBit)) {
        AddError(FormatText("%s Track %d Error", path, static_cast<int>(track)));
        ShowMessage("Mixed tracks are not allowed!");
        return false;
    }
    if (part < 0) {
        AddError("MIDI file containing track 1-8 is not supported!");
        ShowMessage("MIDI file containing track 1-8 is not supported!");
        return false;
    }
    m_control.byPartMask |= partBit;

    PartSetup& setup = m_control.parts[part];
    FirstTaken taken;
    std::uint32_t previous = 0;
    m_nPartRecords[part] = 0;
    for (const MidiEvent& event : events) {
        const std::uint8_t status = event.byStatus;
        const std::uint8_t* data = event.byData;
        bool store = false;
        switch (status >> 4) {
            case 0x8:
            case 0x9:
            case 0xE:
                store = true;
                break;
            case 0xA:
                store = status == 0xA0 + kDrumChannel && data[1] == 127;
                break;
            case 0xB:
                switch (data[0]) {
                    case 0:
                        TakeFirst(taken.bankMsb, setup.byBankMsb, data[1]);
                        break;
                    case 7:
                        TakeFirst(taken.volume, setup.byVolume, data[1]);
                        break;
                    case 10:
                        TakeFirst(taken.pan, setup.byPan, PanStep(data[1]));
                        break;
                    case 32:
                        TakeFirst(taken.bankLsb, setup.byBankLsb, data[1]);
                        break;
                    case 91:
                        TakeFirst(taken.reverb, setup.byReverb, data[1]);
                        break;
                    default:
                        store = IsStoredController(data[0]) ||
                                (status == 0xB0 + kDrumChannel && data[0] == 4);
                }
                break;
            case 0xC: {
                const bool rhythm = channel == kDrumChannel || channel == kPercussionChannel;
                const bool raw = m_options.m_bRawDrumProgram && channel == kDrumChannel;
                TakeFirst(taken.program, setup.byProgram,
                          static_cast<std::uint8_t>(rhythm && !raw ? data[0] + 0x80 : data[0]));
                break;
            }
            case 0xF:
                if (status == meta::kStatus && data[0] == meta::kMidiPort && event.dwLength == 2)
                    TakeFirst(taken.port, m_control.byPort[part], data[1]);
                else if (status == meta::kStatus && data[0] == meta::kEndOfTrack &&
                         !StoreRecord(track, part, event, meta::kStatus, meta::kEndOfTrack, 0,
                                      previous))
                    return true;  // the part is full; the song is already refused
                break;
            default:  // channel pressure
                break;
        }
        if (store && !StoreRecord(track, part, event, status, data[0], data[1], previous))
            return true;
    }
    SetNoteLengths(track, part);
    return true;
}

bool CMidiPattern::StoreRecord(std::uint32_t track, int part, const MidiEvent& event,
                               std::uint8_t status, std::uint8_t first, std::uint8_t second,
                               std::uint32_t& previous) {
    int& count = m_nPartRecords[part];
    if (static_cast<std::size_t>(count) == ConverterBuffers::kPartCapacity) {
        RefuseOversize(FormatText("%s Track %d Error Too Many Events", m_strFileName.c_str(),
                                  static_cast<int>(track)));
        return false;
    }
    // Re-timed to 192 per quarter; 64-bit so that late events keep their time.
    const std::uint32_t division = m_nPPQN;
    auto onGrid = [division](std::uint32_t time) {
        return static_cast<std::uint32_t>(std::uint64_t{time} * 192 / division);
    };
    std::vector<PartEventRecord>& records = m_buffers.parts[part];
    if (static_cast<std::size_t>(count) == records.size())
        records.emplace_back();
    PartEventRecord& record = records[static_cast<std::size_t>(count++)];
    record = {};
    record.dwTime = onGrid(event.dwTime);
    const std::uint32_t delta = record.dwTime - onGrid(previous);
    const char* path = m_strFileName.c_str();
    const int trackNumber = static_cast<int>(track);
    if (delta > kMaxQuantity) {
        if (status == meta::kStatus)
            AddError(FormatText("%s Track %d Error 0xFF 2F 00", path, trackNumber));
        else
            AddError(FormatText("%s Track %d Error 0x%.2x %.2x %.2x", path, trackNumber, status,
                                first, second));
        m_bOversize = true;
    } else {
        if (delta > kMaxStreamDelta)
            RefuseOversize(FormatText("%s Track %d Error Delta Too Large 0x%.2x %.2x %.2x", path,
                                      trackNumber, status, first, second));
        WriteReversedQuantity(delta, record.byDelta);
    }
    record.byStatus = status;
    record.byData1 = first;
    record.byData2 = second;
    previous = event.dwTime;
    return true;
}

void CMidiPattern::SetNoteLengths(std::uint32_t track, int part) {
    PartEventRecord* records = m_buffers.parts[part].data();
    const auto count = static_cast<std::uint32_t>(m_nPartRecords[part]);
    m_buffers.noteEnd.resize(count);
    std::uint32_t* noteEnd = m_buffers.noteEnd.data();

    // Backwards, remembering per note number the nearest later record that ends it, so each
    // sounding note finds its end in one pass.
    std::uint32_t nearestEnd[256];
    std::fill(std::begin(nearestEnd), std::end(nearestEnd), ConverterBuffers::kNoMatch);
    for (std::uint32_t i = count; i-- > 0;) {
        const PartEventRecord& record = records[i];
        if (IsNoteOn(record))
            noteEnd[i] = nearestEnd[record.byData1];
        else if (IsNoteEnd(record))
            nearestEnd[record.byData1] = i;
    }

    const char* path = m_strFileName.c_str();
    const int trackNumber = static_cast<int>(track);
    for (std::uint32_t i = 0; i < count; ++i) {
        PartEventRecord& record = records[i];
        if (!IsNoteOn(record))
            continue;
        if (noteEnd[i] == ConverterBuffers::kNoMatch) {
            AddError(FormatText("%s Track %d Error Back Find 0x9N %.2x %.2x", path, trackNumber,
                                record.byStatus, record.byData1));
            ShowMessage("Note Off Error!");
            continue;
        }
        const std::uint32_t length = records[noteEnd[i]].dwTime - record.dwTime;
        if (length > kMaxQuantity) {
            AddError(FormatText("%s Track %d Error Back Convert 0x%.2x %.2x %.2x", path,
                                trackNumber, record.byStatus, record.byData1, record.byData2));
            m_bOversize = true;
            continue;
        }
        if (length > kMaxNoteLength)
            RefuseOversize(FormatText("%s Track %d Error Note Too Long 0x%.2x %.2x %.2x", path,
                                      trackNumber, record.byStatus, record.byData1,
                                      record.byData2));
        WriteReversedQuantity(length, record.byLength);
    }
}

bool CMidiPattern::BuildPatternData() {
    std::uint8_t* out = m_buffers.pattern.data();
    const std::uint32_t headerSize = m_options.m_bBinaryOutput ? 16 : 18;
    std::memset(out, 0, headerSize);
    out[0] = out[1] = 0xFF;
    if (!m_options.m_bBinaryOutput)
        out[17] = 0xFF;
    std::uint32_t position = headerSize;

    for (int part = 0; part < kPartCount; ++part) {
        if (!(m_control.byPartMask & (1u << part)))
            continue;
        const std::uint32_t start = position;
        std::uint8_t previousStatus = 0;
        const PartEventRecord* records = m_buffers.parts[part].data();
        for (int i = 0; i < m_nPartRecords[part]; ++i) {
            const PartEventRecord& record = records[i];
            if (record.byDelta[2])
                out[position++] = record.byDelta[2];
            if (record.byDelta[1])
                out[position++] = record.byDelta[1];
            out[position++] = record.byDelta[0];
            if (record.byStatus != previousStatus)
                out[position++] = record.byStatus;
            previousStatus = record.byStatus;
            if (record.byStatus < 0xF0) {
                out[position++] = record.byData1;
                out[position++] = record.byData2;
            }
            if (IsNoteOn(record)) {
                if (record.byLength[1])
                    out[position++] = record.byLength[1];
                out[position++] = record.byLength[0];
            }
            // A record adds at most 8 bytes; the buffer has room for them beyond the limit.
            if (position > kMaxPatternData)
                break;
        }
        if (position > start) {
            out[2 + 2 * part] = static_cast<std::uint8_t>(start & 0xFF);
            out[3 + 2 * part] = static_cast<std::uint8_t>(start >> 8);
        }
        if (position > kMaxPatternData)
            break;
    }
    if (position % 2)
        out[position++] = 0;
    if (position > kMaxPatternData) {
        RefuseOversize(FormatText("%s Pattern Data Too Large", m_strFileName.c_str()));
        return false;
    }
    m_nDataPos = static_cast<int>(position);
    m_control.dwDataSize = position;
    return true;
}

}  // namespace korvana
