#!/usr/bin/env bash
# Runs the JACK driver against korvana-keyboard on a private JACK server.
# Usage: bench/device/run-jack-bench.sh [BUILD_DIR] [SONGS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
songs=${2:-5}
source "$root/tests/integration/private-jack.sh"
trap stop_private_jack EXIT
start_private_jack "$build/bin/korvana-cli"
start_keyboard "$build/bin/korvana-keyboard" --name "Bench Keyboard" --slots 4 --capacity 1000000
"$build/bin/device_jack_driver" jack "Bench Keyboard" "$songs"
