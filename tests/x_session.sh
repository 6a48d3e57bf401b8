# Shared by the program's window tests (sourced): a private X server, a placeholder archive, and
# bounded waits on the program. Every wait has a limit; every server started here is stopped on
# exit.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
x_window="$here/x_window.py"
work="$(mktemp -d /tmp/morvanta-x-XXXXXX)"
x_pid=""
failures=0

cleanup() {
  stop_x
  rm -rf "$work"
}
trap cleanup EXIT

export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER WAYLAND_DISPLAY
# Libraries of the display stack keep allocations for the life of the process.
export ASAN_OPTIONS="detect_leaks=0"

# start_x WIDTHxHEIGHT: a fresh Xvfb on a free display number; sets DISPLAY and x_pid.
start_x() {
  local fd_file="$work/display"
  rm -f "$fd_file"
  Xvfb -displayfd 5 -screen 0 "$1"x24 -nolisten tcp 5>"$fd_file" 2>/dev/null &
  x_pid=$!
  for _ in $(seq 1 300); do
    [ -s "$fd_file" ] && break
    kill -0 "$x_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$fd_file" ]; then
    echo "Xvfb did not start"
    exit 1
  fi
  export DISPLAY=":$(head -n 1 "$fd_file")"
}

stop_x() {
  if [ -n "$x_pid" ]; then
    kill "$x_pid" 2>/dev/null
    wait "$x_pid" 2>/dev/null
    x_pid=""
  fi
}

# make_archive ARCTOOL DIR: the placeholder archive in DIR.
make_archive() {
  mkdir -p "$2"
  timeout 250 "$1" placeholder "$2" >/dev/null || { echo "archive generation failed"; exit 1; }
}

# wait_gone PID SECONDS: 0 once the process has ended, 1 when it still runs after SECONDS.
wait_gone() {
  local tenths=$(($2 * 10))
  for _ in $(seq 1 "$tenths"); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -0 "$1" 2>/dev/null && return 1
  return 0
}

# finish NAME PID LOG EXPECTED: waits (bounded) for the program, then checks its exit code and
# that its output holds no sanitizer report and no abort. Counts a failure otherwise.
finish() {
  local name="$1" pid="$2" log="$3" expected="$4" code
  if ! wait_gone "$pid" 60; then
    echo "FAIL $name: the program did not end"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    failures=$((failures + 1))
    return
  fi
  wait "$pid"
  code=$?
  if [ "$code" -ne "$expected" ]; then
    echo "FAIL $name: exit code $code, expected $expected"
    sed 's/^/    /' "$log"
    failures=$((failures + 1))
  elif grep -qE "Sanitizer|runtime error|terminate called" "$log"; then
    echo "FAIL $name: report in the output"
    sed 's/^/    /' "$log"
    failures=$((failures + 1))
  else
    echo "ok   $name (exit code $code)"
  fi
}

# fail NAME TEXT: counts a failure.
fail() {
  echo "FAIL $1: $2"
  failures=$((failures + 1))
}

report() {
  echo "$failures failure(s)"
  [ "$failures" -eq 0 ]
}
