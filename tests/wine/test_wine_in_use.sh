# The Windows build under Wine replacing plug-ins as they are in the real world: held by a
# running host (a module kept loaded, a file open without delete sharing), marked read-only,
# hidden or system; a destination past 260 characters. Each case checks what the screen reports
# against what is on disk, and that nothing was handed to Windows to delete at the next restart.
source "$(dirname "$0")/wine_harness.sh"

win_common='C:\Program Files\Common Files'

helper="$work/host_helper.exe"
x86_64-w64-mingw32-gcc -municode -O1 -o "$helper" "$KV_SOURCE_DIR/tests/wine/host_helper.c" || fail "the host helper does not build"

# hold load|open WINDOWS_PATH NAME: a host process keeps the file; ends with release NAME.
holder_pids=()
hold()
{
    rm -f "$drive_c/$3.ready" "$drive_c/$3.stop"
    (cd "$work" && "$wine" "$helper" "$1" "$2" "C:\\$3.ready" "C:\\$3.stop" > "$work/$3.log" 2>&1) &
    holder_pids+=($!)
    for _ in $(seq 1 100); do
        [ -f "$drive_c/$3.ready" ] && return 0
        sleep 0.1
    done
    cat "$work/$3.log"; fail "the helper could not $1 $2"
}
release() { touch "$drive_c/$1.stop"; }
release_all()
{
    for f in "$drive_c"/*.ready; do [ -e "$f" ] && release "$(basename "$f" .ready)"; done
    for pid in "${holder_pids[@]}"; do wait "$pid" 2> /dev/null || true; done
    holder_pids=()
}

# The loadable items below a folder: what a host scanning it would find.
loadable() { find "$1" \( -iname '*.vst3' -o -iname '*.clap' -o -iname '*.aaxplugin' \) -printf '%P\n' | sort | tr '\n' ' '; }
pending_removals() { "$wine" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2> /dev/null | tr -d '\r' || true; }
keep_shot() { [ -z "${KV_WINE_SHOTS:-}" ] || { mkdir -p "$KV_WINE_SHOTS"; cp "$(shot)" "$KV_WINE_SHOTS/$1.png"; }; }

install_all()
{
    start_exe
    click_at 519 147      # SELECT ALL
    click_now 546 471     # INSTALL
    await_colour 96 240 408 84 86CF7A 300 "$1"
    stop_exe
}

# The new bundles, kept to compare with; then the modules aged to 2.2.0.0 as an old copy.
install_all "all three formats installed"
cp "$vst3_module" "$work/new.vst3"; cp "$clap_module" "$work/new.clap"; cp "$aax_module" "$work/new.aax"
"$KV_FIXTURE" module "$vst3_module" 2.2.0.0
"$KV_FIXTURE" module "$clap_module" 2.2.0.0
"$KV_FIXTURE" module "$aax_module" 2.2.0.0
cp "$clap_module" "$work/old.clap"
mkdir -p "$vst3/Other.vst3/Contents/x86_64-win"
echo "another maker's plug-in" > "$vst3/Other.vst3/Contents/x86_64-win/Other.vst3"

echo "== case 1: a host keeps the VST3 module loaded, another holds the CLAP file open"
hold load "$win_common\\VST3\\Strandline2.vst3\\Contents\\x86_64-win\\Strandline2.vst3" vst3
hold open "$win_common\\CLAP\\Strandline2.clap" clap
start_exe
click_now 546 471     # INSTALL (all three are pre-selected: their bundles exist)
await_colour 24 168 552 120 E08A2A 100 "CLAP held open: the failure view"
keep_shot case1
image="$(shot)"
[ "$(count_colour "$image" 96 240 408 84 86CF7A)" -lt 20 ] || fail "green success icon although CLAP was not installed"
stop_exe
cmp -s "$vst3_module" "$work/new.vst3" || fail "the new VST3 module is not in place"
cmp -s "$aax_module" "$work/new.aax" || fail "the new AAX module is not in place"
cmp -s "$clap_module" "$work/old.clap" || fail "the held CLAP file was changed"
[ "$(loadable "$vst3")" = "Other.vst3 Other.vst3/Contents/x86_64-win/Other.vst3 Strandline2.vst3 Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3 " ] \
    || fail "a second loadable copy in the VST3 folder: $(loadable "$vst3")"
[ "$(loadable "$clap")" = "Strandline2.clap " ] || fail "CLAP folder: $(loadable "$clap")"
ls "$vst3" | grep -q '^Strandline2.vst3.kv-removing' || fail "the old VST3 copy in use was not kept aside: $(ls "$vst3")"
# Wine's folders belong to the Unix user's account (owner S-1-5-21-0-0-0-1000, full access), not
# to SYSTEM or Administrators: anything scheduled could be swapped first, so nothing is.
! pending_removals | grep -q 'kv-removing' || fail "scheduled for removal at restart in folders the user owns: $(pending_removals)"
echo "ok: VST3 installed with its old copy hidden (left to the next start), CLAP kept, AAX installed"
echo "   VST3 folder: $(ls "$vst3" | tr '\n' ' ')"

echo "== case 2: uninstall while a host keeps the new VST3 module loaded"
release clap
hold load "$win_common\\VST3\\Strandline2.vst3\\Contents\\x86_64-win\\Strandline2.vst3" vst3new
start_exe
hover_at 546 471
xdotool keydown shift; sleep 0.4; CLICKED_AT="$(date +%s%N)"; xdotool click 1; sleep 0.4; xdotool keyup shift
await_colour 96 240 408 84 86CF7A 300 "uninstall: the success view"
keep_shot case2
yellow="$(count_colour "$(shot)" 24 168 552 60 D3C55F)"
[ "$yellow" -gt 100 ] || fail "the success view does not tell that files are still in use ($yellow)"
echo "ok: the success view tells what is still in use ($yellow pixels of text)"
stop_exe
[ ! -e "$vst3/Strandline2.vst3" ] && [ ! -e "$clap_module" ] && [ ! -e "$aax/Strandline2.aaxplugin" ] || fail "a bundle was not removed"
[ "$(loadable "$vst3")" = "Other.vst3 Other.vst3/Contents/x86_64-win/Other.vst3 " ] || fail "loadable copies left: $(loadable "$vst3")"
echo "ok: every bundle removed, nothing loadable left behind"

echo "== case 3: the holds end; the next start clears every leftover and installs cleanly"
release_all
install_all "clean pass after the holds ended"
[ "$(ls -A "$vst3" | tr '\n' ' ')" = "Other.vst3 Strandline2.vst3 " ] || fail "leftovers in the VST3 folder: $(ls -A "$vst3")"
[ "$(ls -A "$clap" | tr '\n' ' ')" = "Strandline2.clap " ] || fail "leftovers in the CLAP folder: $(ls -A "$clap")"
echo "ok: only the bundles remain"

echo "== case 4: read-only, hidden and system attributes inside the bundles"
"$KV_FIXTURE" module "$vst3_module" 2.2.0.0
attributes() { (cd "$work" && "$wine" "$helper" attrib "$@" 2> /dev/null | tr -d '\r'); }
# protect PATH RHS; for a folder, Wine 8 keeps no read-only attribute (Windows does).
protect()
{
    local got
    got="$(attributes "$1" "$2")"
    [ "$got" = "$2" ] || [ "${3:-}" = folder ] || fail "could not mark $1 $2 (it is '$got')"
    echo "   $1: ${got:-no attributes kept}"
}
protect "$win_common\\VST3\\Strandline2.vst3\\desktop.ini" RHS
protect "$win_common\\VST3\\Strandline2.vst3" R folder
protect "$win_common\\VST3\\Strandline2.vst3\\Contents\\x86_64-win\\Strandline2.vst3" R
protect "$win_common\\CLAP\\Strandline2.clap" R
protect "$win_common\\Avid\\Audio\\Plug-Ins\\Strandline2.aaxplugin\\desktop.ini" RHS
protect "$win_common\\VST3\\Other.vst3" R folder
other_folder="$(attributes "$win_common\\VST3\\Other.vst3")"
protect "$win_common\\VST3\\Other.vst3\\Contents\\x86_64-win\\Other.vst3" RH
start_exe
click_now 546 471
await_colour 96 240 408 84 86CF7A 300 "read-only items: the success view"
keep_shot case4
yellow="$(count_colour "$(shot)" 24 168 552 60 D3C55F)"
[ "$yellow" -lt 20 ] || fail "a clean replacement reports copies in use ($yellow)"
stop_exe
cmp -s "$vst3_module" "$work/new.vst3" || fail "the VST3 module was not replaced"
[ "$(ls -A "$vst3" | tr '\n' ' ')" = "Other.vst3 Strandline2.vst3 " ] || fail "leftovers in the VST3 folder: $(ls -A "$vst3")"
[ "$(ls -A "$clap" | tr '\n' ' ')" = "Strandline2.clap " ] || fail "leftovers in the CLAP folder: $(ls -A "$clap")"
[ "$(attributes "$win_common\\VST3\\Other.vst3")" = "$other_folder" ] && [ "$(attributes "$win_common\\VST3\\Other.vst3\\Contents\\x86_64-win\\Other.vst3")" = RH ] \
    || fail "another plug-in's attributes were changed"
echo "ok: protected items replaced without leftovers; another plug-in's attributes untouched"

echo "== case 5: a destination whose staging names pass 260 characters"
release_all
deep_win='C:\Deep'
for i in 1 2 3 4 5 6 7; do deep_win="$deep_win\\a folder with a rather long name, number $i"; done
deep="$drive_c/${deep_win#C:\\}"; deep="${deep//\\//}"
staging_name="$deep_win\\Strandline2.vst3.kv-staging\\Strandline2.vst3.kv-inert\\Contents\\x86_64-win\\Strandline2.vst3.kv-inert"
[ "${#staging_name}" -gt 300 ] || fail "the deep destination is too short (${#staging_name})"
printf '<?xml version="1.0" encoding="UTF-8"?>\r\n\r\n<Plugin_Manager_Settings VST3_Path="%s" CLAP_Path="C:\\CLAP" AAX_Path="C:\\AAX"/>\r\n' \
    "$deep_win" > "$settings"
start_exe
click_at 159 210      # VST3 tile
click_now 546 471     # INSTALL
await_colour 96 240 408 84 86CF7A 300 "a destination past 260 characters: the success view"
stop_exe
cmp -s "$deep/Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3" "$work/new.vst3" || fail "the deep VST3 module is not in place"
[ "$(ls -A "$deep" | tr '\n' ' ')" = "Strandline2.vst3 " ] || fail "leftovers in the deep folder: $(ls -A "$deep")"
# The tile reads the bundle and its version past 260 characters too, whatever the long-path policy.
start_exe
hover_at 300 60
expect_pixel "$(shot)" 285 210 0287C4 "a destination past 260 characters: VST3 tile installed (v2.3.0.0)"
stop_exe
"$KV_FIXTURE" module "$deep/Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3" 2.2.0.0
start_exe
hover_at 300 60
expect_pixel "$(shot)" 285 210 CC7E27 "a destination past 260 characters: VST3 tile needs update (v2.2.0.0)"
stop_exe
mkdir -p "$deep/Strandline2.vst3.kv-removing/Contents/x86_64-win"
echo garbage > "$deep/Strandline2.vst3.kv-removing/Contents/x86_64-win/Strandline2.vst3.kv-inert"
start_exe             # recovery at start; VST3 is pre-selected, being installed
hover_at 546 471
xdotool keydown shift; sleep 0.4; CLICKED_AT="$(date +%s%N)"; xdotool click 1; sleep 0.4; xdotool keyup shift
await_colour 96 240 408 84 86CF7A 300 "a destination past 260 characters: uninstalled"
stop_exe
[ -z "$(ls -A "$deep")" ] || fail "the deep folder still holds: $(ls -A "$deep")"
echo "ok: installed, recovered and uninstalled past 260 characters"

echo "== case 6: another installer holds the lock"
# Wine has no private namespaces: the installers meet at the Global name, as two sessions would.
printf '<?xml version="1.0" encoding="UTF-8"?>\r\n\r\n<Plugin_Manager_Settings VST3_Path="%s" CLAP_Path="C:\\CLAP" AAX_Path="C:\\AAX"/>\r\n' \
    "$win_common\\VST3" > "$settings"
hold mutex 'Global\Korvane_kv_installer_Strandline2' lock
start_exe
click_now 546 471     # INSTALL (VST3 is pre-selected)
await_colour 24 168 552 120 E08A2A 150 "another installer holds the lock: the failure view"
keep_shot case6
stop_exe
cmp -s "$vst3_module" "$work/new.vst3" || fail "the VST3 bundle was changed while another installer held the lock"
release_all
echo "ok: while another installer holds the lock nothing is touched, and the screen says so"

echo "== case 7: a read-only file in the old copy that has another name outside it"
# Attributes belong to the file, not the name: the other name must keep its read-only mark.
echo "shared" > "$drive_c/shared.txt"
ln "$drive_c/shared.txt" "$vst3/Strandline2.vst3/linked.txt"
protect 'C:\shared.txt' R
start_exe
click_now 546 471     # INSTALL (VST3 is pre-selected)
await_colour 96 240 408 84 86CF7A 300 "a hard-linked read-only file in the old copy: the success view"
keep_shot case7
stop_exe
[ "$(attributes 'C:\shared.txt')" = R ] || fail "the file's other name lost its read-only mark: '$(attributes 'C:\shared.txt')'"
[ "$(cat "$drive_c/shared.txt")" = shared ] || fail "the file's other name was changed"
[ ! -e "$vst3/Strandline2.vst3/linked.txt" ] || fail "the new copy holds the old copy's file"
echo "ok: the new copy is in place; the file's other name keeps its attributes"
