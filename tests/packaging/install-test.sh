#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks that every built part landed where a Linux
# desktop looks for it, runs the installed korvana-cli on the installed sample songs, and starts
# the installed window the way a file manager's "Open with" does.
# Usage: install-test.sh BUILD_DIR (KORVANA_BUILT_* tell which programs were built)
set -euo pipefail
build=$1
work=$(mktemp -d)
window=""
cleanup() {
    if [ -n "$window" ]; then
        kill "$window" 2>/dev/null || true
        wait "$window" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
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
    expect bin/korvana share/korvana/Help.html share/korvana/Help.mht \
        share/applications/org.korvana.Korvana.desktop \
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
# Read whole: a grep that stops at the first match would cut the usage's pipe short.
"$cli" --help >"$work/usage.txt" && grep -q "korvana-cli check" "$work/usage.txt" ||
    { echo "installed korvana-cli --help failed"; exit 1; }

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
accepted=""
for song in "${songs[@]}"; do
    grep -qF "\"$song\"" "$work/check.json" || { echo "no result for $song"; exit 1; }
    if [ -z "$accepted" ] && "$cli" check "$song" >/dev/null 2>&1; then
        accepted=$song
    fi
done
[ -n "$accepted" ] || { echo "no sample is accepted"; exit 1; }
echo "installed korvana-cli checked ${#songs[@]} samples"

[ "${KORVANA_BUILT_WINDOW:-0}" = 1 ] || exit 0
# The installed window, handed an accepted sample as by "Open with", copies it into a repository
# in the per-user data folder, never into its program folder, though this prefix is writable.
home=$work/home
repository=$home/data/Korvana/Repository
mkdir -p "$home" "$work/runtime"
chmod 700 "$work/runtime"
(cd "$work" && HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config \
    XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen \
    exec "$prefix/bin/korvana" "$accepted" >"$work/window.log" 2>&1) &
window=$!
name=$(basename "$accepted")
for _ in $(seq 150); do
    [ -d "$repository" ] && [ -n "$(find "$repository" -maxdepth 1 -iname "$name")" ] && break
    kill -0 "$window" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$(find "$repository" -maxdepth 1 -iname "$name" 2>/dev/null)" ]; then
    echo "the installed window did not take $name into $repository"
    cat "$work/window.log"
    exit 1
fi
if [ -e "$prefix/bin/Repository" ]; then
    echo "the installed window made a repository in its program folder"
    exit 1
fi
echo "installed window took $name into the per-user repository"
