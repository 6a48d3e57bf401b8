#!/usr/bin/env bash
# Every way the running program can be ended from outside ends it in order, under a private X
# server: no abort, no sanitizer report, and exit code 0. The ways: the window manager's close
# request sent the moment the window appears (three times), SIGTERM, SIGINT, SIGHUP (a logout),
# the window killed by another client (its connection cut), the window destroyed by another
# client, and the X server ended under the program.
set -u
program="$(realpath "$1")"
arctool="$(realpath "$2")"
source "$(dirname "$0")/x_session.sh"
game="$work/game"
make_archive "$arctool" "$game"
cd "$game"

# run_until_ready LOG: starts the program; sets pid once its first frame is on the screen.
run_until_ready() {
  rm -f "$work/ready"
  MORVANTA_READY_FILE="$work/ready" "$program" >"$1" 2>&1 &
  pid=$!
  for _ in $(seq 1 1200); do
    [ -e "$work/ready" ] && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  return 1
}

for try in 1 2 3; do
  start_x 800x600
  log="$work/early-$try.log"
  "$program" >"$log" 2>&1 &
  pid=$!
  "$x_window" close Morvanta 120 || fail "early close $try" "no window appeared"
  finish "close request as the window appears ($try)" "$pid" "$log" 0
  stop_x
done

for how in SIGTERM SIGINT SIGHUP xkill destroy server; do
  start_x 800x600
  log="$work/$how.log"
  if ! run_until_ready "$log"; then
    fail "$how" "no frame was presented"
    sed 's/^/    /' "$log"
    kill -KILL "$pid" 2>/dev/null
    stop_x
    continue
  fi
  case "$how" in
  SIGTERM) kill -TERM "$pid" ;;
  SIGINT) kill -INT "$pid" ;;
  SIGHUP) kill -HUP "$pid" ;;
  xkill) xkill -id "$("$x_window" wait Morvanta 30)" >/dev/null ;;
  destroy) "$x_window" destroy Morvanta 30 ;;
  server) stop_x ;;
  esac
  finish "ended by $how" "$pid" "$log" 0
  stop_x
done
report
