#!/bin/sh
# A user's first session (../editing/first_session.vls) in the real window on a virtual X display,
# the mouse and keys driven by xdotool: run under xvfb-run with -fbdir WORK, so that the X
# server's screen is the file WORK/Xvfb_screen0. After each main step the screen is polled until
# the window shows what the headless session's golden shows; the screens are kept in WORK as
# step-N.png. Up to the plan the
# window must show the headless goldens; afterwards its pictures are kept to look at. The saved file must hold what the headless session saved.
# sh FirstSessionUnderXvfb.sh VELMORA SCRIPTTEST EDITING_DIR WORK
set -u
velmora=$1 scripttest=$2 editing=$3 work=$4
cd "$work" || exit 1
"$velmora" --size 1024x768 >velmora.log 2>&1 &
pid=$!
fail() { echo "$*" >&2; kill "$pid" 2>/dev/null; exit 1; }

# Polls the screen until the window (its frame at 63, 21) shows the golden, for up to two minutes.
step=0
expect_window() {
  step=$((step + 1))
  tries=0
  while :; do
    if "$scripttest" grab Xvfb_screen0 63 21 689 572 "step-$step.png" 2>/dev/null &&
       "$scripttest" compare "step-$step.png" "$editing/golden/$1" 400 >/dev/null 2>&1; then
      return 0
    fi
    tries=$((tries + 1))
    [ "$tries" -ge 300 ] && fail "step $step: the window never showed $1 (see $work/step-$step.png)"
    kill -0 "$pid" 2>/dev/null || fail "step $step: velmora ended early"
    sleep 0.2
  done
}
# Polls the screen until it changed from the previous step's, then keeps it as step-N.png: where
# the real window's view depends on how the mouse got where it is, the headless golden is not
# the measure.
shot() {
  step=$((step + 1))
  tries=0
  while "$scripttest" grab Xvfb_screen0 63 21 689 572 "step-$step.png" 2>/dev/null &&
        "$scripttest" compare "step-$step.png" "step-$((step - 1)).png" 400 >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -ge 300 ] && fail "step $step: the window did not change"
    sleep 0.2
  done
  sleep 1
  "$scripttest" grab Xvfb_screen0 63 21 689 572 "step-$step.png" || fail "step $step: no picture"
}
click() { xdotool mousemove --sync "$1" "$2" click 1; }
drag() { xdotool mousemove --sync "$1" "$2" mousedown 1 mousemove --sync "$3" "$4" sleep 0.3 mouseup 1; }
# A menu item, as a user picks it: press on the title, move onto the item, let go.
menu() { drag "$1" 9 "$(($1 + 20))" "$2"; }

timeout 120 xdotool search --sync --name '^Velmora$' >/dev/null || fail "no window came"
"$scripttest" grab Xvfb_screen0 0 0 1024 768 step-0.png >/dev/null 2>&1
tries=0
until "$scripttest" grab Xvfb_screen0 0 0 1024 768 step-0.png 2>/dev/null &&
      "$scripttest" compare step-0.png "$editing/../shell/golden/first-pass.png" 400 >/dev/null 2>&1; do
  tries=$((tries + 1))
  [ "$tries" -ge 600 ] && fail "the first document never showed (see $work/step-0.png)"
  sleep 0.2
done

menu 330 30                      # Views: Plan
click 44 138                     # the chain of blocks
drag 200 150 500 170
click 500 400
xdotool mousemove --sync 200 400 click --repeat 2 --delay 80 1
expect_window first-session-walls.png
click 18 138                     # the block
drag 280 240 380 320
click 18 120                     # the polyline
for point in "580 250" "680 250" "680 350" "580 350" "580 250"; do click $point; done
expect_window first-session-plan.png
menu 330 48                      # Views: Axonometric
shot
menu 330 66                      # Views: Perspective
menu 330 200                     # Views: Shaded
shot
xdotool key ctrl+z
shot
xdotool key ctrl+z
shot
click 18 47
click 300 480
menu 99 110                      # File: Save
tries=0
until [ -s first_session.vl ]; do
  [ "$tries" -eq 0 ] && sleep 1 && xdotool type --delay 50 first_session.vl && xdotool key Return
  tries=$((tries + 1))
  [ "$tries" -ge 600 ] && fail "the document was never saved"
  sleep 0.2
done
xdotool key ctrl+q                # File: Quit, by its key
tries=0
while kill -0 "$pid" 2>/dev/null; do
  tries=$((tries + 1))
  [ "$tries" -ge 600 ] && fail "velmora did not quit"
  sleep 0.2
done
wait "$pid" || fail "velmora exited with $?"
# Everything but line 2 (the path) must be the same.
sed '2d' first_session.vl >saved.txt
sed '2d' "$editing/first_session.vl" >expected.txt
cmp -s saved.txt expected.txt || fail "the saved document differs from the headless session's"
