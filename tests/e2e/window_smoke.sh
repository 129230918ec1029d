#!/usr/bin/env bash
# Starts the game in a virtual X display, finds its window, checks that a second copy is
# refused, and ends the first with SIGTERM as a desktop session would.
set -u
quor=${1:?path to quor}
command -v xvfb-run >/dev/null || { echo "xvfb-run missing"; exit 1; }
export SDL_AUDIODRIVER=dummy
# Leaks inside the desktop libraries are not ours to judge here.
export ASAN_OPTIONS=detect_leaks=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# A lock folder of its own, so a game being played on this machine does not refuse the test.
export XDG_RUNTIME_DIR="$work"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0" 2>first.err & pid=$!
  for i in $(seq 1 50); do
    xwininfo -root -tree 2>/dev/null | grep -q "\"Quor\"" && break
    sleep 0.2
  done
  xwininfo -root -tree | grep -q "\"Quor\"" || { echo "no window titled Quor"; kill -9 $pid; exit 1; }
  timeout -s KILL 5 "$0" 2>second.err
  grep -q "Cannot create more than one Quor instance! " second.err || { echo "second copy not refused"; cat second.err; kill -9 $pid; exit 1; }
  kill -TERM $pid
  wait $pid
  status=$?
  [ $status -eq 0 ] || { echo "quor ended with $status"; cat first.err; exit 1; }
  echo "window smoke: ok"
' "$quor"
