# Sourced by the JACK test and the JACK benchmark: a private JACK server with the dummy driver
# in synchronous mode (so no MIDI is lost or repeated under load) and korvana-keyboard on it.
# Every process started here is stopped by its id in stop_private_jack.

jack_pid=
keyboard_pid=
jack_work=$(mktemp -d)
export JACK_DEFAULT_SERVER=korvana-$$-$RANDOM JACK_NO_START_SERVER=1

stop_private_jack() {
  # The keyboard first, so that it closes its clients while the server still runs.
  if [ -n "$keyboard_pid" ]; then kill "$keyboard_pid" 2>/dev/null || true; wait "$keyboard_pid" 2>/dev/null || true; fi
  if [ -n "$jack_pid" ]; then kill "$jack_pid" 2>/dev/null || true; wait "$jack_pid" 2>/dev/null || true; fi
  rm -rf "$jack_work"
}

# start_private_jack KORVANA_CLI: starts the server and waits until a client can list its ports.
start_private_jack() {
  jackd -S -r -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 >"$jack_work/jackd.log" 2>&1 &
  jack_pid=$!
  for _ in $(seq 200); do
    "$1" --api jack ports >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  cat "$jack_work/jackd.log" >&2
  echo "JACK server did not come up" >&2
  return 1
}

# start_keyboard KORVANA_KEYBOARD ARGS...: starts the simulated keyboard on JACK and waits until
# its ports are open (nothing queries the server meanwhile).
start_keyboard() {
  local program=$1
  shift
  "$program" --api jack "$@" >"$jack_work/keyboard.log" 2>&1 &
  keyboard_pid=$!
  for _ in $(seq 200); do
    grep -q ready "$jack_work/keyboard.log" && return 0
    sleep 0.1
  done
  cat "$jack_work/keyboard.log" >&2
  echo "keyboard did not start" >&2
  return 1
}
