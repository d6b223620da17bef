#pragma once

// File names travel as UTF-8 text (the command line, the log, JSON). Windows reads a narrow
// std::filesystem::path, and a narrow name given to the C library, in its ANSI code page; so names
// become paths and paths become names only through these, never through path(std::string) or
// path::string(), and files are opened by path.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvana {

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// std::fopen of a path: its wide name on Windows. mode is plain ASCII ("rb", "wb", ...).
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

}  // namespace korvana
