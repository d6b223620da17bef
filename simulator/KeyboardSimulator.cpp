#include "simulator/KeyboardSimulator.h"

#include <algorithm>
#include <thread>

#include "device/Frame.h"
#include "device/SysExChunks.h"

namespace korvana {
namespace {

constexpr std::size_t kMaxNameLength = 255;

std::vector<std::uint8_t> Unpack(std::span<const std::uint8_t> frame) {
    std::vector<std::uint8_t> payload(
        frame.size() >= kFrameOverhead ? (frame.size() - kFrameOverhead) / 2 : 0);
    UnpackPayload(frame, payload);
    return payload;
}

}  // namespace

KeyboardSimulator::KeyboardSimulator(SimulatorOptions options, SlotStore& store, Sender send)
    : m_options(std::move(options)),
      m_store(store),
      m_send(std::move(send)),
      m_storeThread([this] { StoreSongs(); }) {}

KeyboardSimulator::~KeyboardSimulator() {
    Stop();
}

void KeyboardSimulator::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_bStopped = true;
    }
    m_storeSignal.notify_all();
    if (m_storeThread.joinable())
        m_storeThread.join();
}

void KeyboardSimulator::StoreSongs() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_storeSignal.wait(lock, [this] { return m_bStopped || m_storing; });
        if (m_bStopped)
            return;
        if (m_storeSignal.wait_for(lock, m_faults.storeDelay, [this] { return m_bStopped; }))
            return;
        // The file is written without the lock: the input thread keeps acknowledging and
        // answering meanwhile, as the MIDI system expects of it.
        SongToStore song = std::move(*m_storing);
        lock.unlock();
        const bool stored = m_store.Persist(song.slot, song.image);
        lock.lock();
        if (stored)
            m_store.Keep(song.slot, std::move(song.image));
        m_storing.reset();
        if (!m_bStopped)
            ReplyStatus(kCmdFile, stored ? std::uint8_t{kStatusOk} : kStatusRefused);
    }
}

void KeyboardSimulator::SetFaults(const SimulatorFaults& faults) {
    std::lock_guard lock(m_mutex);
    m_faults = faults;
}

std::size_t KeyboardSimulator::MessagesReceived() {
    std::lock_guard lock(m_mutex);
    return m_nMessages;
}

std::size_t KeyboardSimulator::PendingFrameBytes() {
    std::lock_guard lock(m_mutex);
    return m_chunks.size();
}

void KeyboardSimulator::OnBuffer(std::span<const std::uint8_t> buffer) {
    std::lock_guard lock(m_mutex);
    if (m_bStopped)
        return;
    m_assembler.Feed(buffer, [this](std::span<const std::uint8_t> message) { OnMessage(message); });
}

void KeyboardSimulator::OnMessage(std::span<const std::uint8_t> message) {
    ++m_nMessages;
    if (IsChunkAck(message))
        return;
    const bool ackDropped = m_faults.dropAckOfMessage > 0 && --m_faults.dropAckOfMessage == 0;
    if (!m_faults.dropAcks && !ackDropped)
        m_send(MakeChunkAck());
    // Whole frames travel in messages of at most 46 (later 47) bytes; a 48-byte message is a
    // piece of a longer frame, completed with 0xF0 in front (all but the first) and 0xF7 behind.
    const bool piece = message.size() == kMaxMessageSize;
    // A message that starts with the frame header starts a new frame: pieces of a frame whose
    // sending was abandoned are dropped. (Packed payload never holds the header's bytes.)
    if (HasFrameStart(message))
        m_chunks.clear();
    if (m_chunks.empty())
        m_frameStarted = std::chrono::steady_clock::now();
    if (m_chunks.empty() && !piece) {
        OnFrame(message);
        return;
    }
    const std::size_t from = m_chunks.empty() ? 0 : 1;
    const std::size_t to = piece ? message.size() - 1 : message.size();
    // Pieces that never end a frame are dropped once they outgrow the longest frame.
    if (m_chunks.size() + (to - from) > kMaxFrameSize) {
        m_chunks.clear();
        return;
    }
    m_chunks.insert(m_chunks.end(), message.begin() + static_cast<std::ptrdiff_t>(from),
                    message.begin() + static_cast<std::ptrdiff_t>(to));
    if (piece)
        return;
    const std::vector<std::uint8_t> frame = std::move(m_chunks);
    m_chunks.clear();
    OnFrame(frame);
}

