#pragma once

// Reads one Standard MIDI File: from a file, loaded whole with one read, or from bytes already in
// memory. Checks the chunk structure, walks every track once (End of Track check, song name,
// counts) and finds where the tracks' merge in time order ends. Events are parsed again whenever
// they are walked (Track, MergedEvents) instead of being stored: parsing costs less than the
// memory, and a song of any size then needs memory for its bytes only.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/LargeArray.h"
#include "conversion/MidiEvent.h"
#include "conversion/TrackParser.h"

namespace korvana {

class CMidiReader {
public:
    // ReadHeader's results.
    static constexpr int kHeaderOk = 0;
    static constexpr int kHeaderNotLoaded = 1;
    static constexpr int kHeaderMalformed = 2;
    static constexpr int kHeaderOutOfMemory = 3;

    // No song the keyboard can hold comes near this size; a larger file is not read at all, so
    // memory stays bounded whatever the file.
    static constexpr std::uint64_t kMaxFileSize = std::uint64_t{64} << 20;

    CMidiReader() = default;
    virtual ~CMidiReader();
    CMidiReader(const CMidiReader&) = delete;
    CMidiReader& operator=(const CMidiReader&) = delete;

    // Reads m_strFileName whole. False on a failed allocation, a short read or a file larger than
    // kMaxFileSize (m_bFileTooLarge); nothing is kept. Throws std::filesystem::filesystem_error
    // when the file cannot be opened at all or is not a regular file.
    bool LoadFile();
    // Reads the song from bytes in memory instead of a file: they are used where they are, so
    // they must outlive the reading. m_strFileName stays the name the log entries give.
    void LoadBytes(std::span<const std::uint8_t> bytes);
    int ReadHeader();
    // Walks every track; true when every non-empty track ends with End of Track.
    bool ReadTracks();
    // Finds the last event of the merged order (m_lastEvent); after ReadTracks.
    void MergeTracks();
    std::string GetSongName() const { return m_strSongName; }
    void Reset();

    // The events of one track in file order, parsed as they are walked.
    class TrackEvents;
    TrackEvents Track(std::uint32_t track) const;
    // The events of all tracks in time order: at each step the track whose next event has the
    // smallest time gives its event, the lower track on equal times.
    class MergedEvents;

    // Text dumps of the parsed events: input path + "_Events.txt" per track, input path +
    // "_AllEvents.txt" merged. A dump that cannot be written is skipped.
    void DumpTrackEvents() const;
    void DumpAllEvents() const;
    // The same texts handed to out piece by piece, so a dump of any size needs little memory.
    using TextOut = std::function<void(std::string_view)>;
    void DumpTrackEvents(const TextOut& out) const;
    void DumpAllEvents(const TextOut& out) const;

    std::string m_strFileName;
    std::uint32_t m_nFileSize = 0;
    LargeArray<std::uint8_t> m_pFileData;  // the file's bytes, when read by LoadFile
    std::uint32_t m_nTracks = 0;
    std::uint8_t m_nFormat = 0;
    // The header's division: ticks per quarter note.
    std::uint32_t m_nPPQN = 0;
    std::vector<const std::uint8_t*> m_trackData;
    std::vector<std::uint32_t> m_trackLength;
    // From ReadTracks: each track's event count and last event, and whether any track's time ran
    // past 32 bits.
    std::vector<std::uint32_t> m_trackEventCount;
    std::vector<MidiEvent> m_trackLastEvent;
    bool m_bTimeWrapped = false;
    // From MergeTracks: the number of events and the last event of the merged order.
    std::uint64_t m_nEvents = 0;
    MidiEvent m_lastEvent{};
    std::string m_strSongName;
    bool m_bSongNameSet = false;
    bool m_bFileTooLarge = false;

private:
    TrackCursor Cursor(std::uint32_t track) const;

    std::span<const std::uint8_t> m_bytes;  // the song being read: the file's or the caller's
};

class CMidiReader::TrackEvents {
public:
    struct End {};
    class Iterator {
    public:
        Iterator(TrackCursor cursor) : m_cursor(cursor) { ++*this; }
        const MidiEvent& operator*() const { return m_event; }
        Iterator& operator++() {
            m_bEnded = !m_cursor.Next(m_event);
            return *this;
        }
        bool operator==(End) const { return m_bEnded; }

    private:
        TrackCursor m_cursor;
        MidiEvent m_event{};
        bool m_bEnded = false;
    };

    explicit TrackEvents(TrackCursor cursor) : m_cursor(cursor) {}
    Iterator begin() const { return Iterator(m_cursor); }
    End end() const { return {}; }

private:
    TrackCursor m_cursor;
};

class CMidiReader::MergedEvents {
public:
    explicit MergedEvents(const CMidiReader& reader);
    // The next event in time order; false after the last.
    bool Next(MidiEvent& event);

private:
    std::size_t m_nTracks;
    std::vector<TrackCursor> m_cursors;
    std::vector<MidiEvent> m_heads;  // each track's next event
    // A tournament tree over the tracks' next events, by merge key (time, then track): node
    // n > 0 keeps the key that lost its match; node 0 is unused.
    std::vector<std::uint64_t> m_tree;
    std::uint64_t m_winner;  // the key of the next event
};

}  // namespace korvana
