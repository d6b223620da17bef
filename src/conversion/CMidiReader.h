#pragma once

// Reads one Standard MIDI File: loads it whole, checks the chunk structure, parses every track,
// merges the tracks in time order and keeps the first meta event's data as the song's name.

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "LargeArray.h"
#include "MidiEvent.h"

namespace korvana {

// The division (ticks per quarter note) of the header read last by any reader.
extern std::atomic<std::uint32_t> g_nPPQN;

class CMidiReader {
public:
    // ReadHeader's results.
    static constexpr int kHeaderOk = 0;
    static constexpr int kHeaderNotLoaded = 1;
    static constexpr int kHeaderMalformed = 2;
    static constexpr int kHeaderOutOfMemory = 3;

    CMidiReader() = default;
    virtual ~CMidiReader();
    CMidiReader(const CMidiReader&) = delete;
    CMidiReader& operator=(const CMidiReader&) = delete;

    // No song the keyboard can hold comes near this size; a larger file is not read at all, so
    // memory stays bounded whatever the file.
    static constexpr std::uint64_t kMaxFileSize = std::uint64_t{64} << 20;

    // Reads m_strFileName whole. False on a failed allocation, a short read or a file larger than
    // kMaxFileSize (m_bFileTooLarge); nothing is kept. Throws std::filesystem::filesystem_error
    // when the file cannot be opened at all or is not a regular file.
    bool LoadFile();
    int ReadHeader();
    // Parses every track; true when every non-empty track ends with End of Track.
    bool ReadTracks();
    void MergeTracks();
    std::string GetSongName() const { return m_strSongName; }
    void Reset();

    // Text dumps of the parsed events: input path + "_Events.txt" per track, input path +
    // "_AllEvents.txt" merged. A dump that cannot be written is skipped.
    void DumpTrackEvents() const;
    void DumpAllEvents() const;

    std::string m_strFileName;
    std::uint32_t m_nFileSize = 0;
    LargeArray<std::uint8_t> m_pFileData;
    std::uint32_t m_nTracks = 0;
    std::uint8_t m_nFormat = 0;
    // The events of all tracks in time order; filled by MergeTracks.
    std::span<const MidiEvent*> m_allEvents;
    // Each track's events in file order: contiguous arrays inside one store for the whole file.
    std::vector<std::span<MidiEvent>> m_trackEvents;
    std::vector<const std::uint8_t*> m_trackData;
    std::vector<std::uint32_t> m_trackLength;
    std::string m_strSongName;
    bool m_bSongNameSet = false;
    bool m_bFileTooLarge = false;

private:
    // Sized exactly before the parse: the events of all tracks, and the data bytes of events
    // longer than 7 bytes.
    LargeArray<MidiEvent> m_eventStore;
    std::unique_ptr<std::uint8_t[]> m_pLongData;
    LargeArray<const MidiEvent*> m_mergedStore;
};

}  // namespace korvana
