#!/usr/bin/env bash
# The fatal ending of the program, under a private X server: with no archive the fatal box comes
# up; SIGTERM or SIGINT then end the program with code 1 and take the box with them, and so does
# killing the program outright. The message on stderr is followed by one line saying where the
# archive was looked for and that ./play makes a placeholder; an archive that is too short is
# named. A fatal error met by the game thread (an archive of the right size whose contents are
# nonsense) behaves the same while the window thread goes on. Without a display the program says so and ends with code 1 instead of running unseen.
set -u
program="$(realpath "$1")"
source "$(dirname "$0")/x_session.sh"
empty="$work/empty"
mkdir -p "$empty"
garbage="$work/garbage"
mkdir -p "$garbage"
head -c 13000000 /dev/zero | tr '\0' '\377' >"$garbage/VERORIRE"

# expect_help LOG MESSAGE PATTERN: the line after the system's message matches PATTERN.
expect_help() {
  local next
  next="$(grep -A1 -x "錯誤: $2" "$1" | sed -n 2p)"
  if printf '%s\n' "$next" | grep -qE "$3"; then
    echo "ok   help after \"$2\""
  else
    fail "help after \"$2\"" "got: $next"
  fi
}

for case in empty:SIGTERM empty:SIGINT empty:SIGKILL garbage:SIGTERM; do
  dir="$work/${case%:*}"
  how="${case#*:}"
  start_x 800x600
  log="$work/box-${case%:*}-$how.log"
  (cd "$dir" && exec "$program") >"$log" 2>&1 &
  pid=$!
  if ! "$x_window" wait "錯誤" 120 >/dev/null; then
    fail "box then $how" "no fatal box appeared"
    sed 's/^/    /' "$log"
    kill -KILL "$pid" 2>/dev/null
    stop_x
    continue
  fi
  # Input keeps arriving at the window meanwhile.
  xdotool mousemove 100 100 click 1 mousemove 200 200 2>/dev/null
  kill "-${how#SIG}" "$pid"
  if [ "$how" = SIGKILL ]; then
    wait_gone "$pid" 30
    wait "$pid" 2>/dev/null
    echo "ok   program killed under its box"
  else
    finish "box then $how (${case%:*})" "$pid" "$log" 1
  fi
  if [ "$case" = "empty:SIGTERM" ] || [ "$case" = "empty:SIGINT" ]; then
    expect_help "$log" "gisk init" "looked for notavaliasble and VERORIRE in $empty\. .*\./play.*placeholder"
  fi
  "$x_window" gone "錯誤" 30 && echo "ok   the box went with the program ($how)" ||
    fail "box then $how" "the box outlived the program"
  stop_x
done

# A short archive, on a driver the user chose that shows nothing: no box, the message and the
# help naming the file.
short="$work/short"
mkdir -p "$short"
head -c 4096 /dev/zero >"$short/VERORIRE"
log="$work/short.log"
(cd "$short" && SDL_VIDEODRIVER=offscreen exec "$program") >"$log" 2>&1 &
finish "archive too short" "$!" "$log" 1
expect_help "$log" "gisk<=12mb" "archive $short/VERORIRE is shorter than 12 MB.*\./play"

# No display at all, and no driver chosen.
log="$work/nodisplay.log"
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$program" >"$log" 2>&1 &
finish "no display" "$!" "$log" 1
grep -q "no display" "$log" && echo "ok   no display is reported" || fail "no display" "not reported"
report
