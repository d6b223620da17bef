#!/usr/bin/env bash
# Every command and option a tool's --help names must appear in its man page, and for
# korvana-cli in its bash completion, so the documents keep up with the tools. The man pages
# must also format without warnings.
# Usage: usage-documented-test.sh PACKAGING_DIR PROGRAM_DIR
set -euo pipefail
packaging=$1
programs=$2

failed=0
for page in "$packaging"/man/*.1; do
    warnings=$(groff -man -ww -z "$page" 2>&1)
    if [ -n "$warnings" ]; then
        echo "$page: $warnings"
        failed=1
    fi
done

# Words of the usage text that a user types: --options and, for korvana-cli, the commands.
usage_words() {
    "$1" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u
    [ "$(basename "$1")" = korvana-cli ] &&
        "$1" --help | sed -n 's/^  korvana-cli .*\b\(convert\|check\|fix\|ports\|connect\|list\|send\|delete\|fetch\|backup\|restore\)\b.*/\1/p' |
        sort -u
    return 0
}

tested=0
for tool in korvana-cli korvana-keyboard; do
    program=$programs/$tool
    [ -x "$program" ] || continue
    tested=1
    page=$(sed 's/\\-/-/g' "$packaging/man/$tool.1")
    for word in $(usage_words "$program"); do
        if ! grep -qF -- "$word" <<<"$page"; then
            echo "$tool.1 does not mention $word"
            failed=1
        fi
        if [ "$tool" = korvana-cli ] && ! grep -qw -- "$word" "$packaging/completion/korvana-cli"; then
            echo "the korvana-cli completion does not offer $word"
            failed=1
        fi
    done
done
[ "$tested" = 1 ] || { echo "neither tool is built"; exit 77; }
exit "$failed"
