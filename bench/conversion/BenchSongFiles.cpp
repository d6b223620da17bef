// Writes the songs of the reading benchmarks to files: the large format 1 song of 16 tracks
// (about BYTES bytes, 10,000,000 unless given; prints its event count), or COUNT valid drum
// patterns of 2 to 8 KB.
//
// Usage: korvana_bench_songs large PATH [BYTES]
//        korvana_bench_songs patterns COUNT FOLDER

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchSongs.h"

namespace {

bool Write(const std::filesystem::path& path, const korvana::bench::Song& song) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(song.bytes.data()),
              static_cast<std::streamsize>(song.bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "large" && (argc == 3 || argc == 4)) {
        const std::size_t bytes = argc == 4 ? std::strtoull(argv[3], nullptr, 10) : 10'000'000;
        const korvana::bench::Song song = korvana::bench::LargeSong(bytes);
        if (!Write(argv[2], song))
            return 1;
        std::printf("%zu\n", song.events);
        return 0;
    }
    if (mode == "patterns" && argc == 4) {
        const int count = std::max(std::atoi(argv[2]), 1);
        const std::filesystem::path folder = argv[3];
        std::filesystem::create_directories(folder);
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "style%04d.mid", i);
            const std::size_t size =
                2048 + static_cast<std::size_t>(i) * 6144 / std::max(count - 1, 1);
            if (!Write(folder / name, korvana::bench::PatternSong(size)))
                return 1;
        }
        return 0;
    }
    std::fprintf(stderr,
                 "Usage: korvana_bench_songs large PATH [BYTES]\n"
                 "       korvana_bench_songs patterns COUNT FOLDER\n");
    return 2;
}
