#pragma once

// The keyboard's transfer protocol over one device that this object owns: the frame handler that
// runs on the input thread and moves the transfer state, the wait on that state, and the
// operations built on them. Each operation runs on the calling thread from start to end, one at
// a time, within an overall deadline, and holds the keyboard's lock (see KeyboardLock) from its
// first frame to its last once ConnectDevice has named the keyboard's output port.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "device/CMidiDevice.h"
#include "device/KeyboardLock.h"
#include "device/SlotNameList.h"
#include "device/TransferLimits.h"
#include "device/TransferState.h"

namespace korvana {

class CMidiTrans {
public:
    // A device without a MIDI system yet: Device().SetBackend installs one.
    CMidiTrans();
    // Closes the ports first, so that no frame arrives while the state goes.
    ~CMidiTrans();
    CMidiTrans(const CMidiTrans&) = delete;
    CMidiTrans& operator=(const CMidiTrans&) = delete;

    CMidiDevice& Device() { return *m_pMidiDevice; }

    // The last connect succeeded (and no later one failed).
    bool IsConnected() const { return m_bConnected == 1; }
    // No operation and no port enumeration is running.
    bool IsIdle() const { return m_bIdle == 1; }
    // Connected and idle: what every keyboard command asks before it starts.
    bool CanTalkToKeyboard() const { return IsConnected() && IsIdle(); }
    // The state code the last operation left, and what the reply that moved it carried: its
    // payload, the device's name (connect) and the directory's entries so far.
    int TransState() const { return m_nTransState.load(std::memory_order_acquire); }
    std::span<const std::uint8_t> Payload() const { return {m_payload.data(), m_nPayloadLength}; }
    std::string DeviceName() const { return m_szDeviceName.data(); }
    std::vector<std::string> SlotNames() { return m_slotNames.Copy(); }

    // An operation waits up to timeout for another program's; onWait runs once when it starts to
    // wait. Lock files live in folder (by default KeyboardLock::DefaultFolder()).
    void SetLockWait(std::chrono::milliseconds timeout, std::function<void()> onWait);
    void SetLockFolder(std::filesystem::path folder) { m_lockFolder = std::move(folder); }
    // An operation of this link ran out of time waiting for another program's lock (a stop that
    // ended the wait does not count).
    bool GaveUpOnLock() const { return m_bGaveUpOnLock; }

    // Asks the transfer under way, and every send or fetch after it until ClearStop, to end
    // after the chunk or block in flight: a send leaves its data frame unfinished, which the
    // keyboard drops whole, a fetch asks for no further block, and no operation waits any
    // longer for another program's lock. Other requests still run, so that the slots can be read
    // to say where things stand. Safe from any thread, and from a signal handler.
    void RequestStop() { m_bStopRequested = 1; }
    void ClearStop() { m_bStopRequested = 0; }
    bool StopRequested() const { return m_bStopRequested == 1; }
    // Moves the running operation's deadline on by pause: time spent on a question asked from
    // within its wait, during which nothing was sent. Calling thread only.
    void ExtendDeadline(std::chrono::steady_clock::duration pause);

    // progress runs on the calling thread once per acknowledged chunk of a send; null stops it.
    void SetProgress(ProgressFunction progress);
    // progress runs on the calling thread as a fetch goes: once the block count is known (with 0
    // blocks received), then once per received block; null stops it.
    using BlockProgressFunction = std::function<void(std::size_t received, std::size_t blocks)>;
    void SetBlockProgress(BlockProgressFunction progress);
    // The chunks a send of an image of that size acknowledges: its header and its data frame's
    // pieces. The steps SetProgress's function is called.
    static std::size_t SendSteps(std::size_t imageSize);
    // The longest a whole send may take: the header's time-out, kChunkAllowance per step and the
    // data's time-out (dwTimeout per started 1000 bytes).
    static std::chrono::milliseconds SendDeadline(std::size_t imageSize, std::uint32_t dwTimeout);

    // Refreshes the device's port tables, leaving the ports closed.
    void EnumDevices();
    // Opens the pair and shakes hands; on success strName holds the device's name. Failures show
    // "Device cannot be opened!" or "Connect request error!". Sets the connected state.
    bool ConnectDevice(int nInId, std::string& strName, int nOutId);
    // Closes the ports and forgets the connection.
    void Disconnect();

