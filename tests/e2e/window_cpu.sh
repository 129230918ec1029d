#!/usr/bin/env bash
# Starts the game in a virtual X display on its first scene and reads from /proc how much
# of a core its main thread uses over a few seconds. Waiting out a frame sleeps, so an
# idle scene costs little; the check fails above the limit (percent of one core).
set -u
quor=$(realpath "${1:?path to quor}")
limit=${2:-10}
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
  limit=$1
  "$0" 2>quor.err & pid=$!
  for i in $(seq 1 50); do
    xwininfo -root -tree 2>/dev/null | grep -q "\"Quor\"" && break
    sleep 0.2
  done
  xwininfo -root -tree | grep -q "\"Quor\"" || { echo "no window titled Quor"; kill -9 $pid; exit 1; }
  # User and system time of the main thread, in clock ticks (fields 14 and 15 of its stat;
  # counted after the name in parentheses, which may hold spaces).
  ticks() {
    local stat rest
    stat=$(cat /proc/$pid/task/$pid/stat) || return 1
    rest=${stat##*) }
    set -- $rest
    echo $(( ${12} + ${13} ))
  }
  sleep 1
  t0=$(ticks) && s0=$(date +%s%N)
  sleep 3
  t1=$(ticks) && s1=$(date +%s%N)
  kill -TERM $pid
  wait $pid
  [ -n "$t0" ] && [ -n "$t1" ] || { echo "quor ended early"; cat quor.err; exit 1; }
  percent=$(awk -v t=$((t1 - t0)) -v hz=$(getconf CLK_TCK) -v ns=$((s1 - s0)) \
    "BEGIN { printf \"%.1f\", 100 * t / hz / (ns / 1e9) }")
  echo "main thread: $percent% of a core over $(awk -v ns=$((s1 - s0)) "BEGIN { printf \"%.1f\", ns / 1e9 }") s"
  awk -v p=$percent -v l=$limit "BEGIN { exit !(p <= l) }" || { echo "above $limit%"; exit 1; }
  echo "window cpu: ok"
' "$quor" "$limit"
