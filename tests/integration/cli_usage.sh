#!/usr/bin/env bash
# korvana-cli's keyboard commands refuse malformed requests with exit status 2 before they open
# any port, and a damaged backup with 1 (an unknown MIDI system proves no port was opened).
# Usage: cli_usage.sh KORVANA_CLI
set -uo pipefail
cli=$1
failures=0

expect() {
  local want=$1
  shift
  "$cli" "$@" >/dev/null 2>&1
  local got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAILED: korvana-cli $* exited $got, expected $want" >&2
    failures=$((failures + 1))
  fi
}

expect 2 --api nosuchsystem ports
expect 2 list
expect 2 --in 0 connect
expect 2 --in 0 --out 0 delete 256
expect 2 --in 0 --out 0 delete -1
expect 2 --in 0 --out 0 delete
expect 2 --in 0 --out 0 fetch 3
expect 2 --in 0 --out 0 send /nonexistent/song.mid 1
expect 2 --in 0 --out 0 send "$0" slot
expect 2 --in 0 --out 0 connect extra

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/full" && echo keep >"$work/full/notes.txt"
printf 'short' >"$work/short.mix"
mkdir "$work/damaged" && echo '{"format": "other"}' >"$work/damaged/backup.json"
expect 2 --api nosuchsystem --in 0 --out 0 backup "$work/full"
expect 2 --in 0 --out 0 backup --verify "$work/new"
expect 2 --in 0 --out 0 backup "$work/a" "$work/b"
expect 2 --api nosuchsystem --in 0 --out 0 send "$work/short.mix" 1
expect 1 --api nosuchsystem --in 0 --out 0 restore "$work/damaged"
expect 1 --api nosuchsystem --in 0 --out 0 restore --exact --verify --json "$work/missing"
if [ "$(ls -A "$work/full")" != notes.txt ] || [ -e "$work/new" ]; then
  echo "FAILED: a refused backup wrote into its folder" >&2
  failures=$((failures + 1))
fi
message=$("$cli" --api nosuchsystem --in 0 --out 0 restore "$work/damaged" 2>&1 >/dev/null)
# Windows joins the manifest's name on with its own separator.
if [[ $message != *"$work/damaged"[/\\]backup.json* ]]; then
  echo "FAILED: the refused restore did not name the manifest: $message" >&2
  failures=$((failures + 1))
fi
expect 0 --help
[ "$failures" -eq 0 ]
