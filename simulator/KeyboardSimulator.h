#pragma once

// The keyboard's side of the transfer protocol, for a musician without the instrument and for
// tests. It acknowledges every message, joins chunked frames, checks checksums, and answers
// connect, directory, file header and data, read and delete as the keyboard does. Faults can be
// switched on to exercise the program's failure paths.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "device/FrameAssembler.h"
#include "device/SongImageFormat.h"
#include "device/TransferLimits.h"
#include "simulator/SlotStore.h"

namespace korvana {

struct SimulatorOptions {
    std::string name = "Korvana Keyboard";
    int slotCount = 16;                   // at most 256
    std::uint64_t capacity = 256 * 1024;  // bytes over all slots
    // A read whose next request has not come this long after the last block is over: the
    // program sends nothing more after a failed fetch.
    std::chrono::milliseconds readAbandonedAfter{1000};
    // A data frame that starts later than this after its header was accepted is refused: the
    // program sends it at once, so a late one belongs to another conversation.
    std::chrono::milliseconds dataFollowsHeaderWithin{kSendTimeout};
};

struct SimulatorFaults {
    bool dropAcks = false;                    // acknowledge no message
    int dropAckOfMessage = 0;                 // the Nth message from now goes unacknowledged
    int corruptReplies = 0;                   // the next N replies carry a wrong checksum
    int wrongCommandReplies = 0;              // the next N replies carry another command
    bool directoryOutOfOrder = false;         // list slot 2 second
    std::chrono::milliseconds replyDelay{0};  // before each reply (acknowledgements go at once)
    std::chrono::milliseconds storeDelay{0};  // before each song is stored
    // The next song stored gets the byte at this offset flipped, as a failing memory would;
    // only a read-back finds it.
    std::optional<std::size_t> flipStoredByte{};
    std::optional<int> refuseReadOfSlot{};  // reads of this slot are refused
};

// Status the keyboard answers for a request it refuses for any reason but capacity.
constexpr std::uint8_t kStatusRefused = 3;

class KeyboardSimulator {
public:
    using Sender = std::function<void(std::span<const std::uint8_t>)>;

    // send is called on the input thread and on the thread that stores songs, never on both at
    // once.
    KeyboardSimulator(SimulatorOptions options, SlotStore& store, Sender send);
    ~KeyboardSimulator();
    KeyboardSimulator(const KeyboardSimulator&) = delete;
    KeyboardSimulator& operator=(const KeyboardSimulator&) = delete;

    // One buffer from the input port; buffers are joined into messages first.
    void OnBuffer(std::span<const std::uint8_t> buffer);

    void SetFaults(const SimulatorFaults& faults);
    std::size_t MessagesReceived();
    // Bytes of the long frame being joined.
    std::size_t PendingFrameBytes();

    // Finishes or abandons the store under way and sends nothing more; called before the ports
    // close.
    void Stop();

private:
    enum class Exchange { Idle, Listing, AwaitingData, Reading };

    void OnMessage(std::span<const std::uint8_t> message);
    void OnFrame(std::span<const std::uint8_t> frame);
    void OnDataFrame(std::span<const std::uint8_t> frame, const std::vector<std::uint8_t>& image);
    void OnConnect();
    void OnDirectory(std::span<const std::uint8_t> payload);
    void OnFileHeader(std::span<const std::uint8_t> payload);
    void OnRead(std::span<const std::uint8_t> payload);
    void OnDelete(std::span<const std::uint8_t> payload);
    // The store thread: writes each accepted song, then answers its data frame.
    void StoreSongs();
    void SendNextEntry();
    void SendNextBlock();
    void Reply(std::uint8_t command, const std::vector<std::uint8_t>& payload);
    void ReplyStatus(std::uint8_t command, std::uint8_t status);

    const SimulatorOptions m_options;
    SlotStore& m_store;
    const Sender m_send;

    std::mutex m_mutex;  // input thread against the store thread, SetFaults and the counters
    SimulatorFaults m_faults;
    FrameAssembler m_assembler;
    std::vector<std::uint8_t> m_chunks;  // the long frame being joined from 48-byte messages
    std::chrono::steady_clock::time_point m_frameStarted;  // first message of the frame
    std::size_t m_nMessages = 0;

    Exchange m_exchange = Exchange::Idle;
    int m_nListed = 0;                   // directory entries sent so far
    int m_nSlot = 0;                     // slot of the file being received or read
    std::uint32_t m_nAnnouncedSize = 0;  // size from the accepted file header
    std::chrono::steady_clock::time_point m_headerAccepted;
    std::uint32_t m_nNextBlock = 0;  // next block of the file being read
    std::chrono::steady_clock::time_point m_lastReadReply;
    int m_nCorruptedReplyCommand = -1;  // command of our last reply if sent corrupted

    struct SongToStore {
        int slot = 0;
        std::vector<std::uint8_t> image;
    };
    // The song being stored; while it is, requests that change slots are refused.
    std::optional<SongToStore> m_storing;
    bool m_bStopped = false;
    std::condition_variable m_storeSignal;
    std::thread m_storeThread;  // last: starts once everything above is ready
};

}  // namespace korvana
