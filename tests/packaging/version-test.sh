#!/usr/bin/env bash
# The metainfo's newest release and the man pages name the version the build makes, so a
# version bump cannot leave them behind.
# Usage: version-test.sh PACKAGING_DIR VERSION
set -euo pipefail
packaging=$1
version=$2

failed=0
newest=$(grep -m1 -oP '<release version="\K[^"]+' "$packaging"/*.metainfo.xml)
if [ "$newest" != "$version" ]; then
    echo "metainfo's newest release is $newest, the build makes $version"
    failed=1
fi
for page in "$packaging"/man/*.1; do
    if ! grep -q "^\.TH .*\"Korvana $version\"" "$page"; then
        echo "$(basename "$page") does not name Korvana $version"
        failed=1
    fi
done
exit "$failed"
