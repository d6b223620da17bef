#!/usr/bin/env bash
# Starts a private JACK server (dummy driver, synchronous mode) and korvana-keyboard, runs the
# JACK driver against it, and stops both by their ids.
# Usage: bench/device/run-jack-bench.sh [BUILD_DIR] [SONGS]
set -euo pipefail
build=${1:-build}
songs=${2:-5}
server=korvana-bench-$$
export JACK_DEFAULT_SERVER=$server JACK_NO_START_SERVER=1
log=$(mktemp -d)
jack_pid=
keyboard_pid=
cleanup() {
  if [ -n "$keyboard_pid" ]; then kill "$keyboard_pid" 2>/dev/null || true; wait "$keyboard_pid" 2>/dev/null || true; fi
  if [ -n "$jack_pid" ]; then kill "$jack_pid" 2>/dev/null || true; wait "$jack_pid" 2>/dev/null || true; fi
  rm -rf "$log"
}
trap cleanup EXIT
jackd -S -r -n "$server" -d dummy -r 48000 -p 256 >"$log/jackd" 2>&1 &
jack_pid=$!
for _ in $(seq 50); do
  "$build/bin/korvana-cli" --api jack ports >/dev/null 2>&1 && break
  sleep 0.1
done
"$build/bin/korvana-keyboard" --api jack --name "Bench Keyboard" --slots 4 --capacity 1000000 \
  >"$log/keyboard" 2>&1 &
keyboard_pid=$!
for _ in $(seq 50); do
  grep -q ready "$log/keyboard" && break
  sleep 0.1
done
"$build/bin/device_jack_driver" jack "Bench Keyboard" "$songs"
