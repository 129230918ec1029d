#!/usr/bin/env bash
# Starts the game in a virtual X display on its first scene and looks, every few
# milliseconds for a few seconds, at the call its main thread waits in. Waiting out a frame
# sleeps to an instant of the monotonic clock (clock_nanosleep, CLOCK_MONOTONIC,
# TIMER_ABSTIME), so the thread is found there in many of the looks; a wait that spins is
# never found there, however busy or idle the machine. How long the thread is runnable, or
# its share of a core, would not tell the two apart on a crowded machine: a sleeping wait
# queues for a core after every wake-up, and a spinning one gets only a fraction of one. The
# check fails when the thread was asleep in its frame wait in fewer than the limit (percent
# of the looks): a sleeping wait stays well above it with six busy programs a core, a
# spinning one is at 0 at any load.
set -u
quor=$(realpath "${1:?path to quor}")
limit=${2:-2}
command -v Xvfb >/dev/null || { echo "Xvfb missing"; exit 1; }
export SDL_AUDIODRIVER=dummy
# Leaks inside the desktop libraries are not ours to judge here.
export ASAN_OPTIONS=detect_leaks=0
work=$(mktemp -d)
xvfb=
pid=
sleeper=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "$sleeper" ] && kill "$sleeper" 2>/dev/null
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

# A pipe nobody writes to, to wait on between looks without a program per look.
mkfifo tick
exec 3<>tick
pause() { read -r -t "$1" -u 3; }
# The number this kernel gives clock_nanosleep, from sleep(1), whose wait makes that call.
sleep 60 &
sleeper=$!
call=
for i in $(seq 1 100); do
  read -r call _ </proc/$sleeper/syscall 2>/dev/null
  [[ $call =~ ^[0-9]+$ ]] && break
  pause 0.01
done
kill $sleeper
sleeper=
[[ $call =~ ^[0-9]+$ ]] || { echo "cannot see where sleep(1) waits in /proc"; exit 1; }

pause 1
looks=0
asleep=0
end=$((${EPOCHREALTIME/./} + 3000000))
while ((${EPOCHREALTIME/./} < end)); do
  read -r number clock flags _ </proc/$pid/task/$pid/syscall 2>/dev/null || break
  looks=$((looks + 1))
  [ "$number $clock $flags" = "$call 0x1 0x1" ] && asleep=$((asleep + 1))
  pause 0.005
done
kill -0 $pid 2>/dev/null && [ $looks -gt 0 ] || { echo "quor ended early"; cat quor.err; exit 1; }
kill -TERM $pid
wait $pid
status=$?
pid=
[ $status -eq 0 ] || { echo "quor ended with $status"; cat quor.err; exit 1; }

share=$(awk -v a=$asleep -v l=$looks 'BEGIN { printf "%.1f", 100 * a / l }')
echo "main thread asleep in its frame wait in $share% of $looks looks over 3 s"
awk -v p="$share" -v l="$limit" 'BEGIN { exit !(p >= l) }' ||
  { echo "asleep in its frame wait below $limit% of the time: does the wait spin instead of" \
    "sleeping, or are the cores too busy for the game to have time left? (load: $(cut -d ' ' -f 1-3 /proc/loadavg))"; exit 1; }
echo "window cpu: ok"
