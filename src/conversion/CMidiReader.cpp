#include "conversion/CMidiReader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>
#include <system_error>

#include "common/InputFile.h"
#include "common/PathNames.h"
#include "conversion/MetaEvents.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kHeaderSize = 14;
constexpr std::uint32_t kChunkHeaderSize = 8;

std::uint32_t BigEndian16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 8 | p[1];
}

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// The merge orders events by (time, track) as one number: the track (at most 65535 of them) in
// the low 16 bits, the time above it, and above all a track's end.
constexpr std::uint64_t kExhausted = std::uint64_t{1} << 48;

std::uint64_t MergeKey(std::uint32_t time, std::size_t track) {
    return static_cast<std::uint64_t>(time) << 16 | track;
}

std::size_t TrackOf(std::uint64_t key) {
    return static_cast<std::size_t>(key & 0xFFFF);
}

}  // namespace

CMidiReader::~CMidiReader() {
    Reset();
}

bool CMidiReader::LoadFile() {
    InputFile file{PathFromUtf8(m_strFileName)};
    if (!file.IsOpen())
        throw fs::filesystem_error("cannot open", PathFromUtf8(m_strFileName), file.Error());
    if (file.Size() > kMaxFileSize) {
        m_bFileTooLarge = true;
        return false;
    }
    const auto size = static_cast<std::size_t>(file.Size());
    // Left uninitialised: every byte is overwritten by the read. An empty file still has data.
    LargeArray<std::uint8_t> data;
    if (!data.Allocate(size ? size : 1) || !file.Read(std::span(data.Data(), size)))
        return false;
    m_pFileData = std::move(data);
    LoadBytes(std::span(m_pFileData.Data(), size));
    return true;
}

void CMidiReader::LoadBytes(std::span<const std::uint8_t> bytes) {
    static constexpr std::uint8_t kEmpty = 0;
    // Bytes are loaded even when there are none: an empty song is malformed, not missing.
    m_bytes = bytes.data() ? bytes : std::span(&kEmpty, 0);
    m_nFileSize = static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size(), UINT32_MAX));
}

int CMidiReader::ReadHeader() {
    const std::uint8_t* data = m_bytes.data();
    if (!data)
        return kHeaderNotLoaded;
    if (m_bytes.size() != m_nFileSize || m_nFileSize < kHeaderSize ||
        std::memcmp(data, "MThd", 4) != 0 || data[4] != 0 || data[5] != 0 || data[6] != 0 ||
        data[7] != 6)
        return kHeaderMalformed;
    m_nTracks = BigEndian16(data + 10);
    m_nPPQN = BigEndian16(data + 12);
    m_nFormat = data[9];
    if (m_nFormat > 1)
        return kHeaderMalformed;
    try {
        m_trackData.assign(m_nTracks, nullptr);
        m_trackLength.assign(m_nTracks, 0);
        m_trackEventCount.assign(m_nTracks, 0);
        m_trackLastEvent.assign(m_nTracks, MidiEvent{});
    } catch (const std::bad_alloc&) {
        return kHeaderOutOfMemory;
    }
    std::uint64_t position = kHeaderSize;
    for (std::uint32_t track = 0; track < m_nTracks; ++track) {
        if (m_nFileSize - position < kChunkHeaderSize ||
            std::memcmp(data + position, "MTrk", 4) != 0)
            return kHeaderMalformed;
        const std::uint32_t length = BigEndian32(data + position + 4);
        if (m_nFileSize - position - kChunkHeaderSize < length)
            return kHeaderMalformed;
        m_trackData[track] = data + position;
        m_trackLength[track] = length;
        position += kChunkHeaderSize + length;
    }
    return position == m_nFileSize ? kHeaderOk : kHeaderMalformed;
}

TrackCursor CMidiReader::Cursor(std::uint32_t track) const {
    const std::uint8_t* body = m_trackData[track] + kChunkHeaderSize;
    return TrackCursor(body, body + m_trackLength[track], m_bytes.data() + m_bytes.size());
}

CMidiReader::TrackEvents CMidiReader::Track(std::uint32_t track) const {
    return TrackEvents(Cursor(track));
}

