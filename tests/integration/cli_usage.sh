#!/usr/bin/env bash
# korvana-cli's keyboard commands refuse malformed requests with exit status 2 before they open
# any port. Usage: cli_usage.sh KORVANA_CLI
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
expect 0 --help
[ "$failures" -eq 0 ]
