#!/usr/bin/env bash
# Makes the pristine Wine prefixes of one test run, and copies of them.
#
#   prefixes.sh create ROOT        pristine prefixes in ROOT/pristine/<kind>, made anew
#   prefixes.sh copy ROOT KIND DIR a fresh copy of one pristine prefix at DIR
#
# Kinds: win7-64 (64-bit Windows 7, the default), win32 (32-bit Windows 7), winxp (32-bit Windows XP,
# below NT 6), win10 (64-bit Windows 10, above NT 6). Every prefix draws with Wine's null graphics
# driver (tests switch a copy to X11 when they need real pixels), never makes Linux menu entries and
# has real Desktop and Documents folders instead of links into a home folder.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

make_prefix() {
    local root=$1 kind=$2 dir=$1/pristine/$2 arch=win64 version=win7
    case $kind in
        win7-64) ;;
        win32) arch=win32 ;;
        winxp) arch=win32 version=winxp ;;
        win10) version=win10 ;;
        *) echo "unknown prefix kind: $kind" >&2; return 2 ;;
    esac
    rm -rf "$dir"
    mkdir -p "$dir"
    wine_env "$root" "$dir"
    export WINEARCH=$arch
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null
    wine reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null
    wineserver -w
    local users=$dir/drive_c/users
    for link in "$users"/*/*; do
        if [ -L "$link" ]; then
            rm -f "$link"
            mkdir -p "$link"
        fi
    done
    echo "$kind" >"$dir/.kind"
}

case ${1:-} in
    create)
        root=$2
        shift 2
        kinds=("$@")
        [ ${#kinds[@]} -gt 0 ] || kinds=(win7-64 win32 winxp win10)
        mkdir -p "$root/home"
        pids=()
        for kind in "${kinds[@]}"; do
            make_prefix "$root" "$kind" &
            pids+=($!)
        done
        status=0
        for pid in "${pids[@]}"; do wait "$pid" || status=1; done
        exit $status
        ;;
    copy)
        root=$2 kind=$3 dir=$4
        [ -f "$root/pristine/$kind/.kind" ] || { echo "no pristine prefix $kind in $root" >&2; exit 2; }
        rm -rf "$dir"
        mkdir -p "$(dirname "$dir")"
        cp -a "$root/pristine/$kind" "$dir"
        ;;
    *)
        echo "usage: $0 create ROOT [KIND...] | copy ROOT KIND DIR" >&2
        exit 2
        ;;
esac
