#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks that every built part landed where a Linux
# desktop looks for it, and runs the installed korvana-cli on the installed sample songs.
# Usage: install-test.sh BUILD_DIR (KORVANA_BUILT_* tell which programs were built)
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >"$work/install.log"

failed=0
expect() {
    for file in "$@"; do
        if [ ! -e "$prefix/$file" ]; then
            echo "not installed: $file"
            failed=1
        fi
    done
}

if [ "${KORVANA_BUILT_WINDOW:-0}" = 1 ]; then
    expect bin/korvana share/applications/org.korvana.Korvana.desktop \
        share/metainfo/org.korvana.Korvana.metainfo.xml share/icons/hicolor/scalable/apps/korvana.svg
    for size in 48 128 256; do
        expect share/icons/hicolor/${size}x${size}/apps/korvana.png
    done
fi
if [ "${KORVANA_BUILT_KEYBOARD:-0}" = 1 ]; then
    expect bin/korvana-keyboard share/man/man1/korvana-keyboard.1
fi
if [ "${KORVANA_BUILT_CLI:-0}" != 1 ]; then
    echo "korvana-cli is not built: nothing to run"
    exit 77
fi
expect bin/korvana-cli share/man/man1/korvana-cli.1 share/bash-completion/completions/korvana-cli
[ "$failed" = 0 ] || exit 1

# An installed program must not reach back into the build tree for its libraries.
for program in "$prefix"/bin/*; do
    if readelf -d "$program" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
        echo "$program still points into the build tree"
        exit 1
    fi
done

cli=$prefix/bin/korvana-cli
"$cli" --help | grep -q "korvana-cli check" || { echo "installed korvana-cli --help failed"; exit 1; }

samples=$prefix/share/korvana/samples
shopt -s nullglob nocaseglob
songs=("$samples"/*.mid)
shopt -u nocaseglob
if [ ${#songs[@]} -eq 0 ]; then
    echo "no sample songs installed yet"
    exit 77
fi

# Checked from an unrelated folder, as a user would; nothing may appear beside the samples.
before=$(ls -A "$samples")
status=0
(cd "$work" && "$cli" check --json "$samples") >"$work/check.json" 2>"$work/check.err" || status=$?
if [ "$status" -gt 1 ]; then
    echo "korvana-cli check failed with status $status"
    cat "$work/check.err" "$work/check.json"
    exit 1
fi
if [ "$(ls -A "$samples")" != "$before" ]; then
    echo "korvana-cli check left files beside the samples"
    exit 1
fi
for song in "${songs[@]}"; do
    grep -qF "\"$song\"" "$work/check.json" || { echo "no result for $song"; exit 1; }
done
grep -qE '"accepted": *true' "$work/check.json" || { echo "no sample is accepted"; exit 1; }
echo "installed korvana-cli checked ${#songs[@]} samples"
