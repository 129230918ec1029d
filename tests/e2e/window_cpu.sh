#!/usr/bin/env bash
# Starts the game in a virtual X display on its first scene and reads from /proc how its
# main thread spends a few seconds. Waiting out a frame sleeps, so on an idle scene the
# thread is asleep most of the time; a wait that spins keeps it runnable (on a core, or
# queued for one) for most of the time, sleeping only on the X server. Its share of a core
# alone would not tell the two apart where every core is busy, as a spinner then gets only
# a fraction of one. The check fails when the thread was runnable for more than the limit
# (percent of the time): a sleeping wait stays far below it on a machine with twice as
# many busy programs as cores, a spinning one stays above it however busy the machine is.
set -u
quor=$(realpath "${1:?path to quor}")
limit=${2:-50}
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
# The game meets this display alone, never the desktop the test was started from.
unset WAYLAND_DISPLAY WAYLAND_SOCKET SDL_VIDEODRIVER

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

# Nanoseconds the main thread spent on a core and runnable but waiting for one, from the
# scheduler's statistics. A kernel that keeps none leaves only the first, from the user
# and system clock ticks of its stat (fields 14 and 15, counted after the name in
# parentheses, which may hold spaces).
times() {
  local run wait stat
  if read -r run wait _ 2>/dev/null </proc/$pid/task/$pid/schedstat; then
    echo "$run $wait"
  else
    stat=$(cat /proc/$pid/task/$pid/stat 2>/dev/null) || return 1
    set -- ${stat##*) }
    echo "$(((${12} + ${13}) * 1000000000 / $(getconf CLK_TCK))) 0"
  fi
}
sleep 1
read -r run0 wait0 <<<"$(times)" && s0=$(date +%s%N)
sleep 3
read -r run1 wait1 <<<"$(times)" && s1=$(date +%s%N)
[ -n "${run0:-}" ] && [ -n "${run1:-}" ] || { echo "quor ended early"; cat quor.err; exit 1; }
kill -TERM $pid
wait $pid
status=$?
pid=
[ $status -eq 0 ] || { echo "quor ended with $status"; cat quor.err; exit 1; }

ns=$((s1 - s0))
percent() { awk -v t="$1" -v ns=$ns 'BEGIN { printf "%.1f", 100 * t / ns }'; }
runnable=$(percent $((run1 - run0 + wait1 - wait0)))
echo "main thread over $(awk -v ns=$ns 'BEGIN { printf "%.1f", ns / 1e9 }') s:" \
  "$(percent $((run1 - run0)))% of a core, runnable $runnable% of the time"
awk -v p="$runnable" -v l="$limit" 'BEGIN { exit !(p <= l) }' ||
  { echo "runnable above $limit% of the time: does the frame wait spin instead of sleeping?"; exit 1; }
echo "window cpu: ok"
