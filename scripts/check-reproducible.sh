#!/usr/bin/env bash
# Checks that the build is reproducible: builds the distribution twice, each time from its own copy
# of the sources (the files git knows, with any uncommitted changes) into its own fresh build
# folder, the two at paths of different lengths, and compares the two dist/ folders byte for byte.
# Prints every file that differs, with the first differing bytes; exits 1 when anything differs.
# Works below build/reproducible and removes it when the two builds agree.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${SETUP_BUILD_DIR:-$top/build}
work=$build/reproducible

"$top/scripts/bootstrap.sh"
started=$SECONDS
rm -rf "$work"

# A clean clone: the files git knows (tracked, or new and not ignored) as they are now.
copy_sources() {
    local target=$1
    mkdir -p "$target"
    (cd "$top" && git ls-files -z --cached --others --exclude-standard) |
        (cd "$top" && while IFS= read -r -d '' name; do
            [ -f "$name" ] && printf '%s\0' "$name"
        done) |
        tar -C "$top" --null -T - -cf - | tar -C "$target" -xf -
}

build_once() {
    local clone=$1
    copy_sources "$clone/source"
    cmake -S "$clone/source" -B "$clone/build" \
        -DCMAKE_TOOLCHAIN_FILE="$clone/source/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DSETUP_BUILD_TESTS=OFF >/dev/null
    cmake --build "$clone/build" -j "$(nproc)" -- --no-print-directory >"$clone/build.log" 2>&1 ||
        { cat "$clone/build.log" >&2; return 1; }
}

first=$work/one
second=$work/the-second-build
for clone in "$first" "$second"; do
    echo "building $clone"
    build_once "$clone"
done

if python3 - "$first/build/dist" "$second/build/dist" <<'EOF'; then
"""Compares two distribution folders byte for byte; prints what differs."""
import os
import struct
import sys


def files(root):
    return {os.path.relpath(os.path.join(folder, name), root)
            for folder, _, names in os.walk(root) for name in names}


def pe_field(data, offset):
    """The PE header field an offset falls in, for the usual suspects."""
    if len(data) < 0x40 or data[:2] != b"MZ":
        return ""
    header = struct.unpack_from("<I", data, 0x3C)[0]
    fields = {header + 8: "PE time stamp", header + 24 + 64: "PE checksum"}
    for start, name in fields.items():
        if start <= offset < start + 4:
            return " (%s)" % name
    return ""


first, second = sys.argv[1], sys.argv[2]
names_first, names_second = files(first), files(second)
differ = 0
for name in sorted(names_first ^ names_second):
    print("only in %s: %s" % ("the first" if name in names_first else "the second", name))
    differ += 1
for name in sorted(names_first & names_second):
    with open(os.path.join(first, name), "rb") as a, open(os.path.join(second, name), "rb") as b:
        one, two = a.read(), b.read()
    if one == two:
        continue
    differ += 1
    print("differs: %s (%d and %d bytes)" % (name, len(one), len(two)))
    offsets = [i for i in range(min(len(one), len(two))) if one[i] != two[i]]
    for offset in offsets[:8]:
        print("  0x%06x: %02x %02x%s" % (offset, one[offset], two[offset], pe_field(one, offset)))
    if len(offsets) > 8:
        print("  ... %d differing bytes in all" % len(offsets))
print("%d files compared, %d differ" % (len(names_first | names_second), differ))
sys.exit(1 if differ else 0)
EOF
    rm -rf "$work"
    echo "reproducible: two clean builds gave byte-identical dist/ ($((SECONDS - started)) s)"
else
    echo "NOT reproducible: the two builds are kept in $work" >&2
    exit 1
fi
