#!/usr/bin/env bash
# Drives the bash completion for korvana-cli as bash would and checks what it offers.
# Usage: completion-test.sh COMPLETION_FILE
set -uo pipefail
completion=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

bash_completion=/usr/share/bash-completion/bash_completion
[ -r "$bash_completion" ] || { echo "bash-completion is not installed"; exit 77; }
# shellcheck source=/dev/null
source "$bash_completion"
# shellcheck source=/dev/null
source "$completion"

# A stand-in korvana-cli that lists ports the way the real one does.
mkdir "$work/bin"
cat >"$work/bin/korvana-cli" <<'PORTS'
#!/bin/sh
[ "$1" = ports ] || [ "$3" = ports ] || exit 2
printf 'in 0\tMidi Through Port-0\nin 1\tKorvana Keyboard\nout 0\tMidi Through Port-0\nout 1\tKorvana Keyboard\n'
PORTS
chmod +x "$work/bin/korvana-cli"
PATH=$work/bin:$PATH

mkdir -p "$work/songs/Latin"
touch "$work/songs/Bossa.mid" "$work/songs/Rumba.MID" "$work/songs/notes.txt" "$work/songs/Slot.Mix"
cd "$work/songs" || exit 1

# Completes the last word of the given command line; prints the offers sorted, one per line.
offers() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _korvana_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort
}

failed=0
check() {
    local expected=$1
    shift
    local got
    got=$(offers "$@" | paste -sd' ')
    if [ "$got" != "$expected" ]; then
        echo "korvana-cli completion of '$*': expected '$expected', got '$got'"
        failed=1
    fi
}

check "check connect convert" korvana-cli c
check "fix" korvana-cli fi
check "--map" korvana-cli fix --out fixed --m
check "Latin" korvana-cli fix --out ""
check "Bossa.mid Latin Rumba.MID" korvana-cli fix --out fixed --tempo 90 ""
check "check" korvana-cli --api jack ch
check "--short-setup" korvana-cli convert --s
check "--json" korvana-cli check --j
check "jack" korvana-cli --api j
check "Korvana\\ Keyboard" korvana-cli --in Ko
check "Korvana\\ Keyboard" korvana-cli --in 1 --out Ko
check "list" korvana-cli --in 1 --out 1 li
check "Bossa.mid Latin Rumba.MID" korvana-cli check ""
check "backup" korvana-cli --in 1 --out 1 ba
check "Bossa.mid Latin Rumba.MID Slot.Mix" korvana-cli --in 1 --out 1 send ""
check "" korvana-cli --in 1 --out 1 send Bossa.mid ""
check "Bossa.mid Latin Rumba.MID Slot.Mix" korvana-cli --in 1 --out 1 send --verify ""
check "--exact" korvana-cli --in 1 --out 1 restore --e
check "Latin" korvana-cli --in 1 --out 1 backup ""

[ "$failed" = 0 ] && echo "completion offers what korvana-cli takes"
exit "$failed"
