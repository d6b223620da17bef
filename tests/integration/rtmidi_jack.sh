#!/usr/bin/env bash
# Runs the RtMidi backend's JACK cases (closing and destroying a pair while input arrives) on a
# private JACK server with the dummy driver.
# Usage: rtmidi_jack.sh KORVANA_CLI RTMIDI_JACK_TESTS
set -euo pipefail
cli=$1
tests=$2

source "$(dirname "$0")/private-jack.sh"
trap stop_private_jack EXIT

start_private_jack "$cli"
"$tests"
