// Reading and checking speed and peak memory of the song conversion, side by side with peers
// measured in the same run: libsmf in process, midicsv (Debian's midicsv) as a whole program.
// Each measurement runs in a process of its own (where the platform has them), so its peak
// memory is its own. Also checks of 256 MB and 1 GB songs, whose peak must stay bounded.
//
// Usage: korvana_conversion_bench [RUNS]   (best of RUNS, default 3)

// smf.h includes GLib inside extern "C", which its C++ parts do not survive: include it first.
#include <glib.h>
#include <smf.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BenchSongs.h"
#include "common/SafeFile.h"
#include "conversion/CMidiReader.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#define KORVANA_BENCH_IN_CHILDREN 1
#endif

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Result {
    double seconds = 0;      // best wall-clock time of one run
    double cpuSeconds = -1;  // processor time of one run (user + system), on average
    double peakMiB = -1;     // unknown where there are no child processes
};

volatile std::size_t g_sink;  // keeps the work from being optimised away

constexpr const char* kMidicsv = "/usr/bin/midicsv";

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double BestOf(int runs, const std::function<void()>& work) {
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        work();
        best = std::min(best, Seconds(start));
    }
    return best;
}

#ifdef KORVANA_BENCH_IN_CHILDREN
double CpuSeconds(const rusage& usage) {
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double PeakMiB(const rusage& usage) {
#if defined(__APPLE__)
    return usage.ru_maxrss / (1024.0 * 1024.0);  // bytes
#else
    return usage.ru_maxrss / 1024.0;  // KiB
#endif
}
#endif

Result Measure(int runs, const std::function<void()>& work) {
    Result result;
#ifdef KORVANA_BENCH_IN_CHILDREN
    int channel[2];
    if (pipe(channel) != 0)
        std::exit(1);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const double best = BestOf(runs, work);
        (void)!write(channel[1], &best, sizeof best);
        _exit(0);
    }
    close(channel[1]);
    if (read(channel[0], &result.seconds, sizeof result.seconds) != sizeof result.seconds)
        result.seconds = -1;
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    result.peakMiB = PeakMiB(usage);
    result.cpuSeconds = CpuSeconds(usage) / runs;
#else
    result.seconds = BestOf(runs, work);
#endif
    return result;
}

// A whole program run, timed from start to exit.
Result MeasureProgram(int runs, std::vector<std::string> words) {
    Result result;
    result.seconds = 1e30;
    result.cpuSeconds = 1e30;
#ifdef KORVANA_BENCH_IN_CHILDREN
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        const pid_t child = fork();
        if (child == 0) {
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            dup2(quiet, 2);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        result.seconds = std::min(result.seconds, Seconds(start));
        result.cpuSeconds = std::min(result.cpuSeconds, CpuSeconds(usage));
        result.peakMiB = std::max(result.peakMiB, PeakMiB(usage));
    }
#else
    std::string command;
    for (const std::string& word : words)
        command += "\"" + word + "\" ";
    result.seconds = BestOf(runs, [&] { std::system((command + "> NUL").c_str()); });
#endif
    return result;
}

void KorvanaRead(const std::string& path) {
    korvana::CMidiReader reader;
    reader.m_strFileName = path;
    if (!reader.LoadFile() || reader.ReadHeader() != korvana::CMidiReader::kHeaderOk ||
        !reader.ReadTracks()) {
        std::fprintf(stderr, "korvana could not read %s\n", path.c_str());
        std::exit(1);
    }
    reader.MergeTracks();
    // The converter needs only the merge's end; walking the whole merged order is the honest
    // figure for "merge".
    korvana::CMidiReader::MergedEvents merged(reader);
    std::size_t events = 0;
    for (korvana::MidiEvent event; merged.Next(event);)
        ++events;
    g_sink = g_sink + events;
}

// libsmf's load parses every track; walking its events in time order is its merge.
void LibsmfRead(const std::string& path) {
    smf_t* smf = smf_load(path.c_str());
    if (!smf) {
        std::fprintf(stderr, "libsmf could not read %s\n", path.c_str());
        std::exit(1);
    }
    std::size_t events = 0;
    smf_rewind(smf);
    while (smf_get_next_event(smf))
        ++events;
    g_sink = g_sink + events;
    smf_delete(smf);
}

