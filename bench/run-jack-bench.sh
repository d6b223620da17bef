#!/usr/bin/env bash
# The transfer benches over JACK against korvana-keyboard on one private server: the device
# driver's back-to-back sends, the window's send and the in-process plain send, then
# korvana-cli's own sends of the same song (process start-up and JACK connection included),
# timed one by one.
# Usage: bench/run-jack-bench.sh [BUILD_DIR] [REPETITIONS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
repetitions=${2:-5}
source "$root/tests/integration/private-jack.sh"
trap stop_private_jack EXIT
start_private_jack "$build/bin/korvana-cli"
start_keyboard "$build/bin/korvana-keyboard" --name "Bench Keyboard" --slots 4 --capacity 1000000
"$build/bin/device_jack_driver" jack "Bench Keyboard" "$repetitions"
if [[ -x $build/bin/korvana_send_bench ]]; then
  KORVANA_MIDI_API=jack KORVANA_BENCH_PORT="Bench Keyboard" QT_QPA_PLATFORM=offscreen \
    "$build/bin/korvana_send_bench" "$repetitions" || true
  song=$jack_work/bench.mid
  "$build/bin/korvana_send_bench" --song "$song"
  for _ in $(seq "$repetitions"); do
    start=$(date +%s%N)
    result=$("$build/bin/korvana-cli" --api jack --in "Bench Keyboard" --out "Bench Keyboard" \
      send "$song" 2 2>&1 | tail -1) || true
    echo "korvana-cli send: $((($(date +%s%N) - start) / 1000000)) ms ($result)"
  done
fi
