#include "CMidiReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <system_error>

#include "PathNames.h"
#include "TrackParser.h"

namespace korvana {

std::atomic<std::uint32_t> g_nPPQN{0};

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

bool IsShort(std::uint32_t dataBytes) {
    return dataBytes <= sizeof(MidiEvent::byData);
}

// First pass: how many events and how many long data bytes a track holds.
struct CountingSink {
    std::size_t events = 0;
    std::size_t longBytes = 0;

    void AddChannel(std::uint32_t, std::uint8_t, std::uint8_t, std::uint8_t, std::uint32_t) {
        ++events;
    }
    void AddBytes(std::uint32_t, std::uint8_t, const std::uint8_t*, std::uint32_t count) {
        ++events;
        if (!IsShort(count))
            longBytes += count;
    }
    void AddMeta(std::uint32_t, std::uint8_t, const std::uint8_t*, std::uint32_t count) {
        ++events;
        if (!IsShort(count + 1))
            longBytes += count + 1;
    }
};

// Second pass: fills the track's part of the event store (sized by the first pass) and the long
// data store.
struct StoringSink {
    MidiEvent* next;
    MidiEvent* const limit;
    std::uint8_t*& longData;
    std::string& songName;
    bool& songNameSet;

    // The walk is the counting one, so the store always has room; the check is a safeguard.
    MidiEvent* Append(std::uint32_t time, std::uint8_t status, std::uint32_t count) {
        if (next == limit)
            return nullptr;
        MidiEvent& event = *next++;
        event = MidiEvent{};
        event.dwTime = time;
        event.dwLength = count;
        event.byStatus = status;
        return &event;
    }
    void AddChannel(std::uint32_t time, std::uint8_t status, std::uint8_t first,
                    std::uint8_t second, std::uint32_t count) {
        MidiEvent* event = Append(time, status, count);
        if (!event)
            return;
        event->byData[0] = first;
        event->byData[1] = count > 1 ? second : 0;
    }
    void AddBytes(std::uint32_t time, std::uint8_t status, const std::uint8_t* bytes,
                  std::uint32_t count) {
        MidiEvent* event = Append(time, status, count);
        if (!event)
            return;
        std::uint8_t* target = event->byData;
        if (!IsShort(count)) {
            target = longData;
            event->pData = longData;
            longData += count;
        }
        if (count)
            std::memcpy(target, bytes, count);
    }
    void AddMeta(std::uint32_t time, std::uint8_t type, const std::uint8_t* bytes,
                 std::uint32_t count) {
        MidiEvent* event = Append(time, 0xFF, count + 1);
        if (!event)
            return;
        std::uint8_t* target = event->byData;
        if (!IsShort(count + 1)) {
            target = longData;
            event->pData = longData;
            longData += count + 1;
        }
        target[0] = type;
        if (count)
            std::memcpy(target + 1, bytes, count);
        if (!songNameSet) {
            // The name is text: it ends at the first zero byte.
            const void* zero = count ? std::memchr(bytes, 0, count) : nullptr;
            const std::size_t length =
                zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - bytes)
                     : count;
            songName.assign(reinterpret_cast<const char*>(bytes), length);
            songNameSet = true;
        }
    }
};

}  // namespace

CMidiReader::~CMidiReader() {
    Reset();
}

bool CMidiReader::LoadFile() {
    std::FILE* file = OpenFile(PathFromUtf8(m_strFileName), "rb");
    if (!file)
        throw fs::filesystem_error("cannot open", PathFromUtf8(m_strFileName),
                                   std::error_code(errno, std::generic_category()));
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, &std::fclose);
    if (std::fseek(file, 0, SEEK_END) != 0)
        return false;
    const long end = std::ftell(file);
    if (end < 0 || static_cast<unsigned long>(end) > std::numeric_limits<std::uint32_t>::max() ||
        std::fseek(file, 0, SEEK_SET) != 0)
        return false;
    const auto size = static_cast<std::size_t>(end);
    // Left uninitialised: every byte is overwritten by the read. An empty file still has data.
    LargeArray<std::uint8_t> data;
    if (!data.Allocate(size ? size : 1) || std::fread(data.Data(), 1, size, file) != size)
        return false;
    m_pFileData = std::move(data);
    m_nFileSize = static_cast<std::uint32_t>(size);
    return true;
}

