# The real Windows executable under Wine, end to end: the window, the settings file as
# Windows writes it, and in one run hover, selection, every panel, Shift and INSTALL, each
# seen on screen as it happens; then the installed version read through Windows' own
# version API, Shift-click removing it again, and the failure view of a blocked destination.
source "$(dirname "$0")/wine_harness.sh"

# One run of the program, every change seen live: nothing is restarted to make it repaint.
start_exe
geometry="$(xdotool getwindowgeometry "$WID" | grep Geometry | awk '{print $2}')"
echo "ok: kv_installer.exe shows its window under Wine ($geometry)"

[ -f "$settings" ] || fail "no settings file was written in C:\\ProgramData\\Korvane"
python3 "$KV_SOURCE_DIR/tests/wine/expected_settings.py" > "$work/expected_settings.txt"
cmp "$settings" "$work/expected_settings.txt" \
    || { od -c "$settings" | head -20; fail "the settings file differs from the shared layout"; }
echo "ok: PluginManagerSettings.txt byte for byte, backslash paths"

hover_at 300 60
expect_pixel "$(shot)" 285 210 464545 "VST3 tile at rest"
hover_at 285 210
expect_pixel "$(shot)" 285 210 5E5C5C "VST3 tile hovered"

# The selection outline around the VST3 tile (24,180 270x60), in colour_yellow.
click_now 159 210
await_colour 20 176 278 68 D3C55F 400 "a click on the VST3 tile draws its selection outline"
click_at 159 210
hover_at 300 60
[ "$(count_colour "$(shot)" 20 176 278 68 D3C55F)" -lt 20 ] || fail "a second click left the selection outline"
echo "ok: a second click takes the outline away"

expect_each_panel_opens_and_closes
expect_caption_follows_shift

click_at 159 210      # VST3 tile
click_now 546 471     # INSTALL
await_colour 96 240 408 84 86CF7A 300 "INSTALL shows the success view with its green icon"
expect_pixel "$(shot)" 285 210 111111 "the tiles are gone"
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
xdotool keydown shift; sleep 0.4; CLICKED_AT="$(date +%s%N)"; xdotool click 1; sleep 0.4; xdotool keyup shift
await_colour 96 240 408 84 86CF7A 300 "Shift-click shows the success view of the removal"
[ ! -e "$vst3/Strandline2.vst3" ] || fail "Shift-click did not remove the bundle"
[ -d "$vst3" ] || fail "the VST3 folder itself was removed"
echo "ok: Shift-click removed the bundle under Wine"
stop_exe

# A destination that cannot be created: a file stands where a folder must go.
printf 'a file where a folder must be' > "$drive_c/Blocked"
printf '%s\r\n' '<?xml version="1.0" encoding="UTF-8"?>' \
    '<Plugin_Manager_Settings VST3_Path="C:\Blocked\VST3" CLAP_Path="C:\CLAP" AAX_Path="C:\AAX"/>' > "$settings"
start_exe
click_at 159 210
click_now 546 471
await_colour 24 168 552 120 E08A2A 100 "a destination that cannot be created shows the failure view"
[ "$(count_colour "$(shot)" 96 240 408 84 86CF7A)" -lt 20 ] || fail "the green success icon shows although nothing was installed"
[ "$(cat "$drive_c/Blocked")" = "a file where a folder must be" ] || fail "the blocking file was changed"
stop_exe
