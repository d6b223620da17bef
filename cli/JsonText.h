#pragma once

// The little JSON that korvana-cli prints: quoted strings and string arrays.

#include <string>
#include <string_view>
#include <vector>

namespace korvana::cli {

// A JSON string literal, always valid UTF-8: bytes that are not UTF-8 become U+FFFD, and every
// control character (C0, DEL, C1) is escaped.
std::string JsonQuoted(std::string_view text);

std::string JsonArray(const std::vector<std::string>& texts);

}  // namespace korvana::cli
