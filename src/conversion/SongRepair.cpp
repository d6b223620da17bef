#include "conversion/SongRepair.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "conversion/CMidiPattern.h"
#include "conversion/CMidiReader.h"
#include "conversion/MetaEvents.h"
#include "conversion/NoteRepair.h"
#include "conversion/RepairTrack.h"
#include "conversion/SmfWriter.h"
#include "conversion/TextFormat.h"

namespace korvana {
namespace {

constexpr std::size_t kMaxTracks = 0xFFFF;

bool IsChannelEvent(const MidiEvent& event) {
    return event.byStatus < 0xF0;
}
bool IsMeta(const MidiEvent& event, std::uint8_t type) {
    return event.byStatus == meta::kStatus && event.dwLength >= 1 && event.byData[0] == type;
}
// The forms the check takes: exactly the standard lengths.
bool IsTimeSignature(const MidiEvent& event) {
    return IsMeta(event, meta::kTimeSignature) && event.dwLength == 5;
}
bool IsTempo(const MidiEvent& event) {
    return IsMeta(event, meta::kTempo) && event.dwLength == 4;
}

std::string TimeSignatureText(const MidiEvent& event) {
    const std::uint8_t* data = event.byData;
    return FormatText("%u/%u", data[1], 1u << std::min<unsigned>(data[2], 31));
}
std::string TempoText(const MidiEvent& event) {
    const std::uint8_t* data = event.byData;
    const std::uint32_t micros = static_cast<std::uint32_t>(data[1]) << 16 |
                                 static_cast<std::uint32_t>(data[2]) << 8 | data[3];
    return micros ? FormatText("%.0f BPM", 60000000.0 / micros)
                  : std::string("of 0 microseconds per quarter note");
}

// "1", "1 and 2", "1, 2 and 10".
std::string ListText(const std::vector<int>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            text += i + 1 == numbers.size() ? " and " : ", ";
        text += std::to_string(numbers[i]);
    }
    return text;
}

// A number of ticks as short as it can be said: "0.5", "1", "0.25".
std::string TicksText(double ticks) {
    std::string text = FormatText("%.2f", ticks);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text;
}

void SortByTime(RepairTrack& track) {
    std::stable_sort(
        track.events.begin(), track.events.end(),
        [](const RepairEvent& a, const RepairEvent& b) { return a.sourceTime < b.sourceTime; });
}

// The name the reader gives a song: the data of the first meta event, up to a zero byte.
std::optional<std::string> SongName(const std::vector<RepairTrack>& tracks) {
    for (const RepairTrack& track : tracks) {
        for (const RepairEvent& event : track.events) {
            if (event.midi.byStatus != meta::kStatus)
                continue;
            const char* text = reinterpret_cast<const char*>(event.midi.Rest());
            const std::size_t length = event.midi.dwLength - 1;
            return std::string(text, strnlen(text, length));
        }
    }
    return std::nullopt;
}

class Repairer {
public:
    Repairer(const CMidiReader& reader, std::uint32_t division, const RepairOptions& options)
        : m_reader(reader), m_nDivision(division), m_options(options) {}

    SongRepair Run() {
        TakeTracks();
        PlaceAndLayOut();
        if (m_reader.m_nFormat == 0)
            Change("Saved as a format 1 file, one track per channel; the song was format 0.");
        BringIntoTrackZero(IsTimeSignature, "time signature", TimeSignatureText,
                           DefaultTimeSignature());
        BringIntoTrackZero(IsTempo, "tempo", TempoText, DefaultTempo());
        if (m_nDivision != kRepairDivision && !Rescale())
            return std::move(m_result);
        EndTracks();
        KeepSongName();
        if (m_tracks.size() > kMaxTracks) {
            m_result.errors.push_back(FormatText(
                "Split one track per channel, the song would need %zu tracks; a file holds 65535.",
                m_tracks.size()));
            return std::move(m_result);
        }
        std::vector<SmfTrack> tracks;
        tracks.reserve(m_tracks.size());
        for (const RepairTrack& track : m_tracks) {
            SmfTrack& events = tracks.emplace_back();
            events.reserve(track.events.size());
            for (const RepairEvent& event : track.events)
                events.push_back(event.midi);
        }
        m_result.bytes = WriteStandardMidiFile(tracks, kRepairDivision);
        return std::move(m_result);
    }

private:
    void Change(std::string line) { m_result.changes.push_back(std::move(line)); }