int CMidiReader::ReadHeader() {
    const std::uint8_t* data = m_pFileData.Data();
    if (!data)
        return kHeaderNotLoaded;
    if (m_nFileSize < kHeaderSize || std::memcmp(data, "MThd", 4) != 0 || data[4] != 0 ||
        data[5] != 0 || data[6] != 0 || data[7] != 6)
        return kHeaderMalformed;
    m_nTracks = BigEndian16(data + 10);
    g_nPPQN = BigEndian16(data + 12);
    m_nFormat = data[9];
    if (m_nFormat > 1)
        return kHeaderMalformed;
    try {
        m_trackEvents.assign(m_nTracks, {});
        m_trackData.assign(m_nTracks, nullptr);
        m_trackLength.assign(m_nTracks, 0);
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

bool CMidiReader::ReadTracks() {
    const std::uint8_t* fileEnd = m_pFileData.Data() + m_nFileSize;
    auto chunkBody = [&](std::uint32_t track) { return m_trackData[track] + kChunkHeaderSize; };
    auto chunkEnd = [&](std::uint32_t track) { return chunkBody(track) + m_trackLength[track]; };

    std::vector<std::size_t> eventCounts(m_nTracks);
    std::size_t totalEvents = 0;
    std::size_t longBytes = 0;
    for (std::uint32_t track = 0; track < m_nTracks; ++track) {
        CountingSink counter;
        track_parser::ParseTrack(chunkBody(track), chunkEnd(track), fileEnd, counter);
        eventCounts[track] = counter.events;
        totalEvents += counter.events;
        longBytes += counter.longBytes;
    }
    if (!m_eventStore.Allocate(totalEvents))
        return false;  // a song we cannot hold is not a song we accept
    m_pLongData.reset(longBytes ? new (std::nothrow) std::uint8_t[longBytes] : nullptr);
    if (longBytes && !m_pLongData)
        return false;

    MidiEvent* store = m_eventStore.Data();
    std::uint8_t* longData = m_pLongData.get();
    bool allEnded = true;
    for (std::uint32_t track = 0; track < m_nTracks; ++track) {
        StoringSink sink{store, store + eventCounts[track], longData, m_strSongName,
                         m_bSongNameSet};
        track_parser::ParseTrack(chunkBody(track), chunkEnd(track), fileEnd, sink);
        m_trackEvents[track] = std::span<MidiEvent>(store, sink.next);
        store += eventCounts[track];
        const std::span<MidiEvent>& events = m_trackEvents[track];
        if (!events.empty() && !events.back().IsEndOfTrack())
            allEnded = false;
    }
    return allEnded;
}

// At each step the track whose next event has the smallest time gives its event, the lower track
// on equal times. A tournament tree over the tracks' next events, keyed by (time, track), finds
// it with one comparison per tree level; it holds for any times, even ones that wrapped.
void CMidiReader::MergeTracks() {
    std::size_t total = 0;
    for (const auto& events : m_trackEvents)
        total += events.size();
    m_allEvents = {};
    if (!m_mergedStore.Allocate(total))
        return;  // out of memory: an empty list, which no check accepts
    const std::size_t tracks = m_nTracks;
    if (total == 0)
        return;

    constexpr std::uint64_t kExhausted = ~std::uint64_t{0};
    std::vector<std::size_t> cursors(tracks, 0);
    std::vector<std::uint64_t> keys(tracks);
    auto nextKey = [&](std::size_t track) {
        const std::span<MidiEvent>& events = m_trackEvents[track];
        return cursors[track] < events.size()
                   ? static_cast<std::uint64_t>(events[cursors[track]].dwTime) << 32 | track
                   : kExhausted;
    };
    for (std::size_t track = 0; track < tracks; ++track)
        keys[track] = nextKey(track);

    // Leaves are tracks + 0 .. 2 * tracks - 1; node n > 0 keeps the loser of its match, node 0
    // the overall winner.
    std::vector<std::size_t> tree(tracks);
    {
        std::vector<std::size_t> winners(2 * tracks);
        for (std::size_t track = 0; track < tracks; ++track)
            winners[tracks + track] = track;
        for (std::size_t node = tracks - 1; node > 0; --node) {
            const std::size_t left = winners[2 * node];
            const std::size_t right = winners[2 * node + 1];
            const bool leftWins = keys[left] < keys[right];
            winners[node] = leftWins ? left : right;
            tree[node] = leftWins ? right : left;
        }
        tree[0] = tracks > 1 ? winners[1] : 0;
    }

    const MidiEvent** out = m_mergedStore.Data();
    for (std::size_t filled = 0; filled < total; ++filled) {
        std::size_t winner = tree[0];
        out[filled] = &m_trackEvents[winner][cursors[winner]++];
        keys[winner] = nextKey(winner);
        // Selects instead of branching: which side wins is as good as random for interleaved
        // tracks, and mispredicted branches would cost more than the comparisons.
        for (std::size_t node = (winner + tracks) / 2; node > 0; node /= 2) {
            const std::size_t other = tree[node];
            const bool otherWins = keys[other] < keys[winner];
            tree[node] = otherWins ? winner : other;
            winner = otherWins ? other : winner;
        }
        tree[0] = winner;
    }
    m_allEvents = std::span<const MidiEvent*>(out, total);
}

void CMidiReader::Reset() {
    m_allEvents = {};
    m_mergedStore.Free();
    m_trackEvents = {};
    m_eventStore.Free();
    m_trackData = {};
    m_trackLength = {};
    m_pLongData.reset();
    m_pFileData.Free();
    m_nFileSize = 0;
    m_nTracks = 0;
    m_strFileName.clear();
    m_strSongName.clear();
    m_bSongNameSet = false;
}

}  // namespace korvana
