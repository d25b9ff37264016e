# Installing through the window: files on disk, the success view, the installed tile on
# the next start, and Shift-click removing the bundle again.
source "$(dirname "$0")/harness.sh"

root="$(new_root)"
vst3="$root/C/Program Files/Common Files/VST3"
start_app "$root"

click_at 159 210      # VST3 tile
click_at 546 471      # INSTALL
image="$(await_pass_end)"

[ -f "$vst3/Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3" ] || fail "the VST3 module was not installed"
[ -f "$vst3/Strandline2.vst3/Contents/Resources/moduleinfo.json" ] || fail "moduleinfo.json missing"
[ -f "$vst3/Strandline2.vst3/desktop.ini" ] || fail "desktop.ini missing"
[ "$(ls -A "$vst3")" = "Strandline2.vst3" ] || fail "something besides the bundle was left: $(ls -A "$vst3")"
echo "ok: the archive layout is on disk"

green="$(count_colour "$image" 96 240 408 84 86CF7A)"
[ "$green" -gt 300 ] || fail "no green install icon in the success view ($green)"
expect_pixel "$image" 285 210 111111 "tiles are gone"
echo "ok: success view"
close_app

start_app "$root"
hover_at 300 60
expect_pixel "$(shot)" 285 210 0287C4 "VST3 tile installed (blue at 0.9)"

hover_at 546 471
xdotool keydown shift
sleep 0.3
xdotool click 1
sleep 0.3
xdotool keyup shift
await_gone "$vst3/Strandline2.vst3"
[ ! -e "$vst3/Strandline2.vst3" ] || fail "Shift-click on INSTALL did not remove the bundle"
[ -d "$vst3" ] || fail "the destination folder itself was removed"
echo "ok: Shift-click removed the bundle and kept the folder"
