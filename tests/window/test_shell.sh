# The window: title, size, independent second copy, closing ends the process with 0.
source "$(dirname "$0")/harness.sh"

root="$(new_root)"
start_app "$root"
first_wid="$WID"; first_pid="$APP_PID"

xprop -id "$WID" WM_NAME | grep -q '"kv_installer"' || fail "window title is not kv_installer"
geometry="$(xdotool getwindowgeometry "$WID" | grep Geometry | awk '{print $2}')"
[ "$geometry" = "600x600" ] || fail "content area is $geometry, expected 600x600"
echo "ok: titled kv_installer, 600x600"

# Command-line arguments are ignored and a second copy runs on its own.
start_app "$root"
[ "$WID" != "$first_wid" ] || fail "second copy has no window of its own"
kill -0 "$first_pid" || fail "first copy ended when the second started"
echo "ok: second copy started independently"

close_app
[ "$APP_RC" = "0" ] || fail "second copy exited with $APP_RC"
kill -0 "$first_pid" || fail "closing the second copy ended the first"

WID="$first_wid"; APP_PID="$first_pid"
close_app
[ "$APP_RC" = "0" ] || fail "closing the window ended the process with $APP_RC"
echo "ok: closing the window ends the process with exit code 0"
