#pragma once

// Names reach korvana-cli's output from files, ports and keyboards that may be hostile: printed,
// they must neither forge lines nor drive the terminal, and JSON must stay JSON.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvana::cli {

// The length of the well-formed UTF-8 character at text[at] (its code point in codePoint), or 0
// when the byte there starts none.
std::size_t Utf8Character(std::string_view text, std::size_t at, char32_t& codePoint);

// Control characters as the code point ranges that terminals act on: C0, DEL and C1.
constexpr bool IsControl(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

// text for a terminal line: \n, \r and \t for those, \xNN for every other control character
// and for every byte that is not UTF-8 (a C1 character's two bytes each), the rest unchanged.
std::string Printable(std::string_view text);

// A path's UTF-8 text, made printable as above.
std::string PrintablePath(const std::filesystem::path& path);

}  // namespace korvana::cli
