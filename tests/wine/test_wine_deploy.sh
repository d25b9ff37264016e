# The Windows build under Wine as a deployment engine starts it: unattended install, upgrade,
# downgrade refusal, a bad parameter and uninstall through the entry's quiet uninstall string.
# Each run's full exit code is read through cmd's start /wait and %errorlevel% (Wine's own
# exit status keeps 8 bits); no window may appear; the log, both registry keys and Wine's
# list of installed programs must tell the truth about what is on disk.
source "$(dirname "$0")/wine_harness.sh"

kept_folder="$drive_c/Program Files/Korvane/Strandline2 Installer"
detection='HKLM\SOFTWARE\Korvane\Strandline2'
entry='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Korvane.Strandline2'
log="$drive_c/deploy.log"
cp "$KV_EXE" "$drive_c/kv_installer.exe"

# engine COMMAND_LINE: runs it as an engine does, from a batch file that starts the program,
# waits, and prints its exit code, watching the screen for any window of it; sets CODE. The
# log is started afresh for each run.
engine()
{
    printf '@echo off\r\nstart "" /wait %s\r\necho EXIT=%%errorlevel%%\r\n' "$1" > "$drive_c/engine.bat"
    rm -f "$log" "$work/windows_seen" "$work/engine_done"
    ( while [ ! -e "$work/engine_done" ] && [ -d "$work" ]; do
          xdotool search --name '^kv_installer$' >> "$work/windows_seen" 2> /dev/null || true
          sleep 0.1
      done ) &
    local watcher=$!
    local out
    out="$(cd "$work" && { "$wine" cmd /c 'C:\engine.bat' 2> /dev/null || true; } | tr -d '\r')"
    touch "$work/engine_done"; wait "$watcher" || true; rm -f "$work/engine_done"
    CODE="$(echo "$out" | sed -n 's/^EXIT=//p' | tail -1)"
    [ -n "$CODE" ] || fail "no exit code from: $* ($out)"
    [ ! -s "$work/windows_seen" ] || fail "a window appeared during: $*"
}

expect_code() { [ "$CODE" = "$1" ] || { cat "$log" 2> /dev/null | tail -20; fail "$2: exit code $CODE, expected $1"; }; echo "ok: $2 (exit code $CODE)"; }
logged() { grep -qF -- "$1" "$log" 2> /dev/null || { cat "$log" 2> /dev/null || true; fail "the log lacks: $1"; }; }
reg_value() { { "$wine" reg query "$1" /v "$2" /reg:64 2> /dev/null || true; } | tr -d '\r' | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^  */, ""); print }'; }
expect_reg() { local got; got="$(reg_value "$1" "$2")"; [ "$got" = "$3" ] || { tail -5 "$log" 2> /dev/null || true; "$wine" reg query "$1" /reg:64 2>&1 | tr -d '\r' || true; fail "$1 $2 is '$got', expected '$3'"; }; }
no_key() { ! "$wine" reg query "$1" /reg:64 > /dev/null 2>&1 || fail "$1 is still there"; }

quiet='/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /LOG="C:\deploy.log"'

# Install every format.
engine "C:\\kv_installer.exe $quiet"
expect_code 0 "unattended install"
for item in "$vst3_module" "$clap_module" "$aax_module"; do [ -f "$item" ] || fail "missing $item"; done
logged "Unattended install."
logged "elevated"
logged "AAX: installed \"C:\\Program Files\\Common Files\\Avid\\Audio\\Plug-Ins\\Strandline2.aaxplugin\""
logged "Result: success. Exit code 0."
head -1 "$log" | grep -qE '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}' || fail "log lines do not start with the time"
expect_reg "$detection" VST3Installed 0x1
expect_reg "$detection" CLAPVersion 2.3.0.0
expect_reg "$detection" AAXPath 'C:\Program Files\Common Files\Avid\Audio\Plug-Ins\Strandline2.aaxplugin'
expect_reg "$entry" DisplayName Strandline2
expect_reg "$entry" Publisher Korvane
expect_reg "$entry" NoRepair 0x1
[ -f "$kept_folder/Strandline2 Uninstall.exe" ] || fail "no kept installer"
"$wine" uninstaller --list 2> /dev/null | tr -d '\r' | grep -q 'Strandline2' || fail "Wine's uninstaller does not list the entry"
echo "ok: keys, entry, kept copy and Wine's list of programs"

# Upgrade: an older copy in every format is replaced.
for item in "$vst3_module" "$clap_module" "$aax_module"; do "$KV_FIXTURE" module "$item" 2.2.0.0; done
engine "C:\\kv_installer.exe $quiet"
expect_code 0 "unattended upgrade"
logged "VST3: found \"C:\\Program Files\\Common Files\\VST3\\Strandline2.vst3\", version 2.2.0.0."
expect_reg "$detection" VST3Version 2.3.0.0

# Downgrade refusal: a newer VST3 stays; the others are installed; the code says so.
"$KV_FIXTURE" module "$vst3_module" 9.0.0.0
engine "C:\\kv_installer.exe $quiet"
expect_code 1638 "newer VST3 kept"
logged "VST3: the installed version 9.0.0.0 is newer than 2.3.0, so it was kept"
expect_reg "$detection" VST3Version 9.0.0.0
expect_reg "$detection" Version 9.0.0.0
engine "C:\\kv_installer.exe $quiet /ALLOWDOWNGRADE /COMPONENTS=vst3"
expect_code 0 "downgrade allowed"
expect_reg "$detection" VST3Version 2.3.0.0

# A typo ends the run untouched.
engine "C:\\kv_installer.exe $quiet /COMPONENTS=vst4"
expect_code 87 "invalid parameter"
logged "Invalid parameter /COMPONENTS=vst4"

# Uninstall as the entry's quiet uninstall string says, run as it is written.
uninstall="$(reg_value "$entry" QuietUninstallString)"
[ -n "$uninstall" ] || fail "no QuietUninstallString"
engine "$uninstall /LOG=\"C:\\deploy.log\""
expect_code 0 "quiet uninstall from the entry"
for item in "$vst3/Strandline2.vst3" "$clap_module" "$aax/Strandline2.aaxplugin"; do [ ! -e "$item" ] || fail "still there: $item"; done
logged "Unattended uninstall."
no_key "$detection"
no_key "$entry"
! "$wine" uninstaller --list 2> /dev/null | tr -d '\r' | grep -q 'Strandline2' || fail "Wine still lists the entry"
for _ in $(seq 1 40); do [ -e "$kept_folder" ] || break; sleep 0.5; done
[ ! -e "$kept_folder" ] || fail "the kept installer did not remove itself"
echo "ok: entry, keys, bundles and the kept installer gone"
echo "PASS: deployment under Wine"
