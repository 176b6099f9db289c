# Sourced: the environment of every Wine process that a test starts. Never ~/.wine, never the real
# home: the prefix and a throwaway home both live below the test run's root.
wine_env() {
    local root=$1 prefix=$2
    export WINEPREFIX=$prefix
    export HOME=$root/home
    export XDG_CONFIG_HOME=$root/home/.config
    export XDG_DATA_HOME=$root/home/.local/share
    export XDG_CACHE_HOME=$root/home/.cache
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
    export LANG=${SETUP_TEST_LANG:-C.UTF-8}
    mkdir -p "$HOME"
}

# Wine's background processes inherit every open descriptor, and a test runner waits until its
# output pipe closes: close everything above stderr and keep one server per prefix running.
close_inherited_descriptors() {
    local fd
    for fd in /proc/$$/fd/*; do
        fd=${fd##*/}
        [ "$fd" -gt 2 ] 2>/dev/null && eval "exec $fd>&-" 2>/dev/null || true
    done
}

start_wine_server() {
    wineserver -p30 </dev/null >/dev/null 2>&1 || true
}

# A desktop as a user's may have it, in the prefix of the environment: the display at dpi dots per
# inch (the LogPixels value Wine reads for every program it starts) and the CJK font linked to the
# faces the wizard draws with, as Windows with East Asian fonts links them. Run it before the
# first program that draws.
configure_desktop() {
    local dpi=$1 face
    local links='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    for face in Arial System Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
        wine reg add "$links" /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' \
            /f >/dev/null 2>&1
    done
}