void Write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void Row(const char* what, const Result& korvana, const Result& libsmf, double megabytes,
         const char* goal) {
    std::printf("%s\n", what);
    auto line = [&](const char* who, const Result& r) {
        std::printf("  %-8s wall %9.1f ms %7.0f MB/s | cpu %9.1f ms %7.0f MB/s | peak %6.1f MiB\n",
                    who, r.seconds * 1e3, megabytes / r.seconds, r.cpuSeconds * 1e3,
                    megabytes / r.cpuSeconds, r.peakMiB);
    };
    line("korvana", korvana);
    line("libsmf", libsmf);
    std::printf("  libsmf/korvana: wall %.1fx, cpu %.1fx, memory %.2fx | goal: %s\n\n",
                libsmf.seconds / korvana.seconds, libsmf.cpuSeconds / korvana.cpuSeconds,
                libsmf.peakMiB / korvana.peakMiB, goal);
}

// Two whole programs run in turn, A B A B ..., so both see the same machine.
std::pair<Result, Result> MeasurePrograms(int runs, const std::vector<std::string>& a,
                                          const std::vector<std::string>& b) {
    Result first = MeasureProgram(1, a);
    Result second = MeasureProgram(1, b);
    for (int run = 1; run < runs; ++run) {
        const Result nextFirst = MeasureProgram(1, a);
        const Result nextSecond = MeasureProgram(1, b);
        first.seconds = std::min(first.seconds, nextFirst.seconds);
        first.cpuSeconds = std::min(first.cpuSeconds, nextFirst.cpuSeconds);
        first.peakMiB = std::max(first.peakMiB, nextFirst.peakMiB);
        second.seconds = std::min(second.seconds, nextSecond.seconds);
        second.cpuSeconds = std::min(second.cpuSeconds, nextSecond.cpuSeconds);
        second.peakMiB = std::max(second.peakMiB, nextSecond.peakMiB);
    }
    return {first, second};
}

