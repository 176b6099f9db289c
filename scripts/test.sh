#!/usr/bin/env bash
# Builds everything and runs every test, then checks that the build is reproducible. Each run
# makes its own throwaway Wine prefixes and home below build/wine; nothing outside the build
# folder is touched.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${SETUP_BUILD_DIR:-$top/build}
root=$build/wine

"$top/scripts/build.sh"

stop_servers() {
    local prefix
    for prefix in "$root"/pristine/* "$root"/unit/* "$root"/boxes/*; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    done
}
trap stop_servers EXIT
stop_servers
rm -rf "$root"
echo "making throwaway Wine prefixes in $root"
"$top/tests/support/prefixes.sh" create "$root"

cd "$build"
ctest --output-on-failure -j "${SETUP_TEST_JOBS:-2}" "$@"

# The whole run also checks that two clean builds give the same bytes; a run that picks tests
# (ctest arguments) leaves that out.
if [ $# -eq 0 ]; then
    "$top/scripts/check-reproducible.sh"
fi
