# Sourced by the scripts: starts a private Xvfb display when none is there (or when asked),
# and stops it when the calling script exits.

start_virtual_display()
{
    if [ -n "${DISPLAY:-}" ] && [ -z "${KV_FORCE_XVFB:-}" ]; then
        return 0
    fi

    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done

    # -noreset: atoms created for the app (see tests/window) must outlive their creator.
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset > /dev/null 2>&1 &
    KV_XVFB_PID=$!
    trap 'kill "$KV_XVFB_PID" 2>/dev/null || true' EXIT

    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
        xdpyinfo > /dev/null 2>&1 && return 0
        sleep 0.1
    done

    echo "Xvfb did not start on :$n" >&2
    return 1
}