    // The original tracks without their End of Track events; where each should end is kept.
    void TakeTracks() {
        for (std::uint32_t number = 0; number < m_reader.m_nTracks; ++number) {
            RepairTrack& track = m_source.emplace_back();
            track.sourceTrack = static_cast<int>(number);
            bool ended = false;
            for (const MidiEvent& event : m_reader.Track(number)) {
                track.endTime = std::max(track.endTime, event.dwTime);
                if (event.IsEndOfTrack())
                    ended = true;
                else
                    track.events.push_back({event, event.dwTime});
            }
            if (m_reader.m_trackEventCount[number] == 0)
                continue;  // an empty chunk holds nothing and goes
            if (!ended)
                m_endLines.push_back(
                    FormatText("Added the missing End of Track to track %u.", number));
            else if (!m_reader.m_trackLastEvent[number].IsEndOfTrack())
                m_endLines.push_back(
                    FormatText("Moved the End of Track of track %u after its last event.", number));
        }
    }

    // Channels go to their parts; each original track is split into one track per channel, and
    // the events of a channel that an earlier track already plays join that track.
    void PlaceAndLayOut() {
        std::array<ChannelUse, kChannelCount> use{};
        for (const RepairTrack& track : m_source) {
            for (const RepairEvent& event : track.events) {
                const MidiEvent& midi = event.midi;
                if (!IsChannelEvent(midi))
                    continue;
                ChannelUse& channel = use[midi.byStatus & 0x0F];
                ++channel.events;
                if (IsNoteOn(midi)) {
                    ++channel.notes;
                    channel.pitchSum += midi.byData[0];
                }
                if ((midi.byStatus & 0xF0) == 0xB0 && midi.byData[0] == 0 &&
                    (midi.byData[1] == 120 || midi.byData[1] == 127))
                    channel.drumLike = true;
            }
        }
        const ChannelPlacement placement = PlaceChannels(use, m_options.channels);
        auto kept = [&](int channel) { return placement.part[channel] != kDropChannel; };

        std::array<int, kChannelCount> owner;  // the new track that plays each channel
        owner.fill(-1);
        std::vector<std::string> layoutLines;
        std::vector<int> merged;  // tracks that other tracks' events joined, out of time order
        for (RepairTrack& source : m_source) {
            std::vector<int> channels;  // kept channels, in order of their first event
            for (const RepairEvent& event : source.events) {
                const int channel = event.midi.byStatus & 0x0F;
                if (IsChannelEvent(event.midi) && kept(channel) &&
                    std::find(channels.begin(), channels.end(), channel) == channels.end())
                    channels.push_back(channel);
            }
            const int home = static_cast<int>(m_tracks.size());
            m_tracks.push_back({{}, source.endTime, source.sourceTrack});
            bool homePlays = false;
            std::vector<int> pieces;  // new tracks split off this one
            std::array<int, kChannelCount> target{};
            if (channels.size() > 1) {
                std::vector<int> named;
                for (const int channel : channels)
                    named.push_back(channel + 1);
                layoutLines.push_back(
                    FormatText("Split track %d into one track per channel: "
                               "channels %s.",
                               source.sourceTrack, ListText(named).c_str()));
            }
            for (const int channel : channels) {
                if (owner[channel] >= 0) {
                    target[channel] = owner[channel];
                    layoutLines.push_back(FormatText(
                        "Merged the channel %d events of track %d into track %d, which plays "
                        "channel %d too.",
                        channel + 1, source.sourceTrack,
                        m_tracks[static_cast<std::size_t>(owner[channel])].sourceTrack,
                        channel + 1));
                    merged.push_back(owner[channel]);
                    continue;
                }
                if (!homePlays) {
                    homePlays = true;
                    owner[channel] = home;
                } else {
                    owner[channel] = static_cast<int>(m_tracks.size());
                    pieces.push_back(owner[channel]);
                    m_tracks.push_back({{}, source.endTime, source.sourceTrack});
                }
                target[channel] = owner[channel];
            }
            for (RepairEvent& event : source.events) {
                MidiEvent& midi = event.midi;
                if (!IsChannelEvent(midi)) {
                    m_tracks[static_cast<std::size_t>(home)].events.push_back(event);
                    // A MIDI port applies to every channel the track played.
                    if (IsMeta(midi, meta::kMidiPort)) {
                        for (const int piece : pieces)
                            m_tracks[static_cast<std::size_t>(piece)].events.push_back(event);
                    }
                    continue;
                }
                const int channel = midi.byStatus & 0x0F;
                if (!kept(channel))
                    continue;
                midi.byStatus = static_cast<std::uint8_t>(
                    (midi.byStatus & 0xF0) | (placement.part[channel] + kFirstPartChannel));
                RepairTrack& into = m_tracks[static_cast<std::size_t>(target[channel])];
                into.events.push_back(event);
                into.endTime = std::max(into.endTime, source.endTime);
            }
        }
        std::sort(merged.begin(), merged.end());
        merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
        for (const int track : merged)
            SortByTime(m_tracks[static_cast<std::size_t>(track)]);
        // Tracks whose every event went to other tracks or was dropped; track 0 always stays.
        if (m_tracks.empty())
            m_tracks.emplace_back();
        m_tracks.erase(
            std::remove_if(m_tracks.begin() + 1, m_tracks.end(),
                           [](const RepairTrack& track) { return track.events.empty(); }),
            m_tracks.end());
        m_result.changes.insert(m_result.changes.end(), layoutLines.begin(), layoutLines.end());
        m_result.changes.insert(m_result.changes.end(), placement.changes.begin(),
                                placement.changes.end());
    }

