// Reading a song from bytes in memory, parsing every track and walking the tracks' merge in time
// order, in bytes per second: the large format 1 song (16 tracks, 10 MB, 3 million events) and
// 1,000 drum patterns of 2 to 8 KB. libsmf reads the same patterns from memory in the same run,
// as the peer the figures are compared with.

// smf.h includes GLib inside extern "C", which its C++ parts do not survive: include it first.
#include <glib.h>
#include <smf.h>

#include <benchmark/benchmark.h>

#include "BenchSongs.h"
#include "conversion/CMidiReader.h"

namespace korvana::bench {
namespace {

const Song& Large() {
    static const Song song = LargeSong(10'000'000);
    return song;
}

const std::vector<Song>& Patterns() {
    static const std::vector<Song> songs = [] {
        constexpr int kCount = 1000;
        std::vector<Song> made;
        for (int i = 0; i < kCount; ++i)
            made.push_back(PatternSong(2048 + static_cast<std::size_t>(i) * 6144 / (kCount - 1)));
        return made;
    }();
    return songs;
}

// Reads, parses and merges one song; the number of events it merged.
std::size_t ReadParseMerge(const Song& song) {
    CMidiReader reader;
    reader.LoadBytes(song.bytes);
    if (reader.ReadHeader() != CMidiReader::kHeaderOk || !reader.ReadTracks())
        return 0;
    reader.MergeTracks();
    CMidiReader::MergedEvents merged(reader);
    std::size_t events = 0;
    for (MidiEvent event; merged.Next(event);)
        ++events;
    return events;
}

// libsmf's load parses every track; walking its events in time order is its merge.
std::size_t LibsmfReadParseMerge(const Song& song) {
    smf_t* smf = smf_load_from_memory(song.bytes.data(), static_cast<int>(song.bytes.size()));
    if (!smf)
        return 0;
    std::size_t events = 0;
    while (smf_get_next_event(smf))
        ++events;
    smf_delete(smf);
    return events;
}

template <std::size_t (*Read)(const Song&)>
void ReadSongs(benchmark::State& state, const std::vector<const Song*>& songs) {
    std::size_t bytes = 0;
    std::size_t events = 0;
    for (const Song* song : songs) {
        bytes += song->bytes.size();
        events += song->events;
    }
    for (auto _ : state) {
        std::size_t merged = 0;
        for (const Song* song : songs)
            merged += Read(*song);
        if (merged != events) {
            state.SkipWithError("not every event was read");
            return;
        }
        benchmark::DoNotOptimize(merged);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * events));
}

std::vector<const Song*> PatternList() {
    std::vector<const Song*> list;
    for (const Song& song : Patterns())
        list.push_back(&song);
    return list;
}

void LargeSongFromBytes(benchmark::State& state) {
    ReadSongs<ReadParseMerge>(state, {&Large()});
}
void PatternsFromBytes(benchmark::State& state) {
    ReadSongs<ReadParseMerge>(state, PatternList());
}
void LibsmfPatternsFromMemory(benchmark::State& state) {
    ReadSongs<LibsmfReadParseMerge>(state, PatternList());
}
BENCHMARK(LargeSongFromBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(PatternsFromBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(LibsmfPatternsFromMemory)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvana::bench

BENCHMARK_MAIN();
