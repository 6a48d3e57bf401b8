#!/usr/bin/env bash
# Runs the real program in a window (Xvfb, or SDL's offscreen driver where Xvfb is absent) on a
# generated archive, sends it the system close request once its first frame is on the screen, and
# expects a clean exit with code 0.
set -u
program="$1"
arctool="$2"
dir="$(mktemp -d /tmp/morvanta-smoke-XXXXXX)"
trap 'rm -rf "$dir"' EXIT
timeout 250 "$arctool" placeholder "$dir" || { echo "archive generation failed"; exit 1; }
cd "$dir"
export SDL_AUDIODRIVER=dummy
export MORVANTA_READY_FILE="$dir/ready"
# Libraries of the display stack keep allocations for the life of the process.
export ASAN_OPTIONS="detect_leaks=0"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 800x600x24" "$program" &
else
  SDL_VIDEODRIVER=offscreen "$program" &
fi
runner=$!
# The program writes its process id into the ready file once the first frame is presented.
for _ in $(seq 1 1200); do
  [ -e "$MORVANTA_READY_FILE" ] && break
  kill -0 "$runner" 2>/dev/null || break
  sleep 0.1
done
if [ ! -e "$MORVANTA_READY_FILE" ]; then
  wait "$runner"
  echo "no frame was presented; the program ended with code $?"
  exit 1
fi
pid="$(cat "$MORVANTA_READY_FILE")"
# SIGTERM is the system's close request (SDL turns it into its quit event).
kill -TERM "$pid"
for _ in $(seq 1 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  echo "the program did not end after the close request"
  kill -KILL "$pid"
  wait "$runner"
  exit 1
fi
wait "$runner"
code=$?
echo "exit code $code"
[ "$code" -eq 0 ]
