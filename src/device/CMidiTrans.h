#pragma once

// The keyboard's transfer protocol: the frame handler that runs on the input thread and moves the
// shared transfer state, the wait on that state, and the device operations built on them.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "TransferState.h"

namespace korvana {

// Time-outs of the operations, in milliseconds, counted from the end of the request's sending.
constexpr std::uint32_t kConnectTimeout = 200;
constexpr std::uint32_t kDirectoryTimeout = 1000;
constexpr std::uint32_t kDeleteTimeout = 1000;
constexpr int kMaxSlot = 255;
constexpr std::size_t kBlockSize = 256;
// A fetched file larger than this is refused rather than allocated.
constexpr std::uint32_t kMaxFetchSize = 16u << 20;

class CMidiTrans {
public:
    CMidiTrans() = default;
    // Each holder of a CMidiTrans ties the device's lifetime to its own.
    virtual ~CMidiTrans();
    CMidiTrans(const CMidiTrans&) = delete;
    CMidiTrans& operator=(const CMidiTrans&) = delete;

    // Checks header, end byte and checksum and unpacks the payload into payload, returning the
    // number of payload bytes in count. A bad checksum is answered with the error reply.
    static bool CheckFrame(std::span<const std::uint8_t> frame, std::span<std::uint8_t> payload,
                           std::size_t& count);
    // The frame handler: installed as g_pfnFrameHandler, runs on the input thread.
    static void OnFrame(const std::uint8_t* pFrame, int nLength);
    // Returns when g_nTransState equals nExpected, when it can no longer become nExpected (a
    // final code came), or when more than dwTimeout ms have passed.
    static void WaitState(std::uint32_t dwTimeout, int nExpected);
    // A 14-byte reply with payload 0 (bOk) or 2, sent whole without waiting.
    static void SendReply(std::uint8_t nCommand, bool bOk);

    static bool Connect(std::string& strName);
    static bool ReadDirectory(std::vector<std::string>& names);
    static bool DeleteSlot(unsigned nSlot);
    static bool SendFile(std::span<const std::uint8_t> image, int nSlot, std::uint32_t dwTimeout);
    static bool SendFileHeader(int nSlot, std::uint32_t nSize, std::uint32_t dwTimeout);
    static bool SendFileData(std::span<const std::uint8_t> image, std::uint32_t dwTimeout);
    static bool ReceiveFile(const std::filesystem::path& strPath, int nSlot,
                            std::uint32_t dwTimeout);
    // Fetches the slot's file into memory; file holds it whole on success.
    static bool ReceiveImage(int nSlot, std::uint32_t dwTimeout, std::vector<std::uint8_t>& file);
    static bool RequestFile(int nSlot, std::uint32_t dwTimeout, std::uint32_t& nSize,
                            std::uint32_t& nBlocks);
    // Fetches block nIndex into destination (the file's bytes from 256 × nIndex to its end);
    // nLength receives the block's length.
    static bool RequestBlock(std::uint32_t nIndex, std::span<std::uint8_t> destination,
                             std::uint32_t dwTimeout, std::size_t& nLength);
};

// Opens the pair and shakes hands; on success strName holds the device's name. Failures show
// "Device cannot be opened!" or "Connect request error!".
bool ConnectDevice(int nInId, std::string& strName, int nOutId);

}  // namespace korvana
