#pragma once

// printf-style formatting into std::string, for the converter's fixed log and file texts.

#include <cstdio>
#include <string>

namespace korvana {

#if defined(__MINGW32__)
// MinGW's C++ printf family is the standard one (%zu included), not the Windows runtime's.
#define KORVANA_PRINTF_LIKE(formatIndex, firstArg) \
    __attribute__((format(__MINGW_PRINTF_FORMAT, formatIndex, firstArg)))
#elif defined(__GNUC__) || defined(__clang__)
#define KORVANA_PRINTF_LIKE(formatIndex, firstArg) \
    __attribute__((format(printf, formatIndex, firstArg)))
#else
#define KORVANA_PRINTF_LIKE(formatIndex, firstArg)
#endif

std::string FormatText(const char* format, ...) KORVANA_PRINTF_LIKE(1, 2);
void AppendText(std::string& to, const char* format, ...) KORVANA_PRINTF_LIKE(2, 3);
// "1 note", "3 notes": a count and a thing named in the singular.
std::string CountText(int count, const char* thing);

}  // namespace korvana
