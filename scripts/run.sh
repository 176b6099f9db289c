#!/usr/bin/env bash
# The main job: builds the distribution and runs it under Wine in a throwaway prefix, then reports
# what it did, as an administrator would check it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${SETUP_BUILD_DIR:-$top/build}
root=$build/demo

"$top/scripts/build.sh"
cmake --build "$build" --target launch -- --no-print-directory >/dev/null

for prefix in "$root"/pristine/* "$root"/boxes/*; do
    [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
done
rm -rf "$root"
echo "making a throwaway Wine prefix in $root"
"$top/tests/support/prefixes.sh" create "$root" win7-64

export SETUP_TEST_ROOT=$root SETUP_DIST_DIR=$build/dist SETUP_TEST_SUPPORT=$top/tests/support
export SETUP_LAUNCHER=$build/tests/launch.exe SETUP_DEMO_OUT=$build/demo-output
exec python3 "$top/scripts/demo.py" "$@"
