#!/usr/bin/env bash
# Builds the .deb into a temporary folder and checks what it holds and what it depends on: every
# built program with its documents, nothing from the build (headers, static libraries, tests),
# and a dependency on each runtime library the programs load, never a development package.
# Usage: deb-test.sh BUILD_DIR (KORVANA_BUILT_* tell which programs were built)
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ "${KORVANA_BUILT_CLI:-0}" != 1 ] && [ "${KORVANA_BUILT_WINDOW:-0}" != 1 ]; then
    echo "no program is built: nothing to package"
    exit 77
fi

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
debs=("$work"/*.deb)
deb=${debs[0]}
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/files"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"

failed=0
expect_file() {
    grep -qxF "$1" "$work/files" || { echo "missing from the package: $1"; failed=1; }
}
expect_depends() {
    grep -qE "(^|, )$1( |,|$)" <<<"$depends" || { echo "no dependency on $1"; failed=1; }
}

[ "$(dpkg-deb -f "$deb" Package)" = korvana ] || { echo "package is not named korvana"; failed=1; }
if [ "${KORVANA_BUILT_CLI:-0}" = 1 ]; then
    expect_file /usr/bin/korvana-cli
    expect_file /usr/share/man/man1/korvana-cli.1
    expect_file /usr/share/bash-completion/completions/korvana-cli
fi
if [ "${KORVANA_BUILT_KEYBOARD:-0}" = 1 ]; then
    expect_file /usr/bin/korvana-keyboard
    expect_file /usr/share/man/man1/korvana-keyboard.1
fi
if [ "${KORVANA_BUILT_WINDOW:-0}" = 1 ]; then
    expect_file /usr/bin/korvana
    expect_file /usr/share/applications/org.korvana.Korvana.desktop
    expect_file /usr/share/metainfo/org.korvana.Korvana.metainfo.xml
    expect_file /usr/share/icons/hicolor/256x256/apps/korvana.png
    expect_file /usr/share/icons/hicolor/scalable/apps/korvana.svg
    expect_depends libqt6widgets6
    # Qt's display plugins are loaded at run time; no library link would pull them in.
    expect_depends qt6-qpa-plugins
fi

if grep -E '^/usr/(include|lib)/|\.a$|_tests$|/bench|/build' "$work/files"; then
    echo "the package holds files from the build"
    failed=1
fi
if grep -E '(^|, )[^ ,]*-dev( |,|$)' <<<"$depends"; then
    echo "the package depends on a development package"
    failed=1
fi

# Every runtime library a packaged program loads is depended upon.
dpkg-deb -x "$deb" "$work/root"
for program in "$work"/root/usr/bin/*; do
    needed=$(objdump -p "$program" | awk '/NEEDED/ {print $2}')
    grep -q '^libQt6Widgets' <<<"$needed" && expect_depends libqt6widgets6
    grep -q '^librtmidi' <<<"$needed" && expect_depends 'librtmidi[0-9]+'
done

[ "$failed" = 0 ] && echo "package $(basename "$deb") holds $(wc -l <"$work/files") entries"
exit "$failed"
