#!/bin/sh
# A user's first session (../editing/first_session.vls) in the real window on a virtual X display,
# the mouse and keys driven by xdotool: run under xvfb-run with -fbdir WORK, so that the X
# server's screen is the file WORK/Xvfb_screen0. After each main step the screen is polled until
# it shows the step's result; the screens are kept in WORK as step-N.png. The walls in plan must
# equal the headless golden; later pictures depend on where the real pointer rests, so they are
# kept to look at. The saved file must hold what the headless session saved.
# Every press and key waits until the window has stopped changing: an event sent while the
# program is still painting may come after the button is already up again.
# sh FirstSessionUnderXvfb.sh VELMORA SCRIPTTEST EDITING_DIR WORK
set -u
velmora=$1 scripttest=$2 editing=$3 work=$4
cd "$work" || exit 1
"$velmora" --size 1024x768 >velmora.log 2>&1 &
pid=$!
fail() { echo "$*" >&2; kill "$pid" 2>/dev/null; exit 1; }

grab() { "$scripttest" grab Xvfb_screen0 63 21 689 572 "$1" 2>/dev/null; }
same() { "$scripttest" compare "$1" "$2" "${3:-400}" >/dev/null 2>&1; }

# Waits until two pictures of the window half a second apart are the same (up to a minute).
settle() {
  tries=0
  grab settle-a.png
  while :; do
    sleep 0.5
    grab settle-b.png
    same settle-a.png settle-b.png 0 && return 0
    mv settle-b.png settle-a.png
    tries=$((tries + 1))
    [ "$tries" -ge 120 ] && fail "step $step: the window never came to rest"
    kill -0 "$pid" 2>/dev/null || fail "step $step: velmora ended early"
  done
}

# Polls the screen until the window shows the golden, for up to a minute.
step=0
expect_window() {
  step=$((step + 1))
  tries=0
  until grab "step-$step.png" && same "step-$step.png" "$editing/golden/$1"; do
    tries=$((tries + 1))
    [ "$tries" -ge 200 ] && fail "step $step: the window never showed $1 (see $work/step-$step.png)"
    kill -0 "$pid" 2>/dev/null || fail "step $step: velmora ended early"
    sleep 0.3
  done
}
# Waits until the window changed from the previous step's picture and came to rest, then keeps it
# as step-N.png; fails when it did not change within TRIES polls (default 100).
changed() {
  tries=0
  while grab "step-$step.png" && same "step-$step.png" "step-$((step - 1)).png"; do
    tries=$((tries + 1))
    [ "$tries" -ge "${1:-100}" ] && return 1
    kill -0 "$pid" 2>/dev/null || fail "step $step: velmora ended early"
    sleep 0.3
  done
  settle
  grab "step-$step.png" || fail "step $step: no picture"
}
shot() {
  step=$((step + 1))
  changed || fail "step $step: the window did not change"
}
# A key whose effect must show: sent once more when the window, at rest, did not change.
key_shot() {
  settle
  step=$((step + 1))
  xdotool key "$1"
  changed 30 && return 0
  xdotool key "$1"
  changed || fail "step $step: the window did not change after $1"
}
click() { settle; xdotool mousemove --sync "$1" "$2" click 1; }
drag() {
  settle
  xdotool mousemove --sync "$1" "$2" mousedown 1 sleep 0.2 mousemove --sync "$3" "$4" sleep 0.3 mouseup 1
}
# A menu item, as a user picks it: press on the title, move onto the item, let go.
menu() { drag "$1" 9 "$(($1 + 20))" "$2"; }
plan() { menu 330 30; }
south() { menu 330 102; }

timeout 120 xdotool search --sync --name '^Velmora$' >/dev/null || fail "no window came"
tries=0
until "$scripttest" grab Xvfb_screen0 0 0 1024 768 step-0.png 2>/dev/null &&
      "$scripttest" compare step-0.png "$editing/../shell/golden/first-pass.png" 400 >/dev/null 2>&1; do
  tries=$((tries + 1))
  [ "$tries" -ge 400 ] && fail "the first document never showed (see $work/step-0.png)"
  sleep 0.3
done

plan
click 44 138                     # the chain of blocks
drag 200 150 500 170
click 500 400
settle
xdotool mousemove --sync 200 400 click --repeat 2 --delay 80 1
expect_window first-session-walls.png
click 18 47                      # the select tool; each wall is clicked in plan, raised in South
click 350 160
south
drag 200 460 200 400
plan
click 510 300
south
drag 520 460 520 400
plan
click 350 410
south
drag 200 460 200 400
shot
plan
click 18 138                     # the block
drag 280 240 380 320
shot
south
click 18 47
click 300 430                    # the near wall, then the rectangular opening tool
click 18 176
drag 300 450 350 410
shot
plan
click 18 120                     # the polyline, closed on its first vertex
for point in "580 250" "680 250" "680 350" "580 350" "580 250"; do click $point; done
shot
south
drag 680 460 680 420             # its corner handle up: an extrusion
shot
menu 330 48                      # Views: Axonometric
shot
menu 330 66                      # Views: Perspective
menu 330 200                     # Views: Shaded
shot
key_shot ctrl+z
key_shot ctrl+z
click 18 47
click 300 480
menu 99 110                      # File: Save
tries=0
until [ -s first_session.vl ]; do
  [ "$tries" -eq 0 ] && sleep 1 && xdotool type --delay 50 first_session.vl && xdotool key Return
  tries=$((tries + 1))
  [ "$tries" -ge 300 ] && fail "the document was never saved"
  sleep 0.2
done
settle
xdotool key ctrl+q                # File: Quit, by its key
tries=0
while kill -0 "$pid" 2>/dev/null; do
  tries=$((tries + 1))
  [ "$tries" -ge 300 ] && fail "velmora did not quit"
  sleep 0.2
done
wait "$pid" || fail "velmora exited with $?"
# Everything but line 2 (the path) must be the same.
sed '2d' first_session.vl >saved.txt
sed '2d' "$editing/first_session.vl" >expected.txt
cmp -s saved.txt expected.txt || fail "the saved document differs from the headless session's"