void KeyboardSimulator::OnFrame(std::span<const std::uint8_t> frame) {
    if (!HasFrameHeader(frame))
        return;
    const std::uint8_t command = frame[kCommandOffset];
    const bool checksumOk = CarriedSum(frame) == FrameSum(frame);
    const std::vector<std::uint8_t> payload = Unpack(frame);
    // The program answers a reply whose checksum failed with (command, 2). Such a frame can only
    // follow a reply we sent corrupted; otherwise the same bytes are a request (a read or delete
    // of slot 2, a one-byte file) and are served as one.
    const bool afterCorruptedReply = m_nCorruptedReplyCommand == command;
    m_nCorruptedReplyCommand = -1;
    if (afterCorruptedReply && checksumOk && payload.size() == 1 && payload[0] == kStatusError) {
        m_exchange = Exchange::Idle;
        return;
    }
    // After an accepted header the next file frame of the announced size is the data, which
    // carries the data's sum; a file frame of another size is a new header (the program gave up
    // on the data).
    if (m_exchange == Exchange::AwaitingData && command == kCmdFile &&
        frame.size() == kFrameOverhead + 2 * std::size_t{m_nAnnouncedSize}) {
        if (m_frameStarted - m_headerAccepted > m_options.dataFollowsHeaderWithin) {
            m_exchange = Exchange::Idle;
            ReplyStatus(kCmdFile, kStatusRefused);
            return;
        }
        OnDataFrame(frame, payload);
        return;
    }
    if (!checksumOk) {
        ReplyStatus(command, kStatusError);
        return;
    }
    if (command != kCmdDirectory && m_exchange == Exchange::Listing)
        m_exchange = Exchange::Idle;
    if (command != kCmdRead && m_exchange == Exchange::Reading)
        m_exchange = Exchange::Idle;
    if (command != kCmdFile && m_exchange == Exchange::AwaitingData)
        m_exchange = Exchange::Idle;
    switch (command) {
        case kCmdConnect:
            OnConnect();
            return;
        case kCmdDirectory:
            OnDirectory(payload);
            return;
        case kCmdFile:
            OnFileHeader(payload);
            return;
        case kCmdRead:
            OnRead(payload);
            return;
        case kCmdDelete:
            OnDelete(payload);
            return;
        default:
            return;
    }
}

void KeyboardSimulator::OnConnect() {
    const std::string& name = m_options.name;
    const std::size_t length = std::min(name.size(), kMaxNameLength);
    std::vector<std::uint8_t> payload = {kStatusOk, 0, static_cast<std::uint8_t>(length)};
    payload.insert(payload.end(), name.begin(), name.begin() + static_cast<std::ptrdiff_t>(length));
    Reply(kCmdConnect, payload);
}

void KeyboardSimulator::OnDirectory(std::span<const std::uint8_t> payload) {
    if (payload.empty())
        return;
    if (payload[0] == 1) {
        m_exchange = Exchange::Listing;
        m_nListed = 0;
        SendNextEntry();
    } else if (payload[0] == kStatusOk && m_exchange == Exchange::Listing) {
        SendNextEntry();
    } else {
        m_exchange = Exchange::Idle;
    }
}

void KeyboardSimulator::SendNextEntry() {
    if (m_nListed >= m_store.Count()) {
        m_exchange = Exchange::Idle;
        Reply(kCmdDirectory, {kStatusEndOfDirectory});
        return;
    }
    int slot = m_nListed++;
    if (m_faults.directoryOutOfOrder && m_store.Count() > 2 && (slot == 1 || slot == 2))
        slot = 3 - slot;
    std::vector<std::uint8_t> payload = {kStatusOk, static_cast<std::uint8_t>(slot), 0};
    if (const std::vector<std::uint8_t>* song = m_store.Get(slot)) {
        const std::string name = SlotStore::NameOf(*song);
        payload[2] = static_cast<std::uint8_t>(name.size());
        payload.insert(payload.end(), name.begin(), name.end());
    }
    Reply(kCmdDirectory, payload);
}

void KeyboardSimulator::OnFileHeader(std::span<const std::uint8_t> payload) {
    if (payload.size() < 10 || payload[1] != 0 || m_storing) {
        ReplyStatus(kCmdFile, kStatusRefused);
        return;
    }
    const int slot = payload[0];
    const std::uint32_t size = ReadLe32(payload, 2);
    if (slot >= m_store.Count() || size < kMinSongImageSize || size > kMaxImageSize) {
        ReplyStatus(kCmdFile, kStatusRefused);
        return;
    }
    if (m_store.UsedExcept(slot) + size > m_options.capacity) {
        ReplyStatus(kCmdFile, kStatusCapacity);
        return;
    }
    m_exchange = Exchange::AwaitingData;
    m_nSlot = slot;
    m_nAnnouncedSize = size;
    ReplyStatus(kCmdFile, kStatusOk);
    m_headerAccepted = std::chrono::steady_clock::now();
}

