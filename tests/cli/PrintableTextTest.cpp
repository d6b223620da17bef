// What korvana-cli prints of a name: escaped for a terminal, valid UTF-8 in JSON.

#include <gtest/gtest.h>

#include "cli/JsonText.h"
#include "cli/PrintableText.h"

namespace korvana::cli {
namespace {

TEST(PrintableText, ControlCharactersAndForeignBytesAreEscaped) {
    std::string nineReplaced = "\"";
    for (int i = 0; i < 9; ++i)
        nineReplaced += "\xef\xbf\xbd";  // U+FFFD
    nineReplaced += "\"";
    const struct {
        const char* what;
        std::string name;
        std::string text;
        std::string json;
    } cases[] = {
        {"plain with quote and backslash", "a\"b\\c", "a\"b\\c", "\"a\\\"b\\\\c\""},
        {"line break, tab, escape, DEL", "a\nb\tc\x1b[0m\x7f", "a\\nb\\tc\\x1b[0m\\x7f",
         "\"a\\nb\\tc\\u001b[0m\\u007f\""},
        {"letters of two, three and four bytes", "\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xb9",
         "\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xb9", "\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xb9\""},
        {"C1 control U+009B", "\xc2\x9b", "\\xc2\\x9b", "\"\\u009b\""},
        {"lone continuation and cut sequence", "\x80z\xe2\x82", "\\x80z\\xe2\\x82",
         "\"\xef\xbf\xbdz\xef\xbf\xbd\xef\xbf\xbd\""},
        {"overlong slash, surrogate, beyond U+10FFFF", "\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80",
         "\\xc0\\xaf\\xed\\xa0\\x80\\xf4\\x90\\x80\\x80", nineReplaced},
        {"zero byte", std::string("a\0b", 3), "a\\x00b", "\"a\\u0000b\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Printable(c.name), c.text);
        EXPECT_EQ(JsonQuoted(c.name), c.json);
    }
}

}  // namespace
}  // namespace korvana::cli
