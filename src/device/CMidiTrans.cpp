#include "CMidiTrans.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "CMidiDevice.h"
#include "Frame.h"

namespace korvana {
namespace {

// The unpacked payload of the frame being handled; only the input thread touches it.
std::array<std::uint8_t, FrameAssembler::kCapacity / 2> g_received{};

// The status byte of a reply; a reply without payload counts as a refusal.
int Status(std::size_t count) {
    return count > 0 ? g_received[0] : -1;
}

// Copies a name of length P[2] from P[3] on into a buffer, cut to leave the terminating zero.
void CopyName(std::size_t count, std::array<char, kNameBufferSize>& name) {
    name.fill(0);
    if (count < 3)
        return;
    const std::size_t length =
        std::min<std::size_t>({g_received[2], count - 3, kNameBufferSize - 1});
    std::memcpy(name.data(), g_received.data() + 3, length);
}

// Publishes the payload and then the state code that announces it, and wakes the waiter.
void MoveTo(int state, std::size_t count) {
    std::memcpy(g_payload.data(), g_received.data(), count);
    g_nPayloadLength = count;
    g_nTransState.store(state, std::memory_order_release);
    if (CMidiDevice* device = g_pMidiDevice.load())
        device->Notify();
}

int StatusState(int status, int accepted, int refused, int failed) {
    if (status == kStatusOk)
        return accepted;
    return status == kStatusError ? refused : failed;
}

void HandleDirectoryEntry(std::size_t count) {
    const int status = Status(count);
    if (status == kStatusEndOfDirectory) {
        MoveTo(kStateDirectoryDone, count);
        return;
    }
    if (status != kStatusOk)
        return;
    if (count < 2 || g_received[1] != g_slotNames.Count()) {
        MoveTo(kStateDirectoryOutOfOrder, count);
        return;
    }
    CopyName(count, g_szSlotName);
    g_slotNames.Append(g_szSlotName[0] != 0 ? std::string(g_szSlotName.data()) : "Empty");
    CMidiTrans::SendReply(kCmdDirectory, true);
}

}  // namespace

CMidiTrans::~CMidiTrans() {
    CMidiDevice::ReleaseInstance();
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
        g_bChunkAck = 1;
        if (CMidiDevice* device = g_pMidiDevice.load())
            device->Notify();
        return;
    }
    std::size_t count = 0;
    if (!CheckFrame(frame, g_received, count))
        return;
    const std::uint8_t command = frame[kCommandOffset];
    const int state = g_nTransState.load(std::memory_order_acquire);
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
                CopyName(count, g_szDeviceName);
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
    CMidiDevice* device = g_pMidiDevice.load();
    if (!device)
        return;
    device->WaitUntil(
        [nExpected] {
            const int state = g_nTransState.load(std::memory_order_acquire);
            return state == nExpected || !IsWaitingState(state);
        },
        std::chrono::milliseconds(dwTimeout));
}

void CMidiTrans::SendReply(std::uint8_t nCommand, bool bOk) {
    CMidiDevice* device = g_pMidiDevice.load();
    if (!device)
        return;
    const std::uint8_t value = bOk ? kStatusOk : kStatusError;
    device->SendSysEx(MakeFrame(nCommand, std::span(&value, 1)));
}

}  // namespace korvana
