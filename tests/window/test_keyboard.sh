# The keyboard alone in the real window: the focus mark appears with Tab and goes with a
# mouse click, VST3 is installed with key presses only, and Shift uninstalls from the
# keyboard only when it goes down on INSTALL.
source "$(dirname "$0")/harness.sh"

root="$(new_root)"
vst3="$root/C/Program Files/Common Files/VST3"
start_app "$root"
xdotool windowfocus --sync "$WID" 2> /dev/null || xdotool windowfocus "$WID"
hover_at 300 60

# The mark is a ring in the palette's text colour around SELECT ALL (462,132 114x30).
ring() { count_colour "$1" 452 122 134 50 F5F5F5; }
before="$(ring "$(shot)")"
xdotool key Tab
marked="$(ring "$(shot)")"
[ "$marked" -gt $((before + 150)) ] || fail "no focus mark after Tab ($before -> $marked light pixels)"
echo "ok: Tab shows the focus mark on SELECT ALL ($marked light pixels, $before before)"

click_at 300 60
cleared="$(ring "$(shot)")"
[ "$cleared" -le $((before + 10)) ] || fail "the focus mark stayed after a mouse click ($cleared)"
echo "ok: a mouse click takes the mark away"

# Key by key, as a person types: the mark follows the focus from SELECT ALL to the VST3 tile.
tile_ring() { count_colour "$1" 14 170 290 80 F5F5F5; }
xdotool key Tab
sleep 0.5
xdotool key Tab
image="$(shot)"
[ "$(tile_ring "$image")" -gt 150 ] || fail "the focus mark did not move to the VST3 tile ($(tile_ring "$image"))"
[ "$(ring "$image")" -le $((before + 10)) ] || fail "the focus mark stayed on SELECT ALL ($(ring "$image"))"
echo "ok: the mark follows the focus to the VST3 tile"

# Select VST3 with space, Shift+Tab round to INSTALL, Return.
# Each key is given time: on a loaded machine the window takes a moment to move its focus.
xdotool key space
sleep 0.6
xdotool key --delay 250 shift+Tab shift+Tab Return
image="$(await_pass_end)"
[ -f "$vst3/Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3" ] || fail "the VST3 module was not installed from the keyboard"
[ ! -e "$root/C/Program Files/Common Files/CLAP/Strandline2.clap" ] || fail "CLAP was installed although only VST3 was selected"
green="$(count_colour "$image" 96 240 408 84 86CF7A)"
[ "$green" -gt 300 ] || fail "no success view after installing from the keyboard ($green)"
echo "ok: VST3 installed with key presses only"
close_app

# return_on_install_with_shift held|fresh: a fresh start, Tab to the first control, then to
# INSTALL with Shift held since the Shift+Tab ("held") or pressed anew on INSTALL ("fresh"),
# and Return while Shift is still down.
return_on_install_with_shift()
{
    start_app "$root"
    xdotool windowfocus --sync "$WID" 2> /dev/null || xdotool windowfocus "$WID"
    hover_at 300 60
    xdotool key Tab
    sleep 0.3
    # Pauses long enough for the sanitizer build to have moved the focus before the next key.
    if [ "$1" = held ]; then
        xdotool keydown shift
        sleep 0.8
        xdotool key Tab
    else
        xdotool key shift+Tab
        sleep 0.8
        xdotool keydown shift
    fi
    sleep 0.8
    xdotool key Return
    image="$(await_pass_end)"
    xdotool keyup shift
}

# A Shift still held from the Shift+Tab that reached INSTALL is a move: Return installs,
# and the installed (so pre-selected) VST3 is not removed.
return_on_install_with_shift held
[ -f "$vst3/Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3" ] || fail "Return with Shift held from Shift+Tab uninstalled VST3"
green="$(count_colour "$image" 96 240 408 84 86CF7A)"
[ "$green" -gt 300 ] || fail "no success view after Return on INSTALL reached by Shift+Tab ($green)"
echo "ok: Shift held from Shift+Tab onto INSTALL, then Return, installs"
close_app

# Shift pressed anew while INSTALL has the focus is the command: Return uninstalls.
return_on_install_with_shift fresh
[ ! -e "$vst3/Strandline2.vst3" ] || fail "Shift pressed on INSTALL, then Return, did not uninstall VST3"
echo "ok: Shift pressed on INSTALL, then Return, uninstalls"
close_app

# The help line follows the keyboard as it follows the pointer, and a key press on a button
# keeps it, at the smallest window and at 600 px.
for size in 128 600; do
    start_app "$(new_root)"
    xdotool windowfocus --sync "$WID" 2> /dev/null || xdotool windowfocus "$WID"
    resize_to "$size"
    hover_at "$(px 50)" "$(px 10)"
    xdotool key Tab
    sleep 0.4
    [ "$(help_ink "$(shot)")" -eq 0 ] || fail "$size px: SELECT ALL has no help, yet the line is not empty"
    xdotool key Tab
    focused="$(shot)"
    keep_shot "$focused" "keyboard-help-vst3-$size"
    ink="$(help_ink "$focused")"
    [ "$ink" -gt 0 ] || fail "$size px: Tab to the VST3 tile shows no help line"
    xdotool key space
    pressed="$(shot)"
    [ "$(help_ink "$pressed")" -eq "$ink" ] || fail "$size px: space on the VST3 tile changed the help line ($ink -> $(help_ink "$pressed"))"
    xdotool key shift+Tab
    sleep 0.3
    xdotool key shift+Tab
    install="$(shot)"
    keep_shot "$install" "keyboard-help-install-$size"
    [ "$(help_ink "$install")" -gt "$ink" ] || fail "$size px: Shift+Tab to INSTALL does not show its longer help ($(help_ink "$install"))"
    echo "ok: $size px: the help line follows Tab and stays through a key press"
    close_app
done