void ProgramRow(const char* what, const char* peer, const Result& korvana, const Result& other,
                const char* goal) {
    std::printf("%s\n", what);
    auto line = [&](const char* who, const Result& r) {
        std::printf("  %-8s wall %9.1f ms | cpu %9.1f ms | peak %6.1f MiB\n", who, r.seconds * 1e3,
                    r.cpuSeconds * 1e3, r.peakMiB);
    };
    line("korvana", korvana);
    line(peer, other);
    std::printf("  %s/korvana: wall %.1fx, cpu %.1fx, memory %.2fx | goal: %s\n\n", peer,
                other.seconds / korvana.seconds, other.cpuSeconds / korvana.cpuSeconds,
                other.peakMiB / korvana.peakMiB, goal);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const korvana::TempFolder folder;
    if (!folder.IsValid())
        return 1;

    std::size_t largeEvents = 0;
    std::size_t largeBytes = 0;
    const std::string large = (folder.Path() / "large.mid").string();
    {
        const korvana::bench::Song song = korvana::bench::LargeSong(10'000'000);
        Write(large, song.bytes);
        largeEvents = song.events;
        largeBytes = song.bytes.size();
    }

    const fs::path patterns = folder.Path() / "patterns";
    const fs::path checked = folder.Path() / "checked";
    fs::create_directories(patterns);
    fs::create_directories(checked);
    std::vector<std::string> patternPaths;
    std::vector<std::string> checkedPaths;
    std::size_t patternBytes = 0;
    std::size_t checkedBytes = 0;
    constexpr int kPatterns = 2000;
    for (int i = 0; i < kPatterns; ++i) {
        const std::size_t size = 2048 + static_cast<std::size_t>(i) * 6144 / (kPatterns - 1);
        const korvana::bench::Song song = korvana::bench::PatternSong(size);
        char name[32];
        std::snprintf(name, sizeof name, "style%04d.mid", i);
        patternPaths.push_back((patterns / name).string());
        Write(patternPaths.back(), song.bytes);
        patternBytes += song.bytes.size();
        if (i % 2 == 0) {
            checkedPaths.push_back((checked / name).string());
            Write(checkedPaths.back(), song.bytes);
            checkedBytes += song.bytes.size();
        }
    }

    const Result idle = Measure(1, [] {});
    std::printf(
        "Best of %d runs; peak memory is the whole measuring process (an idle one: %.1f "
        "MiB). Scratch folder: %s\n\n",
        runs, idle.peakMiB, folder.Path().parent_path().string().c_str());

    char what[96];
    std::snprintf(what, sizeof what, "read+parse+merge %.1f MB, %.2f M events", largeBytes / 1e6,
                  largeEvents / 1e6);
    const Result largeKorvana = Measure(runs, [&] { KorvanaRead(large); });
    // One run: libsmf takes minutes over a file of this size.
    const Result largeLibsmf = Measure(1, [&] { LibsmfRead(large); });
    Row(what, largeKorvana, largeLibsmf, largeBytes / 1e6, ">= 300 MB/s");
    std::printf("  events per second (wall): korvana %.1f M, libsmf %.3f M\n\n",
                largeEvents / largeKorvana.seconds / 1e6, largeEvents / largeLibsmf.seconds / 1e6);

    std::snprintf(what, sizeof what, "read+parse+merge %d files, %.1f MB", kPatterns,
                  patternBytes / 1e6);
    Row(what,
        Measure(runs,
                [&] {
                    for (const auto& p : patternPaths)
                        KorvanaRead(p);
                }),
        Measure(runs,
                [&] {
                    for (const auto& p : patternPaths)
                        LibsmfRead(p);
                }),
        patternBytes / 1e6, "< 100 ms");

    std::snprintf(what, sizeof what, "korvana-cli check of %zu files, %.1f MB", checkedPaths.size(),
                  checkedBytes / 1e6);
    Row(what, MeasureProgram(runs, {KORVANA_CLI, "check", checked.string()}),
        Measure(runs,
                [&] {
                    for (const auto& p : checkedPaths)
                        LibsmfRead(p);
                }),
        checkedBytes / 1e6, "< 0.1 s, < 8 MiB (libsmf: parse only, in-process)");

    if (fs::exists(kMidicsv)) {
        const auto [check, midicsv] =
            MeasurePrograms(runs, {KORVANA_CLI, "check", large}, {kMidicsv, large, "/dev/null"});
        std::snprintf(what, sizeof what, "korvana-cli check vs midicsv, %.1f MB, %.2f M events",
                      largeBytes / 1e6, largeEvents / 1e6);
        ProgramRow(what, "midicsv", check, midicsv, "midicsv/korvana >= 8x, peak < 48 MiB");
    } else {
        std::printf("midicsv not installed (Debian package midicsv): its row is skipped\n\n");
    }

    // Songs far beyond anything the keyboard holds: refused, in bounded memory.
    const Result idleCli = MeasureProgram(1, {KORVANA_CLI, "--help"});
    for (const std::uint64_t megabytes : {256, 1024}) {
        const std::string huge = (folder.Path() / "huge.mid").string();
        if (!korvana::bench::WriteNoteStream(huge, megabytes << 20)) {
            std::printf("cannot write a %llu MiB song\n",
                        static_cast<unsigned long long>(megabytes));
            continue;
        }
        const Result result = MeasureProgram(1, {KORVANA_CLI, "check", huge});
        std::printf(
            "korvana-cli check of a %llu MiB song of running-status notes\n"
            "  wall %9.1f ms | cpu %9.1f ms | peak %6.1f MiB (korvana-cli --help: %.1f MiB) | "
            "goal: peak < 256 MiB\n\n",
            static_cast<unsigned long long>(megabytes), result.seconds * 1e3,
            result.cpuSeconds * 1e3, result.peakMiB, idleCli.peakMiB);
        fs::remove(huge);
    }
    return 0;
}
