#include "SongImageTransfer.h"

#include <algorithm>

#include "CMidiTrans.h"
#include "RecordingPrompt.h"

namespace korvana {

ImageSendResult SendSongImage(std::span<const std::uint8_t> image, int slot, bool verify) {
    ImageSendResult result;
    {
        // The keyboard's reason for a refusal belongs to this slot's result.
        RecordingPrompt reasons;
        const ScopedPrompt collect(reasons);
        result.sent = CMidiTrans::SendFile(image, slot, kImageSendTimeout);
        if (!result.sent) {
            result.error = reasons.m_texts.empty() ? "Download error!" : reasons.m_texts.front();
            return result;
        }
    }
    if (!verify)
        return result;
    const std::optional<std::vector<std::uint8_t>> readBack = FetchSongImage(slot);
    if (!readBack) {
        result.error = "verify failed: the slot could not be read back";
        return result;
    }
    if (std::optional<std::string> difference = ReadBackDifference(image, *readBack))
        result.error = std::move(*difference);
    return result;
}

std::optional<std::vector<std::uint8_t>> FetchSongImage(int slot) {
    std::vector<std::uint8_t> image;
    if (!CMidiTrans::ReceiveImage(slot, kImageFetchTimeout, image))
        return std::nullopt;
    return image;
}

std::optional<std::string> ReadBackDifference(std::span<const std::uint8_t> sent,
                                              std::span<const std::uint8_t> readBack) {
    if (sent.size() != readBack.size())
        return "verify failed: length " + std::to_string(readBack.size()) + ", sent " +
               std::to_string(sent.size());
    const auto [at, unused] = std::mismatch(sent.begin(), sent.end(), readBack.begin());
    if (at == sent.end())
        return std::nullopt;
    return "verify failed at byte " + std::to_string(at - sent.begin());
}

}  // namespace korvana
