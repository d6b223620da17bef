#include "device/CMidiTrans.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>

#include "common/Prompt.h"
#include "common/SafeFile.h"
#include "device/Frame.h"
#include "device/SysExChunks.h"

namespace korvana {
namespace {

int StatusState(int status, int accepted, int refused, int failed) {
    if (status == kStatusOk)
        return accepted;
    return status == kStatusError ? refused : failed;
}

}  // namespace

// Keeps m_bIdle at 0 for the lifetime of an operation, whatever its outcome.
class CMidiTrans::BusyScope {
public:
    explicit BusyScope(CMidiTrans& trans) : m_trans(trans) { m_trans.m_bIdle = 0; }
    ~BusyScope() { m_trans.m_bIdle = 1; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    CMidiTrans& m_trans;
};

// An operation's lifetime: busy, holding the keyboard's lock, within a deadline that the
// operation sets once it knows its size.
class CMidiTrans::OperationScope {
public:
    explicit OperationScope(CMidiTrans& trans) : m_trans(trans), m_busy(trans) {
        if (!trans.m_strOutputPort.empty()) {
            m_lock.emplace(trans.m_lockFolder, trans.m_strOutputPort);
            m_bLocked = m_lock->Acquire(trans.m_lockTimeout, trans.m_onLockWait, [&trans] {
                trans.m_pMidiDevice->PumpMessages();
                return !trans.StopRequested();
            });
            trans.m_bGaveUpOnLock |= !m_bLocked && !trans.StopRequested();
        }
    }
    ~OperationScope() { m_trans.m_deadline = Clock::time_point::max(); }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

