#include "device/SysExChunks.h"

#include <algorithm>

#include "device/Frame.h"

namespace korvana {

std::vector<std::span<const std::uint8_t>> SplitFrame(std::span<const std::uint8_t> frame) {
    std::vector<std::span<const std::uint8_t>> pieces;
    std::size_t at = 0;
    std::size_t size = kFirstPieceSize;
    while (at < frame.size()) {
        const std::size_t length = std::min(size, frame.size() - at);
        pieces.push_back(frame.subspan(at, length));
        at += length;
        size = kLaterPieceSize;
    }
    return pieces;
}

std::size_t PieceCount(std::size_t frameSize) {
    if (frameSize <= kFirstPieceSize)
        return frameSize > 0 ? 1 : 0;
    return 1 + (frameSize - kFirstPieceSize + kLaterPieceSize - 1) / kLaterPieceSize;
}

std::size_t CompleteSysEx(std::span<const std::uint8_t> piece,
                          std::array<std::uint8_t, kMaxMessageSize>& out) {
    if (piece.empty() || piece.size() > kFirstPieceSize)
        return 0;
    const bool firstPiece = piece.size() == kFirstPieceSize;
    const bool middlePiece = piece.size() == kLaterPieceSize && piece.back() != kSysExEnd;
    const bool wholeFrame = !firstPiece && !middlePiece && piece.front() == kSysExStart;
    std::size_t length = 0;
    if (!firstPiece && !wholeFrame)
        out[length++] = kSysExStart;
    std::copy(piece.begin(), piece.end(), out.begin() + static_cast<std::ptrdiff_t>(length));
    length += piece.size();
    if (firstPiece || middlePiece)
        out[length++] = kSysExEnd;
    return length;
}

}  // namespace korvana
