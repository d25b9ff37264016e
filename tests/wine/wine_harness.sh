# Shared by the tests of the Windows build under Wine: a fresh Wine prefix of the test's
# own, the program started and closed in it, timed looks at the screen. Sourced, not run.
# Needs: KV_EXE (kv_installer.exe), KV_FIXTURE (host kv_fixture), KV_WINDOW_CLOSE, KV_SOURCE_DIR.
set -euo pipefail
: "${KV_EXE:?}" "${KV_FIXTURE:?}"
export KV_APP="$KV_EXE"
source "$(dirname "${BASH_SOURCE[0]}")/../window/harness.sh"

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
echo "== preparing a fresh Wine prefix"
"$wine" wineboot -i > "$work/wineboot.log" 2>&1 || { tail -20 "$work/wineboot.log"; fail "wineboot failed"; }
wineserver="$(dirname "$wine")/wineserver"; [ -x "$wineserver" ] || wineserver=wineserver
"$wineserver" -w || true

drive_c="$WINEPREFIX/drive_c"
vst3="$drive_c/Program Files/Common Files/VST3"
# The default destinations and the plug-in file in each bundle, as the tests look for them.
clap="$drive_c/Program Files/Common Files/CLAP"
aax="$drive_c/Program Files/Common Files/Avid/Audio/Plug-Ins"
vst3_module="$vst3/Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3"
clap_module="$clap/Strandline2.clap"
aax_module="$aax/Strandline2.aaxplugin/Contents/x64/Strandline2.aaxplugin"
settings="$drive_c/ProgramData/Korvane/PluginManagerSettings.txt"
mkdir -p "$drive_c/ProgramData/Korvane"

# start_exe: like start_app, for the Windows program under Wine.
start_exe()
{
    "$KV_WINDOW_CLOSE" --intern
    (cd "$work" && "$wine" "$KV_EXE" > "$work/wine_app.log" 2>&1) &
    APP_PID=$!
    app_pids+=("$APP_PID")
    WID=""
    for _ in $(seq 1 600); do
        WID="$(xdotool search --onlyvisible --name '^kv_installer$' 2> /dev/null | head -1 || true)"
        [ -n "$WID" ] && break
        sleep 0.1
    done
    [ -n "$WID" ] || { cat "$work/wine_app.log" | tail -20; fail "no kv_installer window under Wine"; }
    sleep 2
}

# stop_exe: closes the window and waits for the program to end. Only if it does not end is
# the prefix's own Wine server stopped, which ends every program of this prefix.
stop_exe()
{
    "$KV_WINDOW_CLOSE" "$WID" 2> /dev/null || true
    for _ in $(seq 1 40); do
        kill -0 "$APP_PID" 2> /dev/null || break
        sleep 0.25
    done
    if kill -0 "$APP_PID" 2> /dev/null; then "$wineserver" -k 2> /dev/null || true; fi
    wait "$APP_PID" 2> /dev/null || true
}

# Whatever the test leaves running in its prefix ends with it.
trap '"$wineserver" -k 2> /dev/null || true; cleanup' EXIT

# quick_shot: a screenshot at once, for timing how soon a change shows.
quick_shot()
{
    local file="$work/quick$RANDOM.png"
    import -window "$WID" "$file"
    echo "$file"
}

# click_now X Y: a click whose moment is kept in CLICKED_AT, for timing what follows.
click_now()
{
    xdotool mousemove --window "$WID" "$1" "$2"
    sleep 0.2
    CLICKED_AT="$(date +%s%N)"
    xdotool click 1
}

# await_colour X Y W H RRGGBB MIN WHAT: polls the screen until at least MIN pixels of the
# colour show in the rectangle, without restarting anything; prints how long after the
# last click_now it was first seen. The wait is bounded by time, not by a count of looks:
# a look at the screen takes from a few to some tens of ms, and a pass that waits out
# another installer's lock takes five seconds before it answers.
await_colour()
{
    local now count="0" image deadline=$(($(date +%s%N) + ${KV_AWAIT_SECONDS:-20} * 1000000000))
    while :; do
        image="$(quick_shot)"
        count="$(count_colour "$image" "$1" "$2" "$3" "$4" "$5")"
        [ "$count" -ge "$6" ] && break
        [ "$(date +%s%N)" -lt "$deadline" ] || break
        sleep 0.02
    done
    now="$(date +%s%N)"
    [ "$count" -ge "$6" ] || fail "$7: $count pixels of #$5, expected at least $6"
    echo "ok: $7 ($count pixels, seen $(((now - CLICKED_AT) / 1000000)) ms after the click)"
}

