#include "common/Sha256.h"

namespace korvana {

std::string Sha256Hex(std::span<const std::uint8_t> bytes) {
    const std::optional<Sha256Digest> digest = Sha256(bytes);
    if (!digest)
        return {};
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * digest->size());
    for (const std::uint8_t byte : *digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace korvana
