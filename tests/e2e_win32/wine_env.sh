# Shared by the end-to-end tests and the screenshot script (sourced, not run): a Wine prefix of
# the program's own on an Xvfb of its own. The caller sets `work` (a scratch directory) and the
# array `xvfb_pids`, and kills those processes and the prefix's wineserver when done.

export WINEDEBUG=-all
# No Mono or Gecko installer prompts while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

log() { printf '%s %s\n' "$(date +%T)" "$*"; }

# Starts an Xvfb on a display it picks itself and sets the variable named $1 to that display.
start_xvfb() {
    local fdfile=$work/display.${#xvfb_pids[@]}
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    xvfb_pids+=("$!")
    local i
    for i in $(seq 100); do
        if [ -s "$fdfile" ]; then
            printf -v "$1" ':%s' "$(head -n1 "$fdfile")"
            return 0
        fi
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    return 1
}

reg_add() {
    wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null
}

# A fresh prefix: a 1024x768 virtual desktop (a screen of known size, frames drawn by Wine),
# Chinese glyphs through font linking, the relay trace narrowed to the calls that matter, and
# a web browser that does nothing.
make_prefix() {
    export WINEPREFIX=$1
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # Wine's own Tahoma and Marlett (fonts-wine), where the prefix finds them: Tahoma is what
    # the dialog font maps to, Marlett draws the title bar's buttons. Not Tahoma Bold: the title
    # bar's bold caption then comes from the regular face, whose font link supplies the Chinese.
    local font
    for font in tahoma.ttf marlett.ttf; do
        if [ -f "/usr/share/wine/fonts/$font" ]; then
            cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
        fi
    done
    reg_add 'HKCU\Software\Wine\Explorer' Desktop REG_SZ Default
    reg_add 'HKCU\Software\Wine\Explorer\Desktops' Default REG_SZ 1024x768
    local face
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2"; do
        reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
            "$face" REG_MULTI_SZ 'wqy-zenhei.ttc,WenQuanYi Zen Hei'
    done
    reg_add 'HKCU\Software\Wine\Debug' RelayInclude REG_SZ \
        'advapi32.OpenProcessToken;advapi32.LookupPrivilegeValueW;advapi32.AdjustTokenPrivileges;user32.ExitWindowsEx;kernel32.SetThreadExecutionState;shell32.ShellExecuteW'
    reg_add 'HKCU\Software\Wine\WineBrowser' Browsers REG_SZ true
    wineserver -w
}

