#!/usr/bin/env bash
# Runs the real program in a window (Xvfb, or SDL's offscreen driver where Xvfb is absent) on a
# generated archive, sends it a close request once it runs, and expects a clean exit with code 0.
set -u
program="$1"
arctool="$2"
dir="$(mktemp -d /tmp/morvanta-smoke-XXXXXX)"
trap 'rm -rf "$dir"' EXIT
"$arctool" placeholder "$dir" || { echo "archive generation failed"; exit 1; }
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
# Wait until the first frame is on the screen (the program creates the ready file then).
for _ in $(seq 1 600); do
  [ -e "$MORVANTA_READY_FILE" ] && break
  kill -0 "$runner" 2>/dev/null || break
  sleep 0.1
done
[ -e "$MORVANTA_READY_FILE" ] || echo "no frame was presented"
# The program runs under xvfb-run: find it and send the system close request (SIGTERM becomes
# SDL's quit event).
pid="$(pgrep -n -f "^$program" || true)"
if [ -z "$pid" ]; then
  wait "$runner"; echo "program ended early with code $?"; exit 1
fi
kill -TERM "$pid"
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$runner"
code=$?
echo "exit code $code"
[ "$code" -eq 0 ]
