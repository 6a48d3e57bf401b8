#!/usr/bin/env bash
# Window modes under a private 1600 x 1200 X server with a window manager: the program starts
# full screen; "--window" starts it in a window of 640 x 480 times the largest whole factor that
# fits (2 here); Alt+Enter goes to full screen and a second Alt+Enter back to the same window.
set -u
program="$(realpath "$1")"
arctool="$(realpath "$2")"
source "$(dirname "$0")/x_session.sh"
game="$work/game"
make_archive "$arctool" "$game"
cd "$game"
start_x 1600x1200
XDG_CONFIG_HOME="$work" XDG_CACHE_HOME="$work" openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null; cleanup' EXIT

size_of() {
  xwininfo -id "$1" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

# settle WINDOW: prints the window's size once it has stayed the same for half a second.
settle() {
  local last="" size
  for _ in $(seq 1 40); do
    size="$(size_of "$1")"
    [ "$size" = "$last" ] && break
    last="$size"
    sleep 0.5
  done
  echo "$last"
}

# alt_enter WINDOW OLD_SIZE: presses Alt+Enter over the window until its size changes (the key
# is lost while the window does not have the focus yet); prints the settled new size.
alt_enter() {
  for _ in $(seq 1 10); do
    xdotool mousemove --window "$1" 320 240 keydown alt key Return keyup alt
    for _ in $(seq 1 10); do
      [ "$(size_of "$1")" != "$2" ] && break 2
      sleep 0.2
    done
  done
  settle "$1"
}

# start ARGS...: the program with these arguments; sets pid and window.
start() {
  log="$work/modes$#.log"
  "$program" "$@" >"$log" 2>&1 &
  pid=$!
  window="$("$x_window" wait Morvanta 120)"
}

start
if [ -z "$window" ]; then
  fail "full screen start" "no window appeared"
else
  size="$(settle "$window")"
  [ "$size" = "1600x1200" ] && echo "ok   full screen start: $size" ||
    fail "full screen start" "size $size, not 1600x1200"
fi
kill -TERM "$pid" 2>/dev/null
finish "close of the full screen" "$pid" "$log" 0

start --window
if [ -z "$window" ]; then
  fail "--window" "no window appeared"
else
  size="$(settle "$window")"
  [ "$size" = "1280x960" ] && echo "ok   --window: $size" || fail "--window" "size $size, not 1280x960"
  full="$(alt_enter "$window" "$size")"
  [ "$full" = "1600x1200" ] && echo "ok   Alt+Enter: full screen $full" ||
    fail "Alt+Enter" "size $full, not 1600x1200"
  back="$(alt_enter "$window" "$full")"
  [ "$back" = "1280x960" ] && echo "ok   Alt+Enter again: window $back" ||
    fail "Alt+Enter again" "size $back, not 1280x960"
fi
kill -TERM "$pid" 2>/dev/null
finish "close after the mode changes" "$pid" "$log" 0
report
