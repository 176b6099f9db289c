#!/usr/bin/env bash
# Benchmark: builds the distribution if needed, then prints how fast setup is next to an NSIS
# installer and a Windows Installer package of the same payload, under the same Wine. Not a test:
# it prints figures. Arguments go to bench/bench.py (--runs N, --parts).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${SETUP_BUILD_DIR:-$top/build}
root=$build/bench-wine

started=$(date +%s.%N)
"$top/scripts/build.sh" >/dev/null
# The peers' tools are the benchmark's alone: the build and the tests do without them.
"$top/scripts/bootstrap.sh" nsis msitools wixl
for prefix in "$root"/pristine/* "$root"/boxes/*; do
    [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
done
rm -rf "$root"
"$top/tests/support/prefixes.sh" create "$root" win7-64 winxp

export SETUP_BUILD_DIR=$build SETUP_TEST_ROOT=$root SETUP_DIST_DIR=$build/dist
export SETUP_TEST_SUPPORT=$top/tests/support SETUP_LAUNCHER=$build/tests/launch.exe
export SETUP_BENCH_STARTED=$started
echo "machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo)," \
     "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'); $(wine --version)"
exec python3 "$top/bench/bench.py" "$@"