    bool Connect(std::string& strName);
    bool ReadDirectory(std::vector<std::string>& names);
    bool DeleteSlot(unsigned nSlot);
    bool SendFile(std::span<const std::uint8_t> image, int nSlot, std::uint32_t dwTimeout);
    bool SendFileHeader(int nSlot, std::uint32_t nSize, std::uint32_t dwTimeout);
    bool SendFileData(std::span<const std::uint8_t> image, std::uint32_t dwTimeout);
    bool ReceiveFile(const std::filesystem::path& strPath, int nSlot, std::uint32_t dwTimeout);
    // Fetches the slot's file into memory; file holds it whole on success.
    bool ReceiveImage(int nSlot, std::uint32_t dwTimeout, std::vector<std::uint8_t>& file);
    bool RequestFile(int nSlot, std::uint32_t dwTimeout, std::uint32_t& nSize,
                     std::uint32_t& nBlocks);
    // Fetches block nIndex into destination (the file's bytes from 256 × nIndex to its end);
    // nLength receives the block's length.
    bool RequestBlock(std::uint32_t nIndex, std::span<std::uint8_t> destination,
                      std::uint32_t dwTimeout, std::size_t& nLength);

    // Checks header, end byte and checksum and unpacks the payload into payload, returning the
    // number of payload bytes in count. A bad checksum is answered with the error reply.
    bool CheckFrame(std::span<const std::uint8_t> frame, std::span<std::uint8_t> payload,
                    std::size_t& count);
    // The frame handler: runs on the input thread.
    void OnFrame(const std::uint8_t* pFrame, int nLength);
    // Returns when the state equals nExpected, when it can no longer become nExpected (a final
    // code came), or when more than dwTimeout ms have passed.
    void WaitState(std::uint32_t dwTimeout, int nExpected);
    // Sets the state code, as an operation does before its request (and tests before a frame).
    void SetTransState(int state) { m_nTransState.store(state, std::memory_order_release); }
    // A 14-byte reply with payload 0 (bOk) or 2, sent whole without waiting.
    void SendReply(std::uint8_t nCommand, bool bOk);

private:
    class BusyScope;
    class OperationScope;
    using Clock = std::chrono::steady_clock;

    int Status(std::size_t count) const;
    void CopyName(std::size_t count, std::array<char, kNameBufferSize>& name) const;
    void MoveTo(int state, std::size_t count);
    void HandleDirectoryEntry(std::size_t count);
    bool Request(int waitingState, std::uint8_t command, std::span<const std::uint8_t> payload);
    bool RequestWithByte(int waitingState, std::uint8_t command, std::uint8_t value);

    // The input thread writes the payload and names first and then, with release order, the
    // state code that announces them; the waiting thread reads them only after it has seen that
    // code.
    std::atomic<int> m_nTransState{kStateIdle};
    std::array<std::uint8_t, kPayloadSize> m_payload{};  // payload of the last frame that moved
    std::size_t m_nPayloadLength = 0;                    // the state, and its length
    std::array<char, kNameBufferSize> m_szDeviceName{};
    std::array<char, kNameBufferSize> m_szSlotName{};
    SlotNameList m_slotNames;
    // The unpacked payload of the frame being handled; only the input thread touches it.
    std::array<std::uint8_t, FrameAssembler::kCapacity / 2> m_received{};
    std::atomic<int> m_bConnected{0};
    std::atomic<int> m_bIdle{1};  // 0 while an operation or a port enumeration runs
    std::atomic<int> m_bStopRequested{0};
    // Only the calling thread touches these.
    BlockProgressFunction m_blockProgress;
    Clock::time_point m_deadline = Clock::time_point::max();  // of the running operation
    std::string m_strOutputPort;  // names the keyboard's lock; empty: no lock is taken
    std::filesystem::path m_lockFolder = KeyboardLock::DefaultFolder();
    std::chrono::milliseconds m_lockTimeout = kKeyboardLockTimeout;
    std::function<void()> m_onLockWait;
    bool m_bGaveUpOnLock = false;
    // Last, so that it goes first: its ports close before the state the handler writes.
    std::unique_ptr<CMidiDevice> m_pMidiDevice;
};

}  // namespace korvana