    // False when another program kept the keyboard past the lock's time-out.
    bool Locked() const { return m_bLocked; }

private:
    CMidiTrans& m_trans;
    BusyScope m_busy;
    std::optional<KeyboardLock> m_lock;
    bool m_bLocked = true;
};

CMidiTrans::CMidiTrans()
    : m_pMidiDevice(std::make_unique<CMidiDevice>(
          [this](const std::uint8_t* pFrame, int nLength) { OnFrame(pFrame, nLength); })) {}

CMidiTrans::~CMidiTrans() {
    m_pMidiDevice->ClosePorts();
}

void CMidiTrans::SetBlockProgress(BlockProgressFunction progress) {
    m_blockProgress = std::move(progress);
}

void CMidiTrans::SetProgress(ProgressFunction progress) {
    m_pMidiDevice->m_bProgressNotify = progress ? 1 : 0;
    m_pMidiDevice->SetProgress(std::move(progress));
}

std::size_t CMidiTrans::SendSteps(std::size_t imageSize) {
    return 1 + PieceCount(kFrameOverhead + 2 * imageSize);
}

std::chrono::milliseconds CMidiTrans::SendDeadline(std::size_t imageSize, std::uint32_t dwTimeout) {
    const std::chrono::milliseconds timeout(dwTimeout);
    return timeout + SendSteps(imageSize) * kChunkAllowance + timeout * (imageSize / 1000 + 1);
}

void CMidiTrans::ExtendDeadline(Clock::duration pause) {
    if (pause > Clock::duration::zero() && m_deadline < Clock::time_point::max() - pause)
        m_deadline += pause;
}

void CMidiTrans::SetLockWait(std::chrono::milliseconds timeout, std::function<void()> onWait) {
    m_lockTimeout = timeout;
    m_onLockWait = std::move(onWait);
}

// The status byte of a reply; a reply without payload counts as a refusal.
int CMidiTrans::Status(std::size_t count) const {
    return count > 0 ? m_received[0] : -1;
}

// Copies a name of length P[2] from P[3] on into a buffer, cut to leave the terminating zero.
void CMidiTrans::CopyName(std::size_t count, std::array<char, kNameBufferSize>& name) const {
    name.fill(0);
    if (count < 3)
        return;
    const std::size_t length =
        std::min<std::size_t>({m_received[2], count - 3, kNameBufferSize - 1});
    std::memcpy(name.data(), m_received.data() + 3, length);
}

// Publishes the payload and then the state code that announces it, and wakes the waiter.
void CMidiTrans::MoveTo(int state, std::size_t count) {
    std::memcpy(m_payload.data(), m_received.data(), count);
    m_nPayloadLength = count;
    m_nTransState.store(state, std::memory_order_release);
    m_pMidiDevice->Notify();
}

void CMidiTrans::HandleDirectoryEntry(std::size_t count) {
    const int status = Status(count);
    if (status == kStatusEndOfDirectory) {
        MoveTo(kStateDirectoryDone, count);
        return;
    }
    if (status != kStatusOk)
        return;
    if (count < 2 || m_received[1] != m_slotNames.Count()) {
        MoveTo(kStateDirectoryOutOfOrder, count);
        return;
    }
    CopyName(count, m_szSlotName);
    m_slotNames.Append(m_szSlotName[0] != 0 ? std::string(m_szSlotName.data()) : "Empty");
    SendReply(kCmdDirectory, true);
}

bool CMidiTrans::CheckFrame(std::span<const std::uint8_t> frame, std::span<std::uint8_t> payload,
                            std::size_t& count) {
    count = 0;
    if (!HasFrameHeader(frame))
        return false;
    if (CarriedSum(frame) != FrameSum(frame)) {
        SendReply(frame[kCommandOffset], false);
        return false;
    }
    count = UnpackPayload(frame, payload);
    return true;
}

void CMidiTrans::OnFrame(const std::uint8_t* pFrame, int nLength) {
    const std::span<const std::uint8_t> frame(pFrame, static_cast<std::size_t>(nLength));
    if (IsChunkAck(frame)) {
        m_pMidiDevice->OnChunkAck();
        return;
    }
    std::size_t count = 0;
    if (!CheckFrame(frame, m_received, count))
        return;
    const std::uint8_t command = frame[kCommandOffset];
    const int state = TransState();
    const int status = Status(count);
    auto expect = [&](std::uint8_t wanted) {
        if (command == wanted)
            return true;
        MoveTo(kStateIdle, count);
        return false;
    };
    switch (state) {
        case kStateConnectWait:
            if (!expect(kCmdConnect))
                return;
            if (status == kStatusOk) {
                CopyName(count, m_szDeviceName);
                MoveTo(kStateConnected, count);
            } else {
                MoveTo(status == kStatusError ? kStateConnectRefused : kStateConnectFailed, count);
            }
            return;
        case kStateDirectoryWait:
            if (expect(kCmdDirectory))
                HandleDirectoryEntry(count);
            return;
        case kStateHeaderWait:
            if (!expect(kCmdFile))
                return;
            if (status == kStatusCapacity)
                MoveTo(kStateHeaderCapacity, count);
            else
                MoveTo(StatusState(status, kStateHeaderAccepted, kStateHeaderRefused,
                                   kStateHeaderFailed),
                       count);
            return;
        case kStateDataWait:
            if (expect(kCmdFile))
                MoveTo(StatusState(status, kStateDataAccepted, kStateDataRefused, kStateDataFailed),
                       count);
            return;
        case kStateReadWait:
            if (expect(kCmdRead))
                MoveTo(StatusState(status, kStateReadAccepted, kStateReadRefused, kStateReadFailed),
                       count);
            return;
        case kStateBlockWait:
            if (expect(kCmdRead))
                MoveTo(kStateBlockReceived, count);
            return;
        case kStateDeleteWait:
            if (expect(kCmdDelete))
                MoveTo(StatusState(status, kStateDeleted, kStateDeleteRefused, kStateDeleteFailed),
                       count);
            return;
        default:
            return;
    }
}

void CMidiTrans::WaitState(std::uint32_t dwTimeout, int nExpected) {
    // No wait outlasts the operation's deadline.
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        m_deadline - std::min(Clock::now(), m_deadline));
    m_pMidiDevice->WaitUntil(
        [this, nExpected] {
            const int state = TransState();
            return state == nExpected || !IsWaitingState(state);
        },
        std::min(std::chrono::milliseconds(dwTimeout), left));
}

void CMidiTrans::SendReply(std::uint8_t nCommand, bool bOk) {
    const std::uint8_t value = bOk ? kStatusOk : kStatusError;
    m_pMidiDevice->SendSysEx(MakeFrame(nCommand, std::span(&value, 1)));
}

// Sets the waiting code, then sends a request frame whole or in acknowledged chunks. A missing
// acknowledgement settles nothing (the reply may still come); false only when the ports are
// closed, so that no reply can come and the caller need not wait for one.
bool CMidiTrans::Request(int waitingState, std::uint8_t command,
                         std::span<const std::uint8_t> payload) {
    SetTransState(waitingState);
    if (!m_pMidiDevice->IsOpen())
        return false;
    m_pMidiDevice->SendFrame(MakeFrame(command, payload), m_deadline);
    return true;
}

bool CMidiTrans::RequestWithByte(int waitingState, std::uint8_t command, std::uint8_t value) {
    return Request(waitingState, command, std::span(&value, 1));
}

void CMidiTrans::EnumDevices() {
    BusyScope busy(*this);
    m_pMidiDevice->EnumDevices();
}

bool CMidiTrans::ConnectDevice(int nInId, std::string& strName, int nOutId) {
    m_bConnected = 0;
    bool opened;
    {
        BusyScope busy(*this);
        opened = m_pMidiDevice->OpenPorts(nInId, nOutId);
    }
    if (!opened) {
        Prompt().Message("Device cannot be opened!");
        return false;
    }
    const std::vector<MidiDevEntry>& outputs = m_pMidiDevice->m_OutDevs;
    m_strOutputPort = nOutId >= 0 && static_cast<std::size_t>(nOutId) < outputs.size()
                          ? outputs[static_cast<std::size_t>(nOutId)].strName
                          : std::string();
    if (!Connect(strName)) {
        // A stop asked for while waiting for another program is no fault of the keyboard.
        if (!StopRequested())
            Prompt().Message("Connect request error!");
        return false;
    }
    m_bConnected = 1;
    return true;
}

void CMidiTrans::Disconnect() {
    m_bConnected = 0;
    m_pMidiDevice->ClosePorts();
}

bool CMidiTrans::Connect(std::string& strName) {
    OperationScope operation(*this);
    if (!operation.Locked())
        return false;
    if (!RequestWithByte(kStateConnectWait, kCmdConnect, 0))
        return false;
    WaitState(kConnectTimeout, kStateConnected);
    if (TransState() != kStateConnected)
        return false;
    strName = m_szDeviceName.data();
    return true;
}

bool CMidiTrans::ReadDirectory(std::vector<std::string>& names) {
    OperationScope operation(*this);
    if (!operation.Locked())
        return false;
    names.clear();
    m_slotNames.Clear();
    if (!RequestWithByte(kStateDirectoryWait, kCmdDirectory, 1))
        return false;
    WaitState(kDirectoryTimeout, kStateDirectoryDone);
    if (TransState() != kStateDirectoryDone)
        return false;
    names = m_slotNames.Copy();
    return true;
}

bool CMidiTrans::DeleteSlot(unsigned nSlot) {
    if (nSlot > kMaxSlot)
        return false;
    OperationScope operation(*this);
    if (!operation.Locked())
        return false;
    if (!RequestWithByte(kStateDeleteWait, kCmdDelete, static_cast<std::uint8_t>(nSlot)))
        return false;
    WaitState(kDeleteTimeout, kStateDeleted);
    return TransState() == kStateDeleted;
}

bool CMidiTrans::SendFile(std::span<const std::uint8_t> image, int nSlot, std::uint32_t dwTimeout) {
    if (nSlot < 0 || nSlot > kMaxSlot || StopRequested())
        return false;
    OperationScope operation(*this);
    if (!operation.Locked())
        return false;
    m_deadline = Clock::now() + SendDeadline(image.size(), dwTimeout);
    const auto size = static_cast<std::uint32_t>(image.size());
    if (!SendFileHeader(nSlot, size, dwTimeout))
        return false;
    // Half a second per started 1000 bytes with the transfer view's base time-out.
    const std::uint64_t dataTimeout = std::uint64_t{dwTimeout} * (size / 1000 + 1);
    return SendFileData(
        image, static_cast<std::uint32_t>(std::min<std::uint64_t>(dataTimeout, UINT32_MAX)));
}

bool CMidiTrans::SendFileHeader(int nSlot, std::uint32_t nSize, std::uint32_t dwTimeout) {
    std::vector<std::uint8_t> payload = {static_cast<std::uint8_t>(nSlot), 0};
    AppendLe32(payload, nSize);
    AppendLe32(payload, 1);
    if (!Request(kStateHeaderWait, kCmdFile, payload))
        return false;
    WaitState(dwTimeout, kStateHeaderAccepted);
    const int state = TransState();
    if (state == kStateHeaderCapacity)
        Prompt().Message("Capacity is not allowed!");
    return state == kStateHeaderAccepted;
}

bool CMidiTrans::SendFileData(std::span<const std::uint8_t> image, std::uint32_t dwTimeout) {
    std::vector<std::uint8_t> frame = MakeFrame(kCmdFile, image);
    // The data frame carries the sum of the unpacked file bytes instead of the frame's own sum.
    StoreSum(frame, DataSum(image));
    SetTransState(kStateDataWait);
    // A chunk left unacknowledged stops the frame: the device cannot accept a partial file.
    if (!m_pMidiDevice->SendFrame(frame, m_deadline, &m_bStopRequested))
        return false;
    WaitState(dwTimeout, kStateDataAccepted);
    return TransState() == kStateDataAccepted;
}

bool CMidiTrans::ReceiveFile(const std::filesystem::path& strPath, int nSlot,
                             std::uint32_t dwTimeout) {
    std::vector<std::uint8_t> file;
    return ReceiveImage(nSlot, dwTimeout, file) && WriteFileAtomically(strPath, file);
}

bool CMidiTrans::ReceiveImage(int nSlot, std::uint32_t dwTimeout, std::vector<std::uint8_t>& file) {
    if (StopRequested())
        return false;
    OperationScope operation(*this);
    if (!operation.Locked())
        return false;
    std::uint32_t size = 0;
    std::uint32_t blocks = 0;
    if (!RequestFile(nSlot, dwTimeout, size, blocks))
        return false;
    // Every byte of the file must come from exactly one block: block i fills the 256 bytes
    // from 256 × i, so the count follows from the size.
    if (size > kMaxImageSize || blocks != (size + kBlockSize - 1) / kBlockSize)
        return false;
    // Each block at most one time-out: the size bounds the whole fetch.
    m_deadline = Clock::now() + std::chrono::milliseconds(dwTimeout) * (blocks + 1);
    file.assign(size, 0);
    std::size_t covered = 0;
    if (m_blockProgress)
        m_blockProgress(0, blocks);
    for (std::uint32_t i = 0; i < blocks; ++i) {
        if (StopRequested())
            return false;
        const std::size_t place = std::size_t{i} * kBlockSize;
        std::size_t length = 0;
        const std::size_t room = std::min(kBlockSize, file.size() - place);
        if (!RequestBlock(i, std::span(file).subspan(place, room), dwTimeout, length))
            return false;
        covered += length;
        if (m_blockProgress)
            m_blockProgress(i + 1, blocks);
    }
    if (covered != size)
        return false;
    const std::uint8_t end = 0;
    m_pMidiDevice->SendSysEx(MakeFrame(kCmdRead, std::span(&end, 1)));
    return true;
}

bool CMidiTrans::RequestFile(int nSlot, std::uint32_t dwTimeout, std::uint32_t& nSize,
                             std::uint32_t& nBlocks) {
    if (nSlot < 0 || nSlot > kMaxSlot)
        return false;
    if (!RequestWithByte(kStateReadWait, kCmdRead, static_cast<std::uint8_t>(nSlot)))
        return false;
    WaitState(dwTimeout, kStateReadAccepted);
    if (TransState() != kStateReadAccepted || m_nPayloadLength < 9)
        return false;
    nSize = ReadLe32(m_payload, 1);
    nBlocks = ReadLe32(m_payload, 5);
    return true;
}

bool CMidiTrans::RequestBlock(std::uint32_t nIndex, std::span<std::uint8_t> destination,
                              std::uint32_t dwTimeout, std::size_t& nLength) {
    SetTransState(kStateBlockWait);
    const std::uint8_t next = 0;
    if (!m_pMidiDevice->SendSysEx(MakeFrame(kCmdRead, std::span(&next, 1))))
        return false;
    WaitState(dwTimeout, kStateBlockReceived);
    if (TransState() != kStateBlockReceived || m_nPayloadLength < 6 ||
        ReadLe32(m_payload, 0) != nIndex)
        return false;
    nLength = ReadLe16(m_payload, 4);
    // A block must fit both its own 256-byte place and the announced size, and carry its bytes.
    if (nLength > destination.size() || 6 + nLength > m_nPayloadLength)
        return false;
    std::memcpy(destination.data(), m_payload.data() + 6, nLength);
    return true;
}

}  // namespace korvana