void KeyboardSimulator::OnDataFrame(std::span<const std::uint8_t> frame,
                                    const std::vector<std::uint8_t>& image) {
    m_exchange = Exchange::Idle;
    if (CarriedSum(frame) != DataSum(image)) {
        ReplyStatus(kCmdFile, kStatusError);
        return;
    }
    if (image.size() != m_nAnnouncedSize || !IsWellFormedSongImage(image)) {
        ReplyStatus(kCmdFile, kStatusRefused);
        return;
    }
    std::vector<std::uint8_t> stored = image;
    if (m_faults.flipStoredByte && *m_faults.flipStoredByte < stored.size()) {
        stored[*m_faults.flipStoredByte] ^= 0xFF;
        m_faults.flipStoredByte.reset();
    }
    // Answered by the store thread once the song is kept.
    m_storing = SongToStore{m_nSlot, std::move(stored)};
    m_storeSignal.notify_one();
}

void KeyboardSimulator::OnRead(std::span<const std::uint8_t> payload) {
    if (payload.empty())
        return;
    // A read request for slot 0 and the request for the next block are the same bytes: while a
    // file is being read they ask for its next block, or end the read once all were sent.
    const bool reading =
        m_exchange == Exchange::Reading &&
        std::chrono::steady_clock::now() - m_lastReadReply < m_options.readAbandonedAfter;
    if (reading && payload[0] == 0) {
        SendNextBlock();
        return;
    }
    const std::vector<std::uint8_t>* song = m_store.Get(payload[0]);
    if (!song || m_faults.refuseReadOfSlot == payload[0]) {
        m_exchange = Exchange::Idle;
        ReplyStatus(kCmdRead, kStatusRefused);
        return;
    }
    m_exchange = Exchange::Reading;
    m_nSlot = payload[0];
    m_nNextBlock = 0;
    const auto size = static_cast<std::uint32_t>(song->size());
    std::vector<std::uint8_t> reply = {kStatusOk};
    AppendLe32(reply, size);
    AppendLe32(reply, static_cast<std::uint32_t>((size + kBlockSize - 1) / kBlockSize));
    Reply(kCmdRead, reply);
    m_lastReadReply = std::chrono::steady_clock::now();
}

void KeyboardSimulator::SendNextBlock() {
    const std::vector<std::uint8_t>* song = m_store.Get(m_nSlot);
    const std::size_t at = std::size_t{m_nNextBlock} * kBlockSize;
    if (!song || at >= song->size()) {
        m_exchange = Exchange::Idle;  // the end frame: no reply follows
        return;
    }
    const std::size_t length = std::min(kBlockSize, song->size() - at);
    std::vector<std::uint8_t> reply;
    AppendLe32(reply, m_nNextBlock++);
    AppendLe16(reply, static_cast<std::uint16_t>(length));
    reply.insert(reply.end(), song->begin() + static_cast<std::ptrdiff_t>(at),
                 song->begin() + static_cast<std::ptrdiff_t>(at + length));
    Reply(kCmdRead, reply);
    m_lastReadReply = std::chrono::steady_clock::now();
}

void KeyboardSimulator::OnDelete(std::span<const std::uint8_t> payload) {
    if (payload.empty() || payload[0] >= m_store.Count() || m_storing ||
        !m_store.Erase(payload[0])) {
        ReplyStatus(kCmdDelete, kStatusRefused);
        return;
    }
    ReplyStatus(kCmdDelete, kStatusOk);
}

void KeyboardSimulator::ReplyStatus(std::uint8_t command, std::uint8_t status) {
    Reply(command, {status});
}

void KeyboardSimulator::Reply(std::uint8_t command, const std::vector<std::uint8_t>& payload) {
    if (m_faults.replyDelay.count() > 0)
        std::this_thread::sleep_for(m_faults.replyDelay);
    std::uint8_t sent = command;
    if (m_faults.wrongCommandReplies > 0) {
        --m_faults.wrongCommandReplies;
        sent = command == kCmdConnect ? kCmdDelete : kCmdConnect;
    }
    std::vector<std::uint8_t> frame = MakeFrame(sent, payload);
    if (m_faults.corruptReplies > 0) {
        --m_faults.corruptReplies;
        StoreSum(frame, static_cast<std::uint8_t>(CarriedSum(frame) + 1));
        m_nCorruptedReplyCommand = sent;
    }
    m_send(frame);
}

}  // namespace korvana
