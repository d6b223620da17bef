#!/usr/bin/env bash
# korvana-cli check, whole process, paired run by run with a peer on the same input:
# - a 10 MB format 1 song of 16 tracks and 3 million events, against midicsv writing its CSV to
#   /dev/null (goal: midicsv/korvana-cli at least 8x, korvana-cli's peak under 48 MiB);
# - 1,000 valid pattern files of 2 to 8 KB in one folder, against cat of the same files to
#   /dev/null (goal: under 0.1 s and 8 MiB).
# Each run is started under /usr/bin/time, which gives the command's own peak memory; wall
# seconds are read around it and processor seconds (user + system) come from the operating
# system's accounting of the finished run. Each line gives the median and the spread of RUNS
# runs; the ratios are taken pair by pair.
# Usage: bench/conversion/run-check-bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
runs=${2:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

events=$("$build/bin/korvana_bench_songs" large "$work/large.mid")
"$build/bin/korvana_bench_songs" patterns 1000 "$work/patterns"
echo "large song: $(stat -c %s "$work/large.mid") bytes, $events events;" \
  "1000 patterns: $(du -sk --apparent-size "$work/patterns" | cut -f1) KB; $runs paired runs"

python3 - "$build/bin/korvana-cli" "$work" "$runs" <<'MEASURE'
import os, statistics, subprocess, sys, time
cli, work, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
patterns = sorted(os.path.join(work, "patterns", name) for name in os.listdir(os.path.join(work, "patterns")))

def run(command):
    """Wall s, cpu s and peak MiB of one whole run; its exit status is not looked at (check
    refuses the large song)."""
    start = time.monotonic()
    with open(os.devnull, "wb") as quiet:
        child = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", f"{work}/peak", *command],
                                 stdout=quiet, stderr=quiet)
        _, _, usage = os.wait4(child.pid, 0)
        child.returncode = 0
    wall = time.monotonic() - start
    with open(f"{work}/peak") as peak:
        kib = int(peak.read().split()[-1])
    return wall, usage.ru_utime + usage.ru_stime, kib / 1024

def spread(values, unit):
    return f"median {statistics.median(values):.3f}{unit} (min {min(values):.3f}, max {max(values):.3f})"

def compare(title, korvana, peer_name, peer, goal):
    pairs = [(run(korvana), run(peer)) for _ in range(runs)]
    print(title)
    for name, side in (("korvana-cli", 0), (peer_name, 1)):
        print(f"  {name:11} wall", spread([p[side][0] for p in pairs], " s"),
              "| cpu", spread([p[side][1] for p in pairs], " s"),
              "| peak", spread([p[side][2] for p in pairs], " MiB"))
    print(f"  {peer_name}/korvana-cli, pair by pair: wall", spread([p[1][0] / p[0][0] for p in pairs], "x"),
          "| cpu", spread([p[1][1] / p[0][1] for p in pairs], "x"))
    print("  goal:", goal)

compare("check of the large song", [cli, "check", f"{work}/large.mid"],
        "midicsv", ["midicsv", f"{work}/large.mid", "/dev/null"], "midicsv/korvana-cli >= 8x, peak < 48 MiB")
compare("check of 1000 patterns", [cli, "check", f"{work}/patterns"],
        "cat", ["cat", *patterns], "under 0.1 s and 8 MiB")
MEASURE
