#pragma once

// The little JSON that korvana-cli prints: quoted strings and string arrays.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace korvana::cli {

// A JSON string literal. Bytes from 0x80 up pass unchanged (file names are kept as they are).
inline std::string JsonQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char ch : text) {
        switch (ch) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(ch) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(ch));
                    quoted += escaped;
                } else {
                    quoted += ch;
                }
        }
    }
    return quoted + "\"";
}

inline std::string JsonArray(const std::vector<std::string>& texts) {
    std::string array = "[";
    for (std::size_t i = 0; i < texts.size(); ++i)
        array += (i ? ", " : "") + JsonQuoted(texts[i]);
    return array + "]";
}

}  // namespace korvana::cli