bool CMidiReader::ReadTracks() {
    bool allEnded = true;
    m_bTimeWrapped = false;
    for (std::uint32_t track = 0; track < m_nTracks; ++track) {
        TrackCursor cursor = Cursor(track);
        MidiEvent event{};
        std::uint32_t count = 0;
        std::uint32_t previousTime = 0;
        while (cursor.Next(event)) {
            ++count;
            m_bTimeWrapped = m_bTimeWrapped || event.dwTime < previousTime;
            previousTime = event.dwTime;
            if (event.byStatus == meta::kStatus && !m_bSongNameSet) {
                // The name is text: it ends at the first zero byte.
                const std::size_t bytes = event.dwLength - 1;
                const void* zero = bytes ? std::memchr(event.Rest(), 0, bytes) : nullptr;
                const std::size_t length =
                    zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) -
                                                    event.Rest())
                         : bytes;
                m_strSongName.assign(reinterpret_cast<const char*>(event.Rest()), length);
                m_bSongNameSet = true;
            }
        }
        m_trackEventCount[track] = count;
        m_trackLastEvent[track] = event;
        if (count && !event.IsEndOfTrack())
            allEnded = false;
    }
    return allEnded;
}

void CMidiReader::MergeTracks() {
    m_nEvents = 0;
    for (const std::uint32_t count : m_trackEventCount)
        m_nEvents += count;
    m_lastEvent = MidiEvent{};
    if (m_bTimeWrapped) {
        // Times that ran past 32 bits leave a track out of order: only the merge itself knows
        // which event comes last.
        MergedEvents merged(*this);
        for (MidiEvent event; merged.Next(event);)
            m_lastEvent = event;
        return;
    }
    // With times that only grow within each track, the merged order is sorted by (time, track):
    // it ends with the last event of the track whose last event has the greatest such pair.
    std::optional<std::uint64_t> lastKey;
    for (std::uint32_t track = 0; track < m_nTracks; ++track) {
        const std::uint64_t key = MergeKey(m_trackLastEvent[track].dwTime, track);
        if (m_trackEventCount[track] && (!lastKey || key > *lastKey)) {
            lastKey = key;
            m_lastEvent = m_trackLastEvent[track];
        }
    }
}

void CMidiReader::Reset() {
    m_trackData = {};
    m_trackLength = {};
    m_trackEventCount = {};
    m_trackLastEvent = {};
    m_bTimeWrapped = false;
    m_nEvents = 0;
    m_lastEvent = MidiEvent{};
    m_bytes = {};
    m_pFileData.Free();
    m_nFileSize = 0;
    m_nTracks = 0;
    m_nPPQN = 0;
    m_strFileName.clear();
    m_strSongName.clear();
    m_bSongNameSet = false;
    m_bFileTooLarge = false;
}

CMidiReader::MergedEvents::MergedEvents(const CMidiReader& reader)
    : m_nTracks(reader.m_nTracks),
      m_cursors(m_nTracks),
      m_heads(m_nTracks),
      m_tree(m_nTracks),
      m_winner(kExhausted) {
    if (m_nTracks == 0)
        return;
    std::vector<std::uint64_t> winners(2 * m_nTracks);
    for (std::uint32_t track = 0; track < m_nTracks; ++track) {
        m_cursors[track] = reader.Cursor(track);
        winners[m_nTracks + track] = m_cursors[track].Next(m_heads[track])
                                         ? MergeKey(m_heads[track].dwTime, track)
                                         : kExhausted | track;
    }
    for (std::size_t node = m_nTracks - 1; node > 0; --node) {
        winners[node] = std::min(winners[2 * node], winners[2 * node + 1]);
        m_tree[node] = std::max(winners[2 * node], winners[2 * node + 1]);
    }
    m_winner = winners[1];
}

bool CMidiReader::MergedEvents::Next(MidiEvent& event) {
    if (m_winner & kExhausted)
        return false;
    const std::size_t winner = TrackOf(m_winner);
    event = m_heads[winner];
    std::uint64_t key = m_cursors[winner].Next(m_heads[winner])
                            ? MergeKey(m_heads[winner].dwTime, winner)
                            : kExhausted | winner;
    // Keys are unique, so each match is a minimum and a maximum, best selected without a
    // branch: which side wins is as good as random for interleaved tracks.
    for (std::size_t node = (winner + m_nTracks) / 2; node > 0; node /= 2) {
        const std::uint64_t other = m_tree[node];
        const bool otherWins = other < key;
        m_tree[node] = otherWins ? key : other;
        key = otherWins ? other : key;
    }
    m_winner = key;
    return true;
}

}  // namespace korvana
