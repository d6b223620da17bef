#!/usr/bin/env bash
# Drives korvana-keyboard, running as its own process on a private JACK server with the dummy
# driver, through korvana-cli: connect, list, send, list, fetch, backup, delete, restore.
# Usage: jack_roundtrip.sh KORVANA_CLI KORVANA_KEYBOARD
set -euo pipefail
cli=$1
keyboard=$2

source "$(dirname "$0")/private-jack.sh"
trap stop_private_jack EXIT
work=$jack_work
name="IT Keyboard $$"
export KORVANA_MIDI_API=jack

fail() {
  echo "FAILED: $*" >&2
  cat "$work/keyboard.log" >&2
  exit 1
}

start_private_jack "$cli"

# A stored song in slot 1: an 82-byte control entry giving 300 bytes of pattern data (FF FF ...).
mkdir "$work/store"
{ printf '        '; head -c 72 /dev/zero; printf '\x2c\x01\xff\xff'; head -c 298 /dev/urandom; } \
  >"$work/store/slot-001.bin"
cp "$work/store/slot-001.bin" "$work/seeded.bin"

start_keyboard "$keyboard" --name "$name" --slots 8 --store "$work/store"

# Runs a keyboard command on the pair. The protocol's time-outs are short (100 ms a chunk, 200 ms
# for the handshake and for each block), and a machine under heavy load misses one now and then;
# a command that ends with "no answer in time" (status 1) is therefore tried again, at most three
# times, and each miss is shown. Every step below is safe to repeat.
kbd() {
  local rc
  for attempt in 1 2 3; do
    if "$cli" --in "$name" --out "$name" "$@" >"$work/kbd.out" 2>"$work/kbd.err"; then
      rc=0
    else
      rc=$?
    fi
    [ $rc -eq 1 ] && [ $attempt -lt 3 ] || break
    echo "attempt $attempt of '$*' failed: $(tr '\n' ' ' <"$work/kbd.err")" >&2
  done
  cat "$work/kbd.err" >&2
  cat "$work/kbd.out"
  return $rc
}
[ "$(kbd connect)" = "$name" ] || fail "connect"

kbd list >"$work/list1"
[ "$(wc -l <"$work/list1")" -eq 8 ] || fail "list has not 8 slots"
grep -qP '^1\tSong-[0-9A-F]{8}$' "$work/list1" || fail "seeded slot not listed"
grep -qP '^0\tEmpty$' "$work/list1" || fail "empty slot not listed"
kbd list --json | grep -q '"slot": 1, "name": "Song-' || fail "list --json"

# The song of the converter's worked example: one drum note in a 4/4 bar at 120 beats a minute.
song="$work/song.mid"
printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\xc0MTrk\x00\x00\x00\x1b' >"$song"
printf '\x00\xff\x58\x04\x04\x02\x18\x08\x00\xff\x51\x03\x07\xa1\x20' >>"$song"
printf '\x00\x99\x24\x64\x60\x89\x24\x40\x60\xff\x2f\x00' >>"$song"
kbd send "$song" 3 >"$work/send.out" || fail "send"
[ "$(find "$work" -maxdepth 1 -name 'song.*' | wc -l)" -eq 1 ] || fail "send left files beside the song"
kbd list >"$work/list2"
grep -qP '^3\tSong-[0-9A-F]{8}$' "$work/list2" || fail "sent song not listed"
kbd fetch 3 "$work/fetched3.bin" || fail "fetch of the sent song"
cmp "$work/fetched3.bin" "$work/store/slot-003.bin" || fail "fetched song differs from the stored one"

kbd fetch 1 "$work/fetched1.bin" || fail "fetch"
cmp "$work/fetched1.bin" "$work/seeded.bin" || fail "fetched bytes differ from the stored ones"

# A backup is not repeated into a folder that an attempt already filled: each try starts afresh.
for attempt in 1 2 3; do
  rm -rf "$work/backup"
  kbd backup --json "$work/backup" >"$work/backup.json.out" && break
  [ $attempt -lt 3 ] || fail "backup"
done
[ "$(cd "$work/backup" && echo *)" = "backup.json slot-001.mix slot-003.mix" ] || fail "backup files"
cmp "$work/backup/slot-001.mix" "$work/seeded.bin" || fail "backed-up slot differs"
cmp "$work/backup.json.out" "$work/backup/backup.json" || fail "backup --json is not the manifest"
grep -q '"empty": \[' "$work/backup/backup.json" || fail "manifest lists no empty slots"

kbd delete 1 || fail "delete"
kbd list | grep -qP '^1\tEmpty$' || fail "deleted slot still listed"
[ ! -e "$work/store/slot-001.bin" ] || fail "deleted slot still stored"

set +e
kbd fetch 1 "$work/none.bin" 2>/dev/null
rc=$?
set -e
[ $rc -eq 1 ] || fail "fetch of an empty slot exited $rc"
[ ! -e "$work/none.bin" ] || fail "failed fetch left a file"

kbd restore --exact --verify --json "$work/backup" >"$work/restore.out" || fail "restore"
grep -q '"restored": \[' "$work/restore.out" || fail "restore --json"
cmp "$work/store/slot-001.bin" "$work/seeded.bin" || fail "restored slot differs"
echo "JACK round trip passed"
