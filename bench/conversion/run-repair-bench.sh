#!/usr/bin/env bash
# korvana-cli fix of 1,000 generated pattern files (2 to 8 KB, 480 ticks per quarter note) in one
# process, paired run by run with korvana-cli check of the same files and with cp of them into a
# new folder (what writing 1000 new files costs on this machine), whole process, wall time and
# peak memory from /usr/bin/time. Then, on a set of varied generated songs, how many the
# check refuses before and accepts after fix.
# Usage: bench/conversion/run-repair-bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
runs=${2:-5}
cli=$build/bin/korvana-cli
songs=$build/bin/korvana_repair_songs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$songs" --patterns 1000 "$work/patterns"
echo "1000 patterns, $(du -sk "$work/patterns" | cut -f1) KB; $runs paired runs"

# Prints "SECONDS PEAK_KIB" of one whole run of the command.
measure() {
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>&1 || true
    tail -n 1 "$work/time"  # after a line on a non-zero exit status
}
for run in $(seq "$runs"); do
    echo "$(measure "$cli" fix --out "$work/fixed$run" "$work/patterns") $(measure "$cli" check "$work/patterns") $(measure cp -r "$work/patterns" "$work/copied$run")"
    written=$(find "$work/fixed$run" -name '*.mid' | wc -l)
    [ "$written" = 1000 ] || { echo "fix wrote $written songs, not 1000" >&2; exit 1; }
    rm -rf "$work/fixed$run" "$work/copied$run"
done >"$work/runs"
python3 - "$work/runs" <<'FIGURES'
import statistics, sys
runs = [list(map(float, line.split())) for line in open(sys.argv[1])]
def spread(values, unit, scale=1.0):
    values = [v / scale for v in values]
    return f"median {statistics.median(values):.2f}{unit} (min {min(values):.2f}, max {max(values):.2f})"
print("fix:   wall", spread([r[0] for r in runs], " s"), "| peak", spread([r[1] for r in runs], " MiB", 1024))
print("check: wall", spread([r[2] for r in runs], " s"), "| peak", spread([r[3] for r in runs], " MiB", 1024))
print("cp:    wall", spread([r[4] for r in runs], " s"))
print("fix/check, pair by pair: wall", spread([r[0] / r[2] for r in runs], "x"),
      "| peak", spread([r[1] / r[3] for r in runs], "x"))
print("fix/cp, pair by pair: wall", spread([r[0] / r[4] for r in runs], "x"))
print("goal: fix under 2 s and 64 MiB")
FIGURES

"$songs" 60 "$work/varied"
refused=$("$cli" check --json "$work/varied" | grep -c '"accepted": false' || true)
fixed=$("$cli" fix --json --out "$work/varied-fixed" "$work/varied" | grep -c '"accepted": true' || true)
still=$("$cli" check --json "$work/varied-fixed" | grep -c '"accepted": false' || true)
echo "60 varied songs: $refused refused by check before; after fix $fixed have an accepted song ($still of those refused by a second check)"
