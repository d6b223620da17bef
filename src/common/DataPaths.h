#pragma once

// Where a Korvana program finds its read-only data: the help documents and the sample songs.
// Run from the build tree, they lie beside the executable. An installed program lives in
// <prefix>/bin and finds them in <prefix>/share/korvana, reached relative to its own folder so
// the installed tree can be moved to any prefix.

#include <filesystem>

namespace korvana {

struct ProgramData {
    std::filesystem::path folder;
    // True when the program runs from an install prefix. Its folder is then no place for files
    // the user creates (the repository): those belong in the per-user data folder.
    bool installed = false;
};

ProgramData LocateProgramData(const std::filesystem::path& executableFolder);

}  // namespace korvana
