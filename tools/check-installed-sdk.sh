#!/usr/bin/env bash
# Installs a build into a scratch prefix and builds the example program against that copy alone, once
# through pkg-config and once through find_package(qm4120); runs both and the installed recorder.
#   tools/check-installed-sdk.sh [build folder, default build/default]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

pc=$(find "$prefix" -name qm4120.pc)
[ -n "$pc" ] || { echo "install did not provide qm4120.pc" >&2; exit 1; }
# shellcheck disable=SC2046
cc examples/open_set_read.c $(PKG_CONFIG_PATH=$(dirname "$pc") pkg-config --cflags --libs qm4120) \
  -o "$work/open_set_read_pc"
"$work/open_set_read_pc" | grep -q "RF frequency: [0-9]* Hz"
echo "pkg-config build of the example: ok"

cmake -S examples/installed -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake" >/dev/null
"$work/cmake/open_set_read" | grep -q "RF frequency: [0-9]* Hz"
echo "find_package build of the example: ok"

"$prefix/bin/qm4120_capture" --output "$work/tone" 2>/dev/null
[ -s "$work/tone.sigmf-data" ] && [ -s "$work/tone.sigmf-meta" ]
echo "installed recorder: ok"
