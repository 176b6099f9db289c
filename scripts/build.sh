#!/usr/bin/env bash
# Installs what is missing, then builds the distribution into build/dist.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${SETUP_BUILD_DIR:-$top/build}

"$top/scripts/bootstrap.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j "$(nproc)" -- --no-print-directory
echo "distribution: $build/dist"
