# The real Windows executable under Wine, end to end: the window, the settings file as
# Windows writes it, installing VST3 through the window, the installed version read through
# Windows' own version API, and Shift-click removing it again.
# Needs: KV_EXE (kv_installer.exe), KV_FIXTURE (host kv_fixture), KV_WINDOW_CLOSE, KV_SOURCE_DIR.
set -euo pipefail
: "${KV_EXE:?}" "${KV_FIXTURE:?}"
export KV_APP="$KV_EXE"
source "$(dirname "$0")/../window/harness.sh"

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
echo "== preparing a fresh Wine prefix"
"$wine" wineboot -i > "$work/wineboot.log" 2>&1 || { tail -20 "$work/wineboot.log"; fail "wineboot failed"; }
wineserver="$(dirname "$wine")/wineserver"; [ -x "$wineserver" ] || wineserver=wineserver
"$wineserver" -w || true

drive_c="$WINEPREFIX/drive_c"
vst3="$drive_c/Program Files/Common Files/VST3"
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

stop_exe()
{
    "$KV_WINDOW_CLOSE" "$WID" 2> /dev/null || true
    for _ in $(seq 1 40); do
        kill -0 "$APP_PID" 2> /dev/null || break
        sleep 0.25
    done
    "$wineserver" -k 2> /dev/null || true
    wait "$APP_PID" 2> /dev/null || true
}

start_exe
geometry="$(xdotool getwindowgeometry "$WID" | grep Geometry | awk '{print $2}')"
echo "ok: kv_installer.exe shows its window under Wine ($geometry)"

[ -f "$settings" ] || fail "no settings file was written in C:\\ProgramData\\Korvane"
python3 "$KV_SOURCE_DIR/tests/wine/expected_settings.py" > "$work/expected_settings.txt"
cmp "$settings" "$work/expected_settings.txt" \
    || { od -c "$settings" | head -20; fail "the settings file differs from the shared layout"; }
echo "ok: PluginManagerSettings.txt byte for byte, backslash paths"

click_at 159 210      # VST3 tile
click_at 546 471      # INSTALL
sleep 3
[ -f "$vst3/Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3" ] || fail "VST3 module not installed"
[ -f "$vst3/Strandline2.vst3/Contents/Resources/moduleinfo.json" ] || fail "moduleinfo.json missing"
[ -f "$vst3/Strandline2.vst3/desktop.ini" ] && [ -f "$vst3/Strandline2.vst3/Plugin.ico" ] || fail "bundle files missing"
[ "$(ls -A "$vst3")" = "Strandline2.vst3" ] || fail "more than the bundle in the VST3 folder: $(ls -A "$vst3")"
echo "ok: the archive layout is in C:\\Program Files\\Common Files\\VST3"
stop_exe

start_exe
hover_at 300 60
expect_pixel "$(shot)" 285 210 0287C4 "VST3 tile installed (v2.3.0.0)"
stop_exe

# An older module in place: only Windows' version API can tell, and the tile turns orange.
"$KV_FIXTURE" module "$vst3/Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3" 2.2.0.0
start_exe
hover_at 300 60
expect_pixel "$(shot)" 285 210 CC7E27 "VST3 tile needs update (v2.2.0.0 read by the version API)"

hover_at 546 471
xdotool keydown shift; sleep 0.4; xdotool click 1; sleep 0.4; xdotool keyup shift
sleep 2
[ ! -e "$vst3/Strandline2.vst3" ] || fail "Shift-click did not remove the bundle"
[ -d "$vst3" ] || fail "the VST3 folder itself was removed"
echo "ok: Shift-click removed the bundle under Wine"
stop_exe
