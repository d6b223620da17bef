#!/usr/bin/env bash
# Two builds of korvana-cli (this machine's and a cross-built one, run through its launcher) print
# the same bytes, exit alike and write byte-identical files for every sample and option set.
# Usage: same_output.sh REFERENCE_CLI OTHER_CLI SAMPLES_FOLDER. Exits 77 (skipped) when
# REFERENCE_CLI has not been built.
set -uo pipefail
reference=$1 other=$2 samples=$3
[ -x "$reference" ] || { echo "no reference korvana-cli at $reference"; exit 77; }
export LC_ALL=C
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# Runs one command line with both programs, each in a fresh copy of the samples.
compare() {
  local side cli
  for side in reference other; do
    cli=${!side}
    rm -rf "${work:?}/$side"
    mkdir -p "$work/$side"
    cp "$samples"/*.[mM][iI][dD] "$work/$side/"
    (cd "$work/$side" && "$cli" "$@" >"$work/$side.out" 2>"$work/$side.err"
     echo $? >"$work/$side.status")
  done
  local what
  for what in out err status; do
    if ! cmp -s "$work/reference.$what" "$work/other.$what"; then
      echo "FAILED: korvana-cli $*: std$what differs" >&2
      diff <(od -c "$work/reference.$what") <(od -c "$work/other.$what") | head -n 20 >&2
      failures=$((failures + 1))
    fi
  done
  if ! diff -r "$work/reference" "$work/other" >&2; then
    echo "FAILED: korvana-cli $*: the files written differ" >&2
    failures=$((failures + 1))
  fi
}

songs=()
for song in "$samples"/*.[mM][iI][dD]; do songs+=("$(basename "$song")"); done

compare check "${songs[@]}"
compare check --json "${songs[@]}" missing.mid
for options in "" "--json" "--text" "--short-setup --raw-drum --dump" "--json --text --dump"; do
  # shellcheck disable=SC2086 # the options are words
  compare convert $options "${songs[@]}"
done

echo "${failures} differences"
[ "$failures" -eq 0 ]