    MidiEvent DefaultTimeSignature() const {
        std::uint8_t power = 0;
        while ((1 << power) < m_options.timeSigDenominator)
            ++power;
        return ShortEvent(0, meta::kStatus,
                          {meta::kTimeSignature,
                           static_cast<std::uint8_t>(m_options.timeSigNumerator), power, 24, 8});
    }
    MidiEvent DefaultTempo() const {
        const auto micros =
            static_cast<std::uint32_t>(std::lround(60000000.0 / m_options.tempoBpm));
        return ShortEvent(
            0, meta::kStatus,
            {meta::kTempo, static_cast<std::uint8_t>(micros >> 16),
             static_cast<std::uint8_t>(micros >> 8), static_cast<std::uint8_t>(micros)});
    }

    // Track 0 must hold the kind of meta event that is: the earliest one of another track moves
    // there, or the default is inserted. It goes after the events at tick 0.
    template <class Is, class Describe>
    void BringIntoTrackZero(Is is, const char* what, Describe describe, MidiEvent fallback) {
        std::vector<RepairEvent>& zero = m_tracks.front().events;
        if (std::any_of(zero.begin(), zero.end(), [&](const RepairEvent& e) { return is(e.midi); }))
            return;
        std::optional<RepairEvent> found;
        std::size_t foundTrack = 0;
        std::size_t foundAt = 0;
        for (std::size_t track = 1; track < m_tracks.size(); ++track) {
            std::vector<RepairEvent>& events = m_tracks[track].events;
            const auto it = std::find_if(events.begin(), events.end(),
                                         [&](const RepairEvent& e) { return is(e.midi); });
            if (it == events.end() || (found && found->sourceTime <= it->sourceTime))
                continue;
            found = *it;
            foundTrack = track;
            foundAt = static_cast<std::size_t>(it - events.begin());
        }
        RepairEvent moved{fallback, 0};
        if (found) {
            std::vector<RepairEvent>& from = m_tracks[foundTrack].events;
            from.erase(from.begin() + static_cast<std::ptrdiff_t>(foundAt));
            Change(FormatText("Moved the %s %s from track %d to the start of track 0.", what,
                              describe(found->midi).c_str(), m_tracks[foundTrack].sourceTrack));
            moved.midi = found->midi;
        } else {
            Change(FormatText("Inserted the %s %s into track 0: the song had none.", what,
                              describe(fallback).c_str()));
        }
        moved.midi.dwTime = 0;
        const auto at = std::find_if(zero.begin(), zero.end(),
                                     [](const RepairEvent& e) { return e.sourceTime > 0; });
        zero.insert(at, moved);
    }

    bool Rescale() {
        const Rescaling rescaling = RescaleTracks(m_tracks, m_nDivision);
        if (!rescaling.fits) {
            m_result.errors.push_back(FormatText(
                "At 192 ticks per quarter note the song would last longer than a file can say."));
            return false;
        }
        Change(
            FormatText("Rescaled every time from %u to 192 ticks per quarter note, rounding to "
                       "the nearest tick; the largest shift is %s ticks.",
                       m_nDivision, TicksText(rescaling.largestShift).c_str()));
        if (rescaling.lengthenedNotes)
            Change("Lengthened " + CountText(rescaling.lengthenedNotes, "note") +
                   " that rescaling left without length to one tick.");
        return true;
    }

