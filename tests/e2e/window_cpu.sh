#!/usr/bin/env bash
# Starts the game in a virtual X display on its first scene and reads from /proc how much
# of a core its main thread uses over a few seconds. Waiting out a frame sleeps, so an
# idle scene costs little; the check fails above the limit (percent of one core).
set -u
quor=$(realpath "${1:?path to quor}")
limit=${2:-10}
command -v Xvfb >/dev/null || { echo "Xvfb missing"; exit 1; }
export SDL_AUDIODRIVER=dummy
# Leaks inside the desktop libraries are not ours to judge here.
export ASAN_OPTIONS=detect_leaks=0
work=$(mktemp -d)
xvfb=
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
# The game's files, as the build left them beside the program.
ln -s "$(dirname "$quor")/game/BITMAPS" "$(dirname "$quor")/game/Sounds" .
# A lock folder of its own, so a game being played on this machine does not refuse the test.
export XDG_RUNTIME_DIR="$work"

# The server picks a free display itself and writes its number, so runs side by side
# never share one.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>display 2>xvfb.err &
xvfb=$!
for i in $(seq 1 50); do
  [ -s display ] && break
  sleep 0.1
done
[ -s display ] || { echo "Xvfb did not start"; cat xvfb.err; exit 1; }
export DISPLAY=:$(cat display)

"$quor" 2>quor.err &
pid=$!
# Our window: titled Quor and owned by this process.
ours() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | awk '/"Quor"/ { print $1 }'); do
    xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $pid\$" && return 0
  done
  return 1
}
for i in $(seq 1 50); do
  ours && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.2
done
ours || { echo "no window titled Quor"; cat quor.err; exit 1; }

# User and system time of the main thread, in clock ticks (fields 14 and 15 of its stat,
# counted after the name in parentheses, which may hold spaces).
ticks() {
  local stat rest
  stat=$(cat /proc/$pid/task/$pid/stat 2>/dev/null) || return 1
  rest=${stat##*) }
  set -- $rest
  echo $((${12} + ${13}))
}
sleep 1
t0=$(ticks) && s0=$(date +%s%N)
sleep 3
t1=$(ticks) && s1=$(date +%s%N)
[ -n "${t0:-}" ] && [ -n "${t1:-}" ] || { echo "quor ended early"; cat quor.err; exit 1; }
kill -TERM $pid
wait $pid
status=$?
pid=
[ $status -eq 0 ] || { echo "quor ended with $status"; cat quor.err; exit 1; }

percent=$(awk -v t=$((t1 - t0)) -v hz=$(getconf CLK_TCK) -v ns=$((s1 - s0)) \
  'BEGIN { printf "%.1f", 100 * t / hz / (ns / 1e9) }')
echo "main thread: $percent% of a core over $(awk -v ns=$((s1 - s0)) 'BEGIN { printf "%.1f", ns / 1e9 }') s"
awk -v p="$percent" -v l="$limit" 'BEGIN { exit !(p <= l) }' || { echo "above $limit%"; exit 1; }
echo "window cpu: ok"
