#pragma once

// SHA-256 digests for the checks of a backup. The system's cryptography library computes them:
// OpenSSL's libcrypto, or the Windows API's BCrypt where there is no OpenSSL.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace korvana {

using Sha256Digest = std::array<std::uint8_t, 32>;

// Nothing when the system's library cannot compute it.
std::optional<Sha256Digest> Sha256(std::span<const std::uint8_t> bytes);

// The digest as 64 lowercase hexadecimal digits; empty when it cannot be computed.
std::string Sha256Hex(std::span<const std::uint8_t> bytes);

}  // namespace korvana
