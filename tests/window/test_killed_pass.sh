# The real program killed (SIGKILL) at random moments of a pass, many rounds: afterwards
# each bundle path holds the whole old or the whole new bundle, and the next start with one
# more pass leaves nothing but the bundles.
source "$(dirname "$0")/harness.sh"

rounds="${KV_KILL_ROUNDS:-12}"
formats=("VST3/Strandline2.vst3" "CLAP/Strandline2.clap" "Avid/Audio/Plug-Ins/Strandline2.aaxplugin")
common="C/Program Files/Common Files"

# The new bundles, installed once through the window, and an old copy of each beside them.
reference="$(new_root)"
start_app "$reference"
click_at 519 147      # SELECT ALL
click_at 546 471      # INSTALL
await_pass_end > /dev/null
close_app
mkdir -p "$work/new" "$work/old"
for f in "${formats[@]}"; do
    [ -e "$reference/$common/$f" ] || fail "reference install of $f missing"
    cp -a "$reference/$common/$f" "$work/new/$(basename "$f")"
    cp -a "$reference/$common/$f" "$work/old/$(basename "$f")"
done
echo "old module" > "$work/old/Strandline2.clap"
for b in Strandline2.vst3 Strandline2.aaxplugin; do
    find "$work/old/$b" -type f -name "$b" -exec sh -c 'echo "old module" > "$1"' _ {} \;
    echo "only in the old copy" > "$work/old/$b/old-marker.txt"
done

same_tree() { diff -r --no-dereference "$1" "$2" > /dev/null 2>&1; }

pass_ms=0
for round in $(seq 1 "$rounds"); do
    root="$(new_root)"
    for f in "${formats[@]}"; do
        mkdir -p "$(dirname "$root/$common/$f")"
        cp -a "$work/old/$(basename "$f")" "$root/$common/$f"
    done

    start_app "$root"
    hover_at 546 471
    delay="$(( RANDOM % 500 ))"
    xdotool click 1          # INSTALL: every format is pre-selected, its bundle exists
    sleep "$(printf '0.%03d' "$delay")"
    kill -KILL "$APP_PID" 2> /dev/null || true
    wait "$APP_PID" 2> /dev/null || true

    killed_in="$(ls "$root/$common/VST3" "$root/$common/CLAP" "$root/$common/Avid/Audio/Plug-Ins" | grep -c '\.kv-' || true)"
    start_app "$root"        # recovery runs before the window shows
    for f in "${formats[@]}"; do
        b="$(basename "$f")"
        same_tree "$root/$common/$f" "$work/old/$b" || same_tree "$root/$common/$f" "$work/new/$b" \
            || fail "round $round (killed ${delay} ms after the click): $f is neither the whole old nor the whole new bundle"
    done

    click_at 519 147
    click_at 546 471
    await_pass_end > /dev/null
    close_app
    for f in "${formats[@]}"; do
        [ "$(ls -A "$(dirname "$root/$common/$f")")" = "$(basename "$f")" ] \
            || fail "round $round: leftovers beside $f after a clean pass: $(ls -A "$(dirname "$root/$common/$f")")"
        same_tree "$root/$common/$f" "$work/new/$(basename "$f")" || fail "round $round: $f not the new bundle after a clean pass"
    done
    echo "ok: round $round, killed ${delay} ms after the click ($killed_in leftovers at the kill): whole bundles, nothing left"
done
