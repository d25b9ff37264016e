# Each of the four panel commands lays its panel over the main screen, and the panel's
# close affordance brings the main screen back.
source "$(dirname "$0")/harness.sh"

start_app "$(new_root)"

expect_each_panel_opens_and_closes
