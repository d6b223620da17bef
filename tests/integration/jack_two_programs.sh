#!/usr/bin/env bash
# Two korvana-cli sends at once to one korvana-keyboard (which stores slowly), 20 rounds: a send
# that reports success has its own song in its slot, every time. Then Ctrl+C ends a wait for the
# other program.
# Usage: jack_two_programs.sh KORVANA_CLI KORVANA_KEYBOARD SONG_A SONG_B
set -euo pipefail
cli=$1
keyboard=$2
songs=("$3" "$4")

source "$(dirname "$0")/private-jack.sh"
trap stop_private_jack EXIT
work=$jack_work
name="Shared Keyboard $$"
export KORVANA_MIDI_API=jack
export XDG_RUNTIME_DIR=$work

fail() {
  echo "FAILED: $*" >&2
  cat "$work"/*.err "$work/keyboard.log" >&2 || true
  exit 1
}

start_private_jack "$cli"
mkdir "$work/store"
start_keyboard "$keyboard" --name "$name" --slots 8 --store "$work/store" --store-delay 300

send() {
  "$cli" --in "$name" --out "$name" send "$1" "$2" >"$work/$3.out" 2>"$work/$3.err"
}

# A protocol time-out under heavy load may fail a send now and then: tried up to three times.
send_alone() {
  for _ in 1 2 3; do send "$@" && return 0; done
  return 1
}

# Each song alone first: what its slot must hold after any send of it that succeeded.
send_alone "${songs[0]}" 6 ref0 || fail "lone send of the first song"
send_alone "${songs[1]}" 7 ref1 || fail "lone send of the second song"
cmp -s "$work/store/slot-006.bin" "$work/store/slot-007.bin" && fail "the two songs are alike"

succeeded=0
for round in $(seq 20); do
  # The songs change places every round, so that a slot left from the round before is noticed.
  first=$((round % 2))
  second=$((1 - first))
  rc=(0 0)
  send "${songs[$first]}" 1 a &
  pid_a=$!
  send "${songs[$second]}" 2 b &
  pid_b=$!
  wait "$pid_a" || rc[0]=$?
  wait "$pid_b" || rc[1]=$?
  for side in 0 1; do
    slot=$((side + 1))
    song=$(((side == 0) ? first : second))
    log=$([ "$side" -eq 0 ] && echo a || echo b)
    if [ "${rc[$side]}" -eq 0 ]; then
      grep -q "Download successfully!" "$work/$log.out" || fail "round $round: exit 0 without success"
      cmp -s "$work/store/slot-00$slot.bin" "$work/store/slot-00$((6 + song)).bin" ||
        fail "round $round: send into slot $slot succeeded but the slot holds another song"
      succeeded=$((succeeded + 1))
    else
      echo "round $round: send into slot $slot ended ${rc[$side]}: $(tr '\n' ' ' <"$work/$log.err")" >&2
    fi
  done
done
# Time-outs aside, the lock must not fail a send.
[ "$succeeded" -ge 20 ] || fail "only $succeeded of 40 sends succeeded"

# Ctrl+C while another program holds the keyboard ends the wait at once: nothing is sent, and
# the exit status says the command was stopped. (A job started with & ignores Ctrl+C unless told.)
lock=$(echo "$work"/korvana-keyboard-*.lock)
exec 9>>"$lock"
flock -n 9 || fail "the keyboard's lock is held after every send ended"
env --default-signal=INT "$cli" --in "$name" --out "$name" send "${songs[0]}" 3 \
  >"$work/int.out" 2>"$work/int.err" 9>&- &
sender=$!
for _ in $(seq 300); do grep -q "waiting for the keyboard" "$work/int.err" && break; sleep 0.1; done
kill -INT "$sender"
rc=0
wait "$sender" || rc=$?
exec 9>&-
[ "$rc" -eq 130 ] || fail "Ctrl+C while waiting ended with $rc, not 130"
grep -q "stopped by Ctrl+C" "$work/int.err" || fail "Ctrl+C while waiting was not reported"
[ ! -e "$work/store/slot-003.bin" ] || fail "a send stopped while waiting reached the keyboard"
echo "two programs at once: $succeeded of 40 sends succeeded, each with its song in its slot"
