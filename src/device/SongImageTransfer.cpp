#include "device/SongImageTransfer.h"

#include <algorithm>

#include "common/RecordingPrompt.h"
#include "device/CMidiTrans.h"

namespace korvana {

ImageSendResult SendSongImage(CMidiTrans& link, std::span<const std::uint8_t> image, int slot,
                              bool verify) {
    ImageSendResult result;
    {
        // The keyboard's reason for a refusal belongs to this slot's result.
        RecordingPrompt reasons;
        const ScopedPrompt collect(reasons);
        result.sent = link.SendFile(image, slot, kSendTimeout);
        if (!result.sent) {
            result.error = reasons.m_texts.empty() ? "Download error!" : reasons.m_texts.front();
            return result;
        }
    }
    if (verify)
        result.error = VerifySlot(link, image, slot).value_or("");
    return result;
}

std::optional<std::string> VerifySlot(CMidiTrans& link, std::span<const std::uint8_t> image,
                                      int slot) {
    const std::optional<std::vector<std::uint8_t>> readBack = FetchSongImage(link, slot);
    if (!readBack)
        return "verify failed: the slot could not be read back";
    return ReadBackDifference(image, *readBack);
}

std::optional<std::vector<std::uint8_t>> FetchSongImage(CMidiTrans& link, int slot) {
    std::vector<std::uint8_t> image;
    if (!link.ReceiveImage(slot, kFetchTimeout, image))
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
