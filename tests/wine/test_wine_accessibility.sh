# The Windows build's accessibility tree under Wine: the real main window built by
# kv_accessibility_probe.exe (tests/wine/accessibility), every control's name, role, state and
# help text read in process from the handlers Windows' provider reads, after a pass and with a
# panel open, and the window's root through the UI Automation core API.
: "${KV_PROBE:?KV_PROBE must name kv_accessibility_probe.exe}"
source "$(dirname "$0")/wine_harness.sh"

# The probe stops by itself; a run that hangs is a failure, not a stalled suite.
if ! (cd "$work" && timeout 120 "$wine" "$KV_PROBE" > "$work/probe.log" 2>&1); then
    tr -d '\r' < "$work/probe.log"
    fail "the accessibility tree of the Windows build is not as a screen reader needs it"
fi
tr -d '\r' < "$work/probe.log" | grep -E '^(ok|all)'

# The real installer's window from another process, through the UI Automation core API, as a
# screen reader's client reads it.
start_exe
if ! (cd "$work" && timeout 120 "$wine" "$KV_PROBE" --uia > "$work/uia.log" 2>&1); then
    tr -d '\r' < "$work/uia.log"
    fail "UI Automation does not read the Windows build's window"
fi
stop_exe
tr -d '\r' < "$work/uia.log" | grep -E '^(ok|UI Automation)'
