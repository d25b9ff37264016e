# The main screen as painted in the real window: header, tiles at rest and hovered,
# the INSTALL caption while Shift is held.
source "$(dirname "$0")/harness.sh"

start_app "$(new_root)"
hover_at 300 60
image="$(shot)"

expect_pixel "$image" 300 2 0094D8 "blue header bar"
expect_pixel "$image" 300 20 111111 "background"
expect_pixel "$image" 285 210 464545 "VST3 tile at rest (not installed)"
expect_pixel "$image" 30 456 5E5C5C "EULA face at rest"

hover_at 285 210
expect_pixel "$(shot)" 285 210 5E5C5C "VST3 tile hovered"

hover_at 100 456
expect_pixel "$(shot)" 30 456 848181 "EULA face hovered"

expect_caption_follows_shift

# Pressed and dragged off with the mouse button held, EULA keeps its pressed face until the
# release; released off the button, nothing opens.
hover_at 100 456
xdotool mousedown 1
sleep 0.2
xdotool mousemove --window "$WID" 300 60
image="$(shot)"
xdotool mouseup 1
expect_pixel "$image" 30 456 86CF7A "EULA face pressed, pointer dragged off"
image="$(shot)"
expect_pixel "$image" 30 456 5E5C5C "EULA face at rest after the release off it"
expect_pixel "$image" 300 2 0094D8 "no panel opened by a release off the button"
