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
close_app

# A copy newer than the one carried, at the smallest window and at 600 px: it starts
# unselected (no yellow outline) though installed; selected deliberately, INSTALL puts the
# carried version in its place and the success view says so above its icon.
tile_outline() { yellowish_in "$1" "$(px 3.5)" "$(px 29.5)" "$(px 46)" "$(px 11)"; }
for size in 128 600; do
    root="$(new_root)"
    module="$root/C/Program Files/Common Files/VST3/Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3"
    mkdir -p "$(dirname "$module")"
    "$KV_FIXTURE" module "$module" 3.0.0.0
    start_app "$root"
    resize_to "$size"
    hover_at "$(px 50)" "$(px 10)"
    image="$(shot)"
    keep_shot "$image" "newer-at-start-$size"
    [ "$(tile_outline "$image")" -eq 0 ] || fail "$size px: the newer VST3 copy is pre-selected"
    expect_pixel "$image" "$(px 47.5)" "$(px 35)" 0287C4 "$size px: the newer copy's tile reads as installed"

    hover_at "$(px 25)" "$(px 35)"
    [ "$(help_ink "$(shot)")" -gt 0 ] || fail "$size px: no help line over the newer copy's tile"
    click_at "$(px 25)" "$(px 35)"
    [ "$(tile_outline "$(shot)")" -gt 0 ] || fail "$size px: a click did not select the newer copy"
    click_at "$(px 91)" "$(px 78.5)"
    image="$(await_pass_end)"
    keep_shot "$image" "newer-replaced-$size"
    [ "$("$KV_PEVERSION" "$module" | cut -f1)" = "2.3.0.0" ] || fail "$size px: the carried version was not installed"
    [ "$(yellowish_in "$image" "$(px 6)" "$(px 29)" "$(px 88)" "$(px 12)")" -gt 0 ] || fail "$size px: the success view does not say a newer copy was replaced"
    echo "ok: $size px: a newer copy is not pre-selected and, selected, is replaced with the outcome saying so"
    close_app
done
