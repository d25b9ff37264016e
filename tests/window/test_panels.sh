# Each of the four panel commands lays its panel over the main screen, and the panel's
# close affordance brings the main screen back.
source "$(dirname "$0")/harness.sh"

start_app "$(new_root)"

for entry in "EULA 72 456" "SUPPORT 174 486" "SETTINGS 276 456" "CHANGES 276 486"; do
    read -r name x y <<< "$entry"

    click_at "$x" "$y"
    image="$(shot)"
    expect_pixel "$image" 300 2 111111 "$name panel covers the header bar"
    light="$(count_colour "$image" 24 10 500 100 F5F5F5)"
    [ "$light" -gt 50 ] || fail "$name panel shows no heading ($light light pixels)"
    dim="$(count_colour "$image" 538 19 28 28 AAA6A6)"

    hover_at 552 33
    bright="$(count_colour "$(shot)" 538 19 28 28 AAA6A6)"
    [ "$bright" -gt "$dim" ] || fail "$name close affordance does not brighten on hover ($dim -> $bright)"

    click_at 552 33
    hover_at 300 60
    expect_pixel "$(shot)" 300 2 0094D8 "$name closed: the main screen is back"
done
