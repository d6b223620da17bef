// The whole operations the front ends ask of the keyboard. Each runs on the calling thread from
// start to end, with g_bIdle at 0 while it lasts.

#include <algorithm>
#include <cstring>

#include "CMidiDevice.h"
#include "CMidiTrans.h"
#include "Frame.h"
#include "Prompt.h"
#include "SafeFile.h"

namespace korvana {
namespace {

// Keeps g_bIdle at 0 for the lifetime of an operation, whatever its outcome.
class BusyScope {
public:
    BusyScope() { g_bIdle = 0; }
    ~BusyScope() { g_bIdle = 1; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

// Sets the waiting code, then sends a request frame whole or in acknowledged chunks. A missing
// acknowledgement settles nothing (the reply may still come); false only when the ports are
// closed, so that no reply can come and the caller need not wait for one.
bool Request(int waitingState, std::uint8_t command, std::span<const std::uint8_t> payload) {
    g_nTransState.store(waitingState, std::memory_order_release);
    CMidiDevice* device = g_pMidiDevice.load();
    if (!device || !device->IsOpen())
        return false;
    device->SendFrame(MakeFrame(command, payload));
    return true;
}

bool RequestWithByte(int waitingState, std::uint8_t command, std::uint8_t value) {
    return Request(waitingState, command, std::span(&value, 1));
}

int State() {
    return g_nTransState.load(std::memory_order_acquire);
}

}  // namespace

bool ConnectDevice(int nInId, std::string& strName, int nOutId) {
    CMidiDevice* device = g_pMidiDevice.load();
    if (!device || !device->OpenPorts(nInId, nOutId)) {
        Prompt().Message("Device cannot be opened!");
        return false;
    }
    g_pfnFrameHandler = &CMidiTrans::OnFrame;
    if (g_pMidiDevice.load() && CMidiTrans::Connect(strName))
        return true;
    Prompt().Message("Connect request error!");
    return false;
}

bool CMidiTrans::Connect(std::string& strName) {
    BusyScope busy;
    if (!RequestWithByte(kStateConnectWait, kCmdConnect, 0))
        return false;
    WaitState(kConnectTimeout, kStateConnected);
    if (State() != kStateConnected)
        return false;
    strName = g_szDeviceName.data();
    return true;
}

bool CMidiTrans::ReadDirectory(std::vector<std::string>& names) {
    BusyScope busy;
    names.clear();
    g_slotNames.Clear();
    if (!RequestWithByte(kStateDirectoryWait, kCmdDirectory, 1))
        return false;
    WaitState(kDirectoryTimeout, kStateDirectoryDone);
    if (State() != kStateDirectoryDone)
        return false;
    names = g_slotNames.Copy();
    return true;
}

bool CMidiTrans::DeleteSlot(unsigned nSlot) {
    if (nSlot > kMaxSlot)
        return false;
    BusyScope busy;
    if (!RequestWithByte(kStateDeleteWait, kCmdDelete, static_cast<std::uint8_t>(nSlot)))
        return false;
    WaitState(kDeleteTimeout, kStateDeleted);
    return State() == kStateDeleted;
}

bool CMidiTrans::SendFile(std::span<const std::uint8_t> image, int nSlot, std::uint32_t dwTimeout) {
    if (!g_pMidiDevice.load() || nSlot < 0 || nSlot > kMaxSlot)
        return false;
    BusyScope busy;
    const auto size = static_cast<std::uint32_t>(image.size());
    if (!SendFileHeader(nSlot, size, dwTimeout) || !g_pMidiDevice.load())
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
    const int state = State();
    if (state == kStateHeaderCapacity)
        Prompt().Message("Capacity is not allowed!");
    return state == kStateHeaderAccepted;
}

bool CMidiTrans::SendFileData(std::span<const std::uint8_t> image, std::uint32_t dwTimeout) {
    std::vector<std::uint8_t> frame = MakeFrame(kCmdFile, image);
    // The data frame carries the sum of the unpacked file bytes instead of the frame's own sum.
    StoreSum(frame, DataSum(image));
    g_nTransState.store(kStateDataWait, std::memory_order_release);
    CMidiDevice* device = g_pMidiDevice.load();
    // A chunk left unacknowledged stops the frame: the device cannot accept a partial file.
    if (!device || !device->SendFrame(frame))
        return false;
    WaitState(dwTimeout, kStateDataAccepted);
    return State() == kStateDataAccepted;
}

bool CMidiTrans::ReceiveFile(const std::filesystem::path& strPath, int nSlot,
                             std::uint32_t dwTimeout) {
    std::vector<std::uint8_t> file;
    return ReceiveImage(nSlot, dwTimeout, file) && WriteFileAtomically(strPath, file);
}

bool CMidiTrans::ReceiveImage(int nSlot, std::uint32_t dwTimeout, std::vector<std::uint8_t>& file) {
    if (!g_pMidiDevice.load())
        return false;
    BusyScope busy;
    std::uint32_t size = 0;
    std::uint32_t blocks = 0;
    if (!RequestFile(nSlot, dwTimeout, size, blocks))
        return false;
    // Every byte of the file must come from exactly one block: block i fills the 256 bytes
    // from 256 × i, so the count follows from the size.
    if (size > kMaxFetchSize || blocks != (size + kBlockSize - 1) / kBlockSize)
        return false;
    file.assign(size, 0);
    std::size_t covered = 0;
    for (std::uint32_t i = 0; i < blocks; ++i) {
        if (!g_pMidiDevice.load())
            return false;
        const std::size_t place = std::size_t{i} * kBlockSize;
        std::size_t length = 0;
        const std::size_t room = std::min(kBlockSize, file.size() - place);
        if (!RequestBlock(i, std::span(file).subspan(place, room), dwTimeout, length))
            return false;
        covered += length;
    }
    if (covered != size)
        return false;
    if (CMidiDevice* device = g_pMidiDevice.load()) {
        const std::uint8_t end = 0;
        device->SendSysEx(MakeFrame(kCmdRead, std::span(&end, 1)));
    }
    return true;
}

bool CMidiTrans::RequestFile(int nSlot, std::uint32_t dwTimeout, std::uint32_t& nSize,
                             std::uint32_t& nBlocks) {
    if (nSlot < 0 || nSlot > kMaxSlot)
        return false;
    if (!RequestWithByte(kStateReadWait, kCmdRead, static_cast<std::uint8_t>(nSlot)))
        return false;
    WaitState(dwTimeout, kStateReadAccepted);
    if (State() != kStateReadAccepted || g_nPayloadLength < 9)
        return false;
    nSize = ReadLe32(g_payload, 1);
    nBlocks = ReadLe32(g_payload, 5);
    return true;
}

bool CMidiTrans::RequestBlock(std::uint32_t nIndex, std::span<std::uint8_t> destination,
                              std::uint32_t dwTimeout, std::size_t& nLength) {
    g_nTransState.store(kStateBlockWait, std::memory_order_release);
    CMidiDevice* device = g_pMidiDevice.load();
    const std::uint8_t next = 0;
    if (!device || !device->SendSysEx(MakeFrame(kCmdRead, std::span(&next, 1))))
        return false;
    WaitState(dwTimeout, kStateBlockReceived);
    if (State() != kStateBlockReceived || g_nPayloadLength < 6 || ReadLe32(g_payload, 0) != nIndex)
        return false;
    nLength = ReadLe16(g_payload, 4);
    // A block must fit both its own 256-byte place and the announced size, and carry its bytes.
    if (nLength > destination.size() || 6 + nLength > g_nPayloadLength)
        return false;
    std::memcpy(destination.data(), g_payload.data() + 6, nLength);
    return true;
}

}  // namespace korvana
