#include "cli/PrintableText.h"

#include <cstdio>

#include "common/PathNames.h"

namespace korvana::cli {

std::size_t Utf8Character(std::string_view text, std::size_t at, char32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length;
    char32_t low = 0x80;  // the smallest second byte allowed, then the largest
    char32_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (text.size() - at < length || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    char32_t value = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        value = value << 6 | (byte(at + i) & 0x3F);
    }
    codePoint = value;
    return length;
}

std::string Printable(std::string_view text) {
    std::string printable;
    printable.reserve(text.size());
    auto escapeByte = [&](unsigned char byte) {
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        printable += escaped;
    };
    for (std::size_t at = 0; at < text.size();) {
        char32_t codePoint = 0;
        const std::size_t length = Utf8Character(text, at, codePoint);
        if (length == 0 || IsControl(codePoint)) {
            for (std::size_t i = 0; i < (length ? length : 1); ++i) {
                const auto byte = static_cast<unsigned char>(text[at + i]);
                if (byte == '\n')
                    printable += "\\n";
                else if (byte == '\r')
                    printable += "\\r";
                else if (byte == '\t')
                    printable += "\\t";
                else
                    escapeByte(byte);
            }
            at += length ? length : 1;
            continue;
        }
        printable.append(text.substr(at, length));
        at += length;
    }
    return printable;
}

std::string PrintablePath(const std::filesystem::path& path) {
    return Printable(Utf8FromPath(path));
}

}  // namespace korvana::cli
