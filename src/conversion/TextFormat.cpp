#include "conversion/TextFormat.h"

#include <cstdarg>
#include <cstdio>

namespace korvana {
namespace {

void AppendFormatted(std::string& to, const char* format, std::va_list args) {
    std::va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0)
        return;
    const std::size_t start = to.size();
    to.resize(start + static_cast<std::size_t>(length) + 1);
    std::vsnprintf(to.data() + start, static_cast<std::size_t>(length) + 1, format, args);
    to.pop_back();  // the terminating zero vsnprintf needs room for
}

}  // namespace

std::string FormatText(const char* format, ...) {
    std::string text;
    std::va_list args;
    va_start(args, format);
    AppendFormatted(text, format, args);
    va_end(args);
    return text;
}

void AppendText(std::string& to, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    AppendFormatted(to, format, args);
    va_end(args);
}

std::string CountText(int count, const char* thing) {
    return FormatText("%d %s%s", count, thing, count == 1 ? "" : "s");
}

}  // namespace korvana
