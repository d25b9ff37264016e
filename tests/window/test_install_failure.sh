# A destination that cannot be created: the window must not say SUCCESS!.
source "$(dirname "$0")/harness.sh"

root="$(new_root)"
mkdir -p "$root/D"
echo "a file where a folder must be" > "$root/D/Blocked"
cat > "$root/C/ProgramData/Korvane/PluginManagerSettings.txt" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<Plugin_Manager_Settings VST3_Path="D:\Blocked\VST3" CLAP_Path="D:\CLAP" AAX_Path="D:\AAX"/>
XML

start_app "$root"
click_at 159 210      # VST3 tile
click_at 546 471      # INSTALL
image="$(await_pass_end)"

green="$(count_colour "$image" 96 240 408 84 86CF7A)"
[ "$green" -lt 20 ] || fail "the green success icon is shown although nothing was installed ($green)"
orange="$(count_colour "$image" 24 168 552 120 E08A2A)"
[ "$orange" -gt 100 ] || fail "no failure warning is shown ($orange)"
[ "$(cat "$root/D/Blocked")" = "a file where a folder must be" ] || fail "the blocking file was changed"
echo "ok: a failed install shows the failure view, not SUCCESS!"
