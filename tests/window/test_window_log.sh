# The window started with /LOG and an argument it does not know: it opens as ever, logs what
# its pass did, exits with 0; and started with /UNINSTALL (as the Apps & Features entry starts
# it), INSTALL removes the installed format without Shift.
source "$(dirname "$0")/harness.sh"

real_app="$KV_APP"
wrapper="$work/with_arguments.sh"
log="$work/window.log"
root="$(new_root)"
vst3="$root/C/Program Files/Common Files/VST3"

with_arguments()
{
    printf '#!/bin/sh\nexec "%s" %s\n' "$real_app" "$*" > "$wrapper"
    chmod +x "$wrapper"
    KV_APP="$wrapper"
}

with_arguments "/LOG=$log" /NOSUCHSWITCH
start_app "$root"
click_at 159 210      # VST3 tile
click_at 546 471      # INSTALL
await_pass_end > /dev/null
close_app
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC with the window"
[ -f "$vst3/Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3" ] || fail "VST3 was not installed"
for line in "Window install." "Ignored the argument /NOSUCHSWITCH" "VST3: installed" "Detection key" "Result: success. Exit code 0."; do
    grep -qF -- "$line" "$log" || { cat "$log"; fail "the window's log lacks: $line"; }
done
grep -q 'VST3Installed"=dword:00000001' "$root/registry/HKEY_LOCAL_MACHINE/SOFTWARE/Korvane/Strandline2.reg" \
    || fail "the detection key does not say VST3 is installed"
echo "ok: the window's pass logged, the key written, exit code 0"

with_arguments /UNINSTALL
start_app "$root"
click_at 546 471      # INSTALL, no Shift
await_gone "$vst3/Strandline2.vst3"
[ ! -e "$vst3/Strandline2.vst3" ] || fail "/UNINSTALL: INSTALL did not remove the installed format"
close_app
[ ! -e "$root/registry/HKEY_LOCAL_MACHINE/SOFTWARE/Korvane/Strandline2.reg" ] || fail "the detection key outlived the last format"
echo "ok: /UNINSTALL opens the window ready to remove what is installed"

# The pointer is left where no later test's window has a button: the in-process window tests
# that follow on this display read the help line, which a pointer over INSTALL would set.
xdotool mousemove 0 0
