# Shared by the window tests: start the real app on a private sandbox root, find its
# window, drive it, read pixels of screenshots. Sourced, not run.
set -euo pipefail

: "${KV_APP:?KV_APP must name the kv_installer executable}"
source "$KV_SOURCE_DIR/scripts/virtual-display.sh"
start_virtual_display

work="$(mktemp -d -t kv_window.XXXXXX)"
app_pids=()

cleanup()
{
    for pid in "${app_pids[@]}"; do kill "$pid" 2> /dev/null || true; done
    for pid in "${app_pids[@]}"; do wait "$pid" 2> /dev/null || true; done
    chattr -R -i "$work" 2> /dev/null || true   # a test's immutable folders
    rm -rf "$work"
    [ -z "${KV_XVFB_PID:-}" ] || kill "$KV_XVFB_PID" 2> /dev/null || true
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# A sandbox root with the maker folder present, so the settings file gets written.
new_root()
{
    local root="$work/root$RANDOM"
    mkdir -p "$root/C/ProgramData/Korvane"
    echo "$root"
}

# start_app ROOT: starts the app, sets APP_PID and WID. The window is found by the process
# that owns it: X reuses window ids, so a window of an app that is just going away must
# never be taken for the new one.
start_app()
{
    "$KV_WINDOW_CLOSE" --intern
    KV_INSTALLER_ROOT="$1" "$KV_APP" > "$work/app.log" 2>&1 &
    APP_PID=$!
    app_pids+=("$APP_PID")

    # The window is made twice while it starts (once more for the native title bar), later
    # in a slow build: only a shown window that stays the same for a while is the one to drive.
    WID=""
    local seen="" steady=0
    for _ in $(seq 1 300); do
        seen="$(xdotool search --all --onlyvisible --pid "$APP_PID" --name '^kv_installer$' 2> /dev/null | tail -1 || true)"
        if [ -n "$seen" ] && [ "$seen" = "$WID" ]; then
            steady=$((steady + 1))
            [ "$steady" -ge 4 ] && break
        else
            steady=0
        fi
        WID="$seen"
        kill -0 "$APP_PID" 2> /dev/null || { tail -20 "$work/app.log"; fail "kv_installer ended before showing a window"; }
        sleep 0.2
    done
    [ -n "$WID" ] && [ "$steady" -ge 4 ] || fail "no kv_installer window appeared"
    sleep 0.2   # first paint
}

# close_app: asks the window to close, as the title bar's close button does, and waits;
# APP_RC is the exit code. Without a window manager a request that arrives while the X
# server is still tearing down another window can go unanswered, so it is repeated.
close_app()
{
    local _
    for _ in $(seq 1 20); do
        "$KV_WINDOW_CLOSE" "$WID" 2> /dev/null || true
        sleep 0.5
        kill -0 "$APP_PID" 2> /dev/null || break
    done
    APP_RC=0
    wait "$APP_PID" || APP_RC=$?
}

shot()
{
    local file="$work/shot$RANDOM.png"
    sleep 0.4
    import -window "$WID" "$file"
    echo "$file"
}

# keep_shot FILE NAME: a copy in $KV_WINDOW_SHOTS, when set, to look at after the run.
keep_shot()
{
    [ -z "${KV_WINDOW_SHOTS:-}" ] || { mkdir -p "$KV_WINDOW_SHOTS" && cp "$1" "$KV_WINDOW_SHOTS/$2.png"; }
}

# pixel FILE X Y -> RRGGBB
pixel()
{
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -1 | tr -d '#'
}

# expect_pixel FILE X Y RRGGBB WHAT: within a few steps per channel
expect_pixel()
{
    local got want="$4" i
    got="$(pixel "$1" "$2" "$3")"
    for i in 0 2 4; do
        local a=$((16#${got:$i:2})) b=$((16#${want:$i:2}))
        [ $(( a > b ? a - b : b - a )) -le 4 ] || fail "$5: pixel ($2,$3) is #$got, expected #$want"
    done
    echo "ok: $5 (#$got)"
}

# await_pixel X Y RRGGBB WHAT: takes screenshots until the pixel shows the colour, for a
# change that a slow build (the sanitizer build) paints later than one look; prints the shot.
await_pixel()
{
    local image got want="$3" i _
    for _ in $(seq 1 20); do
        image="$(shot)"
        got="$(pixel "$image" "$1" "$2")"
        local close=1
        for i in 0 2 4; do
            local a=$((16#${got:$i:2})) b=$((16#${want:$i:2}))
            [ $(( a > b ? a - b : b - a )) -le 4 ] || close=0
        done
        [ "$close" -eq 1 ] && break
    done
    expect_pixel "$image" "$1" "$2" "$want" "$4" >&2
    echo "$image"
}

# await_pass_end: takes screenshots until the window shows the success or the failure view
# (about 30 s at most, at any SIZE) and prints the last one: on a loaded machine a pass takes seconds.
await_pass_end()
{
    local image _
    for _ in $(seq 1 60); do
        image="$(shot)"
        [ "$(count_colour "$image" "$(px 16)" "$(px 40)" "$(px 68)" "$(px 14)" 86CF7A)" -gt $((300 * SIZE * SIZE / 360000)) ] && break
        [ "$(count_colour "$image" "$(px 4)" "$(px 28)" "$(px 92)" "$(px 20)" E08A2A)" -gt $((100 * SIZE * SIZE / 360000)) ] && break
    done
    echo "$image"
}

# await_gone PATH: waits (about 30 s at most) until nothing is at PATH.
await_gone()
{
    local _
    for _ in $(seq 1 150); do
        [ -e "$1" ] || return 0
        sleep 0.2
    done
}

# count_colour FILE X Y W H RRGGBB: pixels of (about) that colour in the rectangle
count_colour()
{
    convert "$1" -crop "$4x$5+$2+$3" +repage -fuzz 3% -fill black +opaque "#$6" -fill white -opaque "#$6" \
        -colorspace gray -format '%[fx:int(mean*w*h+0.5)]' info:
}

# resize_to SIZE: the window made SIZE x SIZE, as a drag of its frame can make it (128 at
# the smallest); px then scales units to it.
SIZE=600
resize_to()
{
    SIZE="$1"
    xdotool windowsize --sync "$WID" "$1" "$1" 2> /dev/null || xdotool windowsize "$WID" "$1" "$1"
    sleep 0.6
}

# px UNITS: a position in the screen's units (a hundredth of its width) in pixels at SIZE.
px() { awk -v u="$1" -v s="$SIZE" 'BEGIN { printf "%d", u * s / 100 + 0.5 }'; }

# ink_in FILE X Y W H: pixels in the rectangle that are not the background.
ink_in() { echo $(( $4 * $5 - $(count_colour "$1" "$2" "$3" "$4" "$5" 111111) )); }

# yellowish_in FILE X Y W H: pixels of the notes' yellow, however faint its smoothing at
# small sizes: red well above blue.
yellowish_in()
{
    convert "$1" -crop "$4x$5+$2+$3" +repage -fx 'r > b + 0.1 ? 1 : 0' -colorspace gray -format '%[fx:int(mean*w*h+0.5)]' info:
}

# help_ink FILE: the ink of the help line (4, 90, 92 x 3 units).
help_ink() { ink_in "$1" "$(px 4)" "$(px 90)" "$(px 92)" "$(px 3)"; }

click_at() { xdotool mousemove --window "$WID" "$1" "$2"; sleep 0.2; xdotool click 1; sleep 0.3; }
hover_at() { xdotool mousemove --window "$WID" "$1" "$2"; sleep 0.4; }

# expect_caption_follows_shift: holding Shift changes the INSTALL caption; releasing it
# brings the caption back exactly.
expect_caption_follows_shift()
{
    local before after released changed back
    before="$(shot)"
    xdotool keydown shift
    after="$(shot)"
    xdotool keyup shift
    released="$(shot)"

    changed="$(compare -metric AE -crop 90x22+500+500 "$before" "$after" null: 2>&1 || true)"
    [ "${changed%% *}" -gt 20 ] || fail "the INSTALL caption did not change while Shift was held ($changed)"
    back="$(compare -metric AE -crop 90x22+500+500 "$before" "$released" null: 2>&1 || true)"
    [ "${back%% *}" -eq 0 ] || fail "the caption did not come back after Shift was released ($back)"
    echo "ok: the INSTALL caption follows Shift"
}

# expect_each_panel_opens_and_closes: each of the four panel commands lays its panel over
# the main screen, its close affordance brightens on hover, and it brings the screen back.
expect_each_panel_opens_and_closes()
{
    local entry name x y image light dim bright
    for entry in "EULA 72 456" "SUPPORT 174 486" "SETTINGS 276 456" "CHANGES 276 486"; do
        read -r name x y <<< "$entry"

        click_at "$x" "$y"
        image="$(await_pixel 300 2 111111 "$name panel covers the header bar")"
        light="$(count_colour "$image" 24 10 500 100 F5F5F5)"
        [ "$light" -gt 50 ] || fail "$name panel shows no heading ($light light pixels)"
        dim="$(count_colour "$image" 538 19 28 28 AAA6A6)"

        hover_at 552 33
        bright="$(count_colour "$(shot)" 538 19 28 28 AAA6A6)"
        [ "$bright" -gt "$dim" ] || fail "$name close affordance does not brighten on hover ($dim -> $bright)"

        click_at 552 33
        hover_at 300 60
        await_pixel 300 2 0094D8 "$name closed: the main screen is back" > /dev/null
    done
}
