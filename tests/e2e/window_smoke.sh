#!/usr/bin/env bash
# Starts the game in a virtual X display, finds its window, checks that a second copy is
# refused and that SIGTERM ends the second copy and its box while the box is up, ends the first with
# SIGTERM as a desktop session would, and checks that without a display the game says so
# in its own words only and fails at once, suggesting a headless command that works from
# anywhere, that started away from its files it says how to start it from anywhere, and
# that a video driver named in SDL_VIDEODRIVER that fails is named as the cause. The first
# copy starts on a machine without a sound card: it says so in one line, and nothing
# else reaches the terminal. Where no lock can be had, it says the lock could not be taken.
set -u
quor=${1:?path to quor}
faults=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
export SDL_AUDIODRIVER=dummy
# Leaks inside the desktop libraries are not ours to judge here.
export ASAN_OPTIONS=detect_leaks=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# The game's files, as the build left them beside the program.
ln -s "$(dirname "$quor")/game/BITMAPS" "$(dirname "$quor")/game/Sounds" .
# A lock folder of its own, so a game being played on this machine does not refuse the test.
export XDG_RUNTIME_DIR="$work"

# No display: a message on the terminal, a failure status, and no invisible game left running.
# Started where the player stands, away from the game's files, and without the runtime
# folder a desktop session sets, as from a bare console: only the game's own lines appear
# (its first names the missing display, the rest are indented), and the headless command
# they suggest works from there. A relative XDG_RUNTIME_DIR is refused by libwayland as an
# unset one is, and keeps the lock file apart from a game played on this machine without
# one, which would hold the lock in /tmp.
mkdir -p elsewhere/runtime
(cd elsewhere && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR=runtime \
  timeout -s KILL 20 "$quor" 2>../nodisplay.err)
status=$?
[ $status -ne 0 ] && [ $status -ne 137 ] || { echo "without a display quor ended with $status"; cat nodisplay.err; exit 1; }
head -n 1 nodisplay.err | grep -q "^quor: no display was found" ||
  { echo "no word about the missing display first"; cat nodisplay.err; exit 1; }
tail -n +2 nodisplay.err | grep -v "^  " &&
  { echo "without a display, lines that are not the game's own:"; cat nodisplay.err; exit 1; }
suggested=$(grep "quor_headless" nodisplay.err)
(cd elsewhere && timeout -s KILL 60 bash -c "$suggested" >headless.out 2>&1) && [ -s elsewhere/frame.png ] ||
  { echo "the suggested command failed from where quor was started:$suggested"; cat elsewhere/headless.out; exit 1; }
# Started in the game's folder, as ./play starts it, the command still works from where the
# player stands.
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR=elsewhere/runtime \
  timeout -s KILL 20 "$quor" 2>infolder.err
suggested=$(grep "quor_headless" infolder.err)
rm -f elsewhere/frame.png
(cd elsewhere && timeout -s KILL 60 bash -c "$suggested" >headless.out 2>&1) && [ -s elsewhere/frame.png ] ||
  { echo "started in the game's folder, the suggested command failed elsewhere:$suggested"; cat elsewhere/headless.out; exit 1; }

# Started away from its files (on SDL's invisible driver, named), the game ends with the
# command that starts it from any folder: into the folder that holds its files, and the
# program from there.
(cd elsewhere && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy XDG_RUNTIME_DIR=runtime \
  timeout -s KILL 20 "$quor" 2>../nofiles.err)
advised=$(grep " && \.\./quor$" nofiles.err)
(cd / && bash -c "${advised%&&*}&& [ -d BITMAPS ] && [ -x ${advised##*&& } ]") ||
  { echo "the command advised does not lead to the game from another folder:"; cat nofiles.err; exit 1; }

# Where no lock can be had (the fault library refuses every lock), the terminal says that the
# single-instance lock could not be taken, not that its file could not be opened.
if [ -n "$faults" ]; then
  LD_PRELOAD="$faults" QUOR_FAULTS=lock:all:fail=37 ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0 \
    SDL_VIDEODRIVER=dummy timeout 3 "$quor" 2>nolocks.err
  grep -q "single-instance lock could not be taken (.*No locks available); starting without it" nolocks.err ||
    { echo "without locks the terminal does not say the lock could not be taken:"; cat nolocks.err; exit 1; }
fi

. "$here/virtual_display.sh"
trap 'stop_virtual_display; rm -rf "$work"' EXIT

# The display works but the video driver named does not start: one SDL has yet that finds
# no server (wayland, on this X display alone), and one it lacks. The game names the driver
# and SDL's word on it, and does not blame the display.
for driver in wayland nosuchdriver; do
  SDL_VIDEODRIVER=$driver timeout -s KILL 20 "$quor" 2>driver.err
  status=$?
  [ $status -ne 0 ] && [ $status -ne 137 ] || { echo "with SDL_VIDEODRIVER=$driver quor ended with $status"; cat driver.err; exit 1; }
  head -n 1 driver.err | grep -q "SDL_VIDEODRIVER=$driver could not be started (SDL: [^)]" &&
    ! grep -q "no display was found" driver.err ||
    { echo "with SDL_VIDEODRIVER=$driver and a working display, the driver is not named as the cause:"; cat driver.err; exit 1; }
done

window_up() { xwininfo -root -tree 2>/dev/null | grep -q "\"$1\""; }
wait_for_window() {
  for _ in $(seq 1 100); do window_up "$1" && return 0; sleep 0.1; done
  return 1
}
# An ALSA set-up that knows no card stands for a machine without one, whatever this one has.
: >no-cards.conf
SDL_AUDIODRIVER=alsa ALSA_CONFIG_PATH="$work/no-cards.conf" "$quor" 2>first.err & pid=$!
wait_for_window "Quor" || { echo "no window titled Quor"; kill -9 $pid; exit 1; }
"$quor" 2>second.err & second=$!
wait_for_window "Quor Error." || { echo "the second copy shows no box"; cat second.err; kill -9 $pid $second; exit 1; }
grep -q "Cannot create more than one Quor instance! " second.err ||
  { echo "second copy not refused"; cat second.err; kill -9 $pid $second; exit 1; }
# Its box is up: SIGTERM must still end it.
kill -TERM $second
for _ in $(seq 1 50); do kill -0 $second 2>/dev/null || break; sleep 0.1; done
if kill -0 $second 2>/dev/null; then
  echo "SIGTERM did not end the second copy while its box was up"
  kill -9 $pid $second
  exit 1
fi
# Its box goes with it: SDL shows it in a copy of the game, which outlived the game.
for _ in $(seq 1 50); do window_up "Quor Error." || break; sleep 0.1; done
if window_up "Quor Error."; then
  echo "the second copy's box stayed after SIGTERM ended the copy"
  kill -9 $pid
  exit 1
fi
# The first sound of the first scene opens the sound device.
for _ in $(seq 1 100); do grep -q "without sound" first.err && break; sleep 0.1; done
kill -TERM $pid
wait $pid
status=$?
[ $status -eq 0 ] || { echo "quor ended with $status"; cat first.err; exit 1; }
[ "$(cat first.err)" = "No sound device found; playing without sound." ] ||
  { echo "without a sound card the start should say so in one line, and nothing else:"; cat first.err; exit 1; }
echo "window smoke: ok"