    // Every track ends with End of Track at its end, after its last event; notes get their ends.
    void EndTracks() {
        m_result.changes.insert(m_result.changes.end(), m_endLines.begin(), m_endLines.end());
        for (RepairTrack& track : m_tracks) {
            std::uint32_t end = track.endTime;
            if (!track.events.empty())
                end = std::max(end, track.events.back().midi.dwTime);
            track.events.push_back({ShortEvent(end, meta::kStatus, {meta::kEndOfTrack}), end});
            int channel = 0;
            for (const RepairEvent& event : track.events) {
                if (IsChannelEvent(event.midi)) {
                    channel = (event.midi.byStatus & 0x0F) + 1;
                    break;
                }
            }
            const NoteEnding ending = EndNotes(track, CMidiPattern::kMaxNoteLength);
            if (ending.closed)
                Change(
                    FormatText("Closed %s on channel %d that had no note-off, at the next "
                               "note-on of the same key or at the end of the track.",
                               CountText(ending.closed, "note").c_str(), channel));
            if (ending.cut)
                Change(
                    FormatText("Cut %s on channel %d to %u ticks, the longest the keyboard "
                               "can hold; the longest was %u ticks.",
                               CountText(ending.cut, "note").c_str(), channel,
                               CMidiPattern::kMaxNoteLength, ending.longest));
        }
    }

    // The song's name is its first meta event's text; whatever moved in front of it, the song
    // keeps the name it had.
    void KeepSongName() {
        const std::string name = m_reader.m_bSongNameSet ? m_reader.GetSongName() : std::string();
        if (SongName(m_tracks).value_or(std::string()) == name)
            return;
        m_nameData.assign(1, meta::kTrackName);
        m_nameData.insert(m_nameData.end(), name.begin(), name.end());
        MidiEvent event{};
        event.byStatus = meta::kStatus;
        event.dwLength = static_cast<std::uint32_t>(m_nameData.size());
        std::memcpy(event.byData, m_nameData.data(),
                    std::min(m_nameData.size(), sizeof(event.byData)));
        if (event.dwLength > sizeof(event.byData))
            event.pData = m_nameData.data() + 1;
        std::vector<RepairEvent>& zero = m_tracks.front().events;
        zero.insert(zero.begin(), RepairEvent{event, 0});
        Change(name.empty() ? std::string("Added an empty track name at the start of track 0, so "
                                          "that the song still shows no name.")
                            : FormatText("Added the track name \"%s\" at the start of track 0, so "
                                         "that the song keeps its name.",
                                         name.c_str()));
    }

    const CMidiReader& m_reader;
    const std::uint32_t m_nDivision;
    const RepairOptions& m_options;
    SongRepair m_result;
    std::vector<RepairTrack> m_source;
    std::vector<RepairTrack> m_tracks;
    std::vector<std::string> m_endLines;
    std::vector<std::uint8_t> m_nameData;
};

}  // namespace

SongRepair RepairSong(std::span<const std::uint8_t> song, const RepairOptions& options) {
    SongRepair refused;
    CMidiReader reader;
    reader.LoadBytes(song);
    if (reader.ReadHeader() != CMidiReader::kHeaderOk) {
        refused.errors.push_back(
            reader.m_nFormat > 1 && song.size() >= 14
                ? "It is a format 2 file, a set of separate songs, which makes no one pattern."
                : "It is not a Standard MIDI File that can be read: its header or its track "
                  "chunks are damaged.");
        return refused;
    }
    const std::uint32_t division = reader.m_nPPQN;
    if (division & 0x8000) {
        refused.errors.push_back(
            "Its times are counted in SMPTE frames, not in beats, so they cannot be turned into "
            "192 ticks per quarter note.");
        return refused;
    }
    if (division == 0) {
        refused.errors.push_back(
            "Its header says a quarter note has 0 ticks, so its times cannot be rescaled.");
        return refused;
    }
    reader.ReadTracks();  // a track that does not end properly is repaired
    return Repairer(reader, division, options).Run();
}

}  // namespace korvana
