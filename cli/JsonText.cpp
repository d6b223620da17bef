#include "cli/JsonText.h"

#include <cstdio>

#include "cli/PrintableText.h"

namespace korvana::cli {

std::string JsonQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (std::size_t at = 0; at < text.size();) {
        char32_t codePoint = 0;
        const std::size_t length = Utf8Character(text, at, codePoint);
        if (length == 0) {
            quoted += "\xEF\xBF\xBD";  // U+FFFD REPLACEMENT CHARACTER
            ++at;
            continue;
        }
        if (codePoint == '"') {
            quoted += "\\\"";
        } else if (codePoint == '\\') {
            quoted += "\\\\";
        } else if (codePoint == '\n') {
            quoted += "\\n";
        } else if (codePoint == '\r') {
            quoted += "\\r";
        } else if (codePoint == '\t') {
            quoted += "\\t";
        } else if (IsControl(codePoint)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(codePoint));
            quoted += escaped;
        } else {
            quoted.append(text.substr(at, length));
        }
        at += length;
    }
    return quoted + "\"";
}

std::string JsonArray(const std::vector<std::string>& texts) {
    std::string array = "[";
    for (std::size_t i = 0; i < texts.size(); ++i)
        array += (i ? ", " : "") + JsonQuoted(texts[i]);
    return array + "]";
}

}  // namespace korvana::cli
