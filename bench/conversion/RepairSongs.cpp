// Writes generated songs for the repair benchmark into a folder: pattern files of 2 to 8 KB at
// 480 ticks per quarter note (--patterns), or songs of many shapes.
//
// Usage: korvana_repair_songs [--patterns] COUNT FOLDER

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "RandomSongs.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    using korvana::test::SongShape;
    const bool patterns = argc == 4 && std::string(argv[1]) == "--patterns";
    if (argc != 3 + (patterns ? 1 : 0)) {
        std::fprintf(stderr, "Usage: korvana_repair_songs [--patterns] COUNT FOLDER\n");
        return 2;
    }
    const int count = std::atoi(argv[argc - 2]);
    const fs::path folder = argv[argc - 1];
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        SongShape shape;
        if (patterns) {
            shape.division = 480;
            shape.targetBytes = 2048 + static_cast<std::size_t>(i) * 6144 / std::max(count - 1, 1);
            shape.withinParts = true;
        }
        char name[32];
        std::snprintf(name, sizeof name, "song%04d.mid", i);
        const auto seed = static_cast<std::uint32_t>(i + (patterns ? 100000 : 1));
        korvana::test::WriteBytes(folder / name, korvana::test::MakeRandomSong(seed, shape).bytes);
    }
    return 0;
}
