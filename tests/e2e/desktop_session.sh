#!/usr/bin/env bash
# Plays the game under a real window manager (openbox) in a virtual X display, as a
# desktop user meets it: it starts full screen with the picture scaled by whole multiples
# and centred; F12 gives a 640 x 480 window of a fixed size and back; a minimise and
# restore leave the game running; where the window is given another size all the same,
# the picture fills it with its shape kept; while a file chooser (a stand-in) is open the
# window stays alive and the chooser, like the game's own boxes, stays above it; a save
# asks once before it replaces a file, and the desktop's question, refusals and boxes come
# in lines that fit the screen; a save that waits for another game's save in its folder
# keeps the window answering and says so in the title and over the picture; without a
# chooser, a box after the prompt typed into the window is drawn over the game's picture,
# not over the prompt, and goes with Return or a click on OK; while a box is open, the
# desktop's or the game's own, the window answers pings, and a game killed then leaves no
# window and lets the next game start at once; choosers are titled "Open" and "Save As"; a
# box drawn in the window leaves the keys as they are when it closes, one let go meanwhile
# up; a second copy in the same folder is told whose game runs there; with no window
# manager at all the game makes its full screen and takes the keyboard itself, and asks for
# names and shows boxes in its own window whatever dialog programs are installed; and a
# window manager that starts after the game serves it from then on. Pictures are
# checked by their pixels through the frame-rate text (F11), the one thing the first scene
# draws; as nothing else draws, the text stays in the back buffer once drawn, and only a
# switch of the display mode (which makes new, black buffers) shows whether frames are
# still drawn and presented.
# QUOR_SHOTS=folder keeps the screenshots there as PNG pictures.
set -u
quor=${1:?path to quor}
here=$(cd "$(dirname "$0")" && pwd)
for tool in openbox xdotool xwd xwininfo xprop python3; do
  command -v $tool >/dev/null || { echo "$tool missing (scripts/ensure-packages installs it)"; exit 1; }
done
work=$(mktemp -d)
cd "$work"
# The game's files, as the build left them beside the program.
ln -s "$(dirname "$quor")/game/BITMAPS" "$(dirname "$quor")/game/Sounds" .
export SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0
# A lock folder of its own, so a game being played on this machine does not refuse the test.
export XDG_RUNTIME_DIR="$work"
# 1400 x 1000 holds the 640 x 480 frame twice over with a border: 1280 x 960 at (60, 20).
screen_size=1400x1000x24
. "$here/virtual_display.sh"
trap 'stop_virtual_display; rm -rf "$work"' EXIT

keep_shot() {
  [ -n "${QUOR_SHOTS:-}" ] || return 0
  mkdir -p "$QUOR_SHOTS" && python3 "$here/screen.py" png shot.xwd "$QUOR_SHOTS/$1.png"
}
fail() {
  echo "desktop session: $*"
  keep_shot failed 2>/dev/null
  [ -n "${game:-}" ] && { cat game.err; kill -9 "$game" 2>/dev/null; }
  [ -n "${other:-}" ] && kill -9 "$other" 2>/dev/null
  [ -n "${watcher:-}" ] && kill "$watcher" 2>/dev/null
  kill "$wm" 2>/dev/null
  exit 1
}
now_ms() { local t=${EPOCHREALTIME/./}; echo $((t / 1000)); }
# Polls a condition for up to the given milliseconds.
wait_ms() {
  local deadline=$(($(now_ms) + $1))
  shift
  until "$@"; do
    [ "$(now_ms)" -lt $deadline ] || return 1
    sleep 0.05
  done
}
# Generous, for a machine busy with a parallel test run; a poll ends as soon as it holds.
wait_until() { wait_ms 15000 "$@"; }
# Holds a key down until the condition holds, as a person holds a key until the game
# answers, and presses it again when the game missed it: a key pressed and released within
# one frame is not seen, and after F12 the game waits a second before it reads the keys.
hold_until() {
  local key=$1
  shift
  for _ in 1 2 3; do
    xdotool keydown "$key"
    wait_ms 1500 "$@"
    local held=$?
    xdotool keyup "$key"
    [ $held -eq 0 ] && return 0
    wait_ms 500 "$@" && return 0
  done
  return 1
}
# The window is found by its title each time: the window system may give it a new id.
# F12, until the window shows the change; then the game waits a second before it reads
# keys again, and so does the test.
switch_mode() {
  hold_until F12 "$@" || return 1
  sleep 1.2
}
geometry() {
  xwininfo -name Quor 2>/dev/null |
    awk '/Absolute upper-left X/{x=$NF}/Absolute upper-left Y/{y=$NF}/Width:/{w=$NF}/Height:/{h=$NF}
         END{print w "x" h "+" x "+" y}'
}
geometry_is() { [ "$(geometry)" = "$1" ]; }
size_is() { geometry | grep -q "^$1+"; }
map_state_is() { xwininfo -name Quor 2>/dev/null | grep -q "Map State: $1"; }
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($(window_id)))" ]; }
window_id() { xwininfo -name Quor | awk '/Window id:/{print $4}'; }
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
window_up() { xwininfo -name Quor >/dev/null 2>&1; }
# Dumps the game's window; $box is the box around the frame-rate text, "none" without it.
text_box() {
  box=none
  xwd -name Quor -silent -out shot.xwd 2>/dev/null && box=$(python3 "$here/screen.py" text shot.xwd)
}
text_shown() { text_box; [ "$box" != none ]; }
text_gone() { text_box; [ "$box" = none ]; }

# The desktop's chooser and boxes, played by a stand-in in the game's bin/: it logs how it
# was called ("start ARGS", and "end" once it is done), then plays the next line of its
# plan: seconds to wait, its exit status, and the name it prints. With no plan left it
# cancels. The text of a question, an error or a box (--text) is kept whole in its own
# file, line breaks and all; its window is titled as the dialog (--title) is, or after
# the program, as the real ones title a dialog told no title.
mkdir bin tools
cat >bin/zenity <<'EOF'
#!/usr/bin/env bash
echo "start $*" >>"$CHOOSER_LOG"
title=${0##*/}
for arg; do
  [ "${arg#--text=}" = "$arg" ] || printf '%s\n' "${arg#--text=}" >"$CHOOSER_TEXT"
  [ "${arg#--title=}" = "$arg" ] || title=${arg#--title=}
  [ "${previous:-}" = --title ] && title=$arg  # as kdialog is told it
  previous=$arg
done
read -r seconds status answer <"$CHOOSER_PLAN" || { echo end >>"$CHOOSER_LOG"; exit 1; }
sed -i 1d "$CHOOSER_PLAN"
case $seconds in
  w*) python3 "$DIALOG_WINDOW" "$title" "${seconds#w}" ;;  # "w9": a window, closed by 9 s
  # "x9": the same, shown by this process itself, as the real programs show theirs
  x*) exec python3 "$DIALOG_WINDOW" "$title" "${seconds#x}" ;;
  *) sleep "$seconds" ;;
esac
[ -n "$answer" ] && echo "$answer"
echo end >>"$CHOOSER_LOG"
exit "$status"
EOF
chmod +x bin/zenity
# The game runs with a PATH of the test's own, so that it finds only the dialog programs
# each step means it to: a real zenity or kdialog on this machine would be taken before
# a stand-in that has been renamed. tools/ holds the programs that the stand-ins run and,
# where installed, the sanitizers' symbolizers; the game itself runs /bin/sh by its path.
# python3 is linked as the interpreter itself: what PATH finds may be a wrapper script
# that needs more of PATH (pyenv's shims are).
for tool in bash sed sleep; do
  ln -s "$(command -v $tool)" tools/ || { echo "$tool missing"; exit 1; }
done
ln -s "$(python3 -c 'import sys; print(sys.executable)')" tools/python3
for tool in llvm-symbolizer addr2line; do
  command -v $tool >/dev/null && ln -s "$(command -v $tool)" tools/
done
game_path="$PWD/bin:$PWD/tools"
export CHOOSER_LOG="$PWD/chooser.log" CHOOSER_PLAN="$PWD/chooser.plan" \
  CHOOSER_TEXT="$PWD/chooser.text" DIALOG_WINDOW="$here/dialog_window.py"
# The real zenity and kdialog among the game's descendants, one "PID ARGS" a line. A
# stand-in runs as its interpreter (argv[0] bash), a real one under its own name.
real_dialogs() {
  local dir stat pid up argv0
  local -A parent
  for dir in /proc/[0-9]*; do
    stat=$(cat "$dir/stat" 2>/dev/null) || continue
    set -- ${stat##*) }
    parent[${dir#/proc/}]=$2
  done
  for pid in "${!parent[@]}"; do
    up=${parent[$pid]}
    while [ "${up:-0}" -gt 1 ] && [ "$up" != "$game" ]; do up=${parent[$up]:-0}; done
    [ "$up" = "$game" ] || continue
    IFS= read -r -d '' argv0 <"/proc/$pid/cmdline" 2>/dev/null
    case ${argv0##*/} in
      zenity | kdialog) echo "$pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)" ;;
    esac
  done
}
# F5 (or the key in $chooser_key) with the plan given, one line a call; the call has
# begun once it logs.
open_chooser() {
  local key=${chooser_key:-F5}
  printf '%s\n' "$@" >chooser.plan
  : >chooser.log
  wait_until focused || fail "the game's window lost the focus before $key"
  hold_until "$key" grep -q "^start" chooser.log && return
  local real
  real=$(real_dialogs | head -n 1)
  if [ -n "$real" ]; then
    kill "${real%% *}" 2>/dev/null
    fail "$key opened a real ${real#* }instead of the stand-in in $PWD/bin"
  fi
  fail "$key opened no chooser: $(cat chooser.log)"
}
chooser_ended() { [ "$(grep -c "^end" chooser.log)" -eq "$1" ]; }
# The text the desktop's dialog was given last comes in lines of 64 characters at most, some
# 470 pixels in zenity's font, and holds what is given whole.
text_fits() {
  [ "$(awk '{ if (length > m) m = length } END { print m + 0 }' chooser.text)" -le 64 ] &&
    tr -d '\n' <chooser.text | grep -q "$1" ||
    fail "$2 does not come in lines that fit: $(cat chooser.text)"
}
# User and system time of the game's main thread, in clock ticks (fields 14 and 15 of its
# stat, counted after the name in parentheses).
ticks() {
  local stat
  stat=$(cat /proc/$game/task/$game/stat) || return 1
  set -- ${stat##*) }
  echo $((${12} + ${13}))
}

HOME=$PWD XDG_CONFIG_HOME=$PWD XDG_CACHE_HOME=$PWD openbox >wm.log 2>&1 & wm=$!
wait_ms 30000 wm_up || {
  kill -0 "$wm" 2>/dev/null && state="still running" || state="ended"
  fail "openbox did not start ($state): $(tail -n 5 wm.log)"
}
PATH=$game_path "$quor" 2>game.err & game=$!
wait_until window_up || fail "no window titled Quor"

# Full screen: the window covers the screen.
wait_until geometry_is 1400x1000+0+0 || fail "not full screen at start: $(geometry)"

# A second copy in the same game folder, with the same runtime folder, is refused in the
# desktop's box: the single-copy sentence first, as ever, then whose game runs there, as for
# another user's game in the folder. It said only the first.
printf '0 0\n' >chooser.plan
: >chooser.log
: >chooser.text
PATH=$game_path "$quor" 2>second.err && fail "a second copy in the same folder was not refused"
grep -q -- "^start --warning --no-markup --title=Quor Error\. " chooser.log ||
  fail "the second copy's refusal is not the desktop's warning: $(cat chooser.log)"
[ "$(head -n 1 chooser.text)" = "Cannot create more than one Quor instance! " ] ||
  fail "the second copy's box does not begin with the single-copy sentence: $(cat chooser.text)"
tr '\n' ' ' <chooser.text | grep -qF "Another game runs in the same game folder \"$PWD\", $(id -un)'s." ||
  fail "the second copy's box does not say whose game runs in the folder: $(cat chooser.text)"

# A chooser stays above the full-screen game until it is answered: a click on the game
# must not raise the game over it, where the game would wait, paused, behind its picture.
# The stand-in's window claims no owner, as zenity's file chooser does.
id_of() { xwininfo -name "$1" 2>/dev/null | awk '/Window id:/{print $4}'; }
named_up() { [ -n "$(id_of "$1")" ]; }
# Whether the window named stands above the game in the window manager's stacking order.
above_game() {
  local of game_at=-1 at=-1 i=0 id
  of=$(id_of "$1")
  [ -n "$of" ] || return 1
  for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//; s/,/ /g'); do
    [ $((id)) -eq $(($(window_id))) ] && game_at=$i
    [ $((id)) -eq $((of)) ] && at=$i
    i=$((i + 1))
  done
  [ $game_at -ge 0 ] && [ $at -gt $game_at ]
}
# It is titled as the system's own: zenity's own title is its name.
open_chooser "w20 1"
wait_until named_up "Save As" || fail "no chooser titled \"Save As\" for a save: $(cat chooser.log)"
wait_until above_game "Save As" || fail "the chooser did not come up above the game"
# Away from the chooser, which the window manager centres.
xdotool mousemove 100 100 click 1
sleep 0.5
above_game "Save As" || fail "a click on the full-screen game hid the chooser behind the game"
xdotool windowclose "$(id_of "Save As")"
wait_until chooser_ended 1 || fail "the chooser did not end: $(cat chooser.log)"
# The game takes keys again once it has seen the chooser end.
sleep 0.3

# The game's own message boxes are the desktop's too, and belong to its window: a damaged
# saved game, loaded, is told in a warning.
echo damaged >bad.sav
chooser_key=F6 open_chooser "w20 0 bad.sav" "w20 0"
wait_until named_up Open || fail "no chooser titled \"Open\" for a load: $(cat chooser.log)"
xdotool windowclose "$(id_of Open)"
wait_until named_up "Load error ." || fail "no box for a damaged saved game: $(cat chooser.log)"
grep -q -- "^start --warning --no-markup --title=Load error . --text=The saved game" chooser.log ||
  fail "the box is not the desktop's warning with the game's caption: $(cat chooser.log)"
# It is made one as soon as the window manager has taken it on.
owned_by_game() {
  owner=$(xprop -id "$(id_of "$1")" WM_TRANSIENT_FOR | sed -n 's/.*# //p')
  [ -n "$owner" ] && [ $((owner)) -eq $(($(window_id))) ]
}
wait_until owned_by_game "Load error ." ||
  fail "the box is not a dialog of the game's window: WM_TRANSIENT_FOR ${owner:-unset}"
box_focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($(id_of "$1")))" ]; }
wait_until box_focused "Load error ." || fail "the box did not get the focus"
xdotool windowclose "$(id_of "Load error .")"
wait_until chooser_ended 2 || fail "the box did not end: $(cat chooser.log)"
wait_until focused || fail "the game did not get the focus back after its box"
sleep 0.3

# A save the file system refuses is told in a box that fits the screen, however long the
# name it quotes: 254 characters and ".sav" once made a box 2,326 pixels wide, its button
# out of reach.
: >chooser.text
open_chooser "0 0 $(printf 'n%.0s' $(seq 254))" "0 0"
wait_until chooser_ended 2 || fail "no box for a name too long to save: $(cat chooser.log)"
grep -q -- "^start --warning .*--title=Save error \. " chooser.log || fail "no save error box: $(cat chooser.log)"
text_fits "$(printf 'n%.0s' $(seq 254)).sav" "the save error box"
grep -q "File name too long" game.err || fail "the save error does not say why: $(tail -n 1 game.err)"
wait_until focused || fail "the game did not get the focus back after the save error box"
sleep 0.3

# The frame-rate text in full screen, to be found again in the window.
hold_until F11 text_shown || fail "no frame-rate text in full screen"
read -r fl ft fr fb <<<"$box"
keep_shot full-screen

# F12: a 640 x 480 window, whose picture is the frame at its own size. Full screen showed
# that picture scaled twice (the largest whole multiple that fits 1400 x 1000) and centred
# in a border of (60, 20).
scaled_twice_and_centred() {
  text_shown || return 1
  read -r wl wt wr wb <<<"$box"
  [ "$fl" -eq $((60 + 2 * wl)) ] && [ "$ft" -eq $((20 + 2 * wt)) ] &&
    [ $((fb - ft + 1)) -eq $((2 * (wb - wt + 1))) ]
}
switch_mode size_is 640x480 || fail "F12 gave no 640 x 480 window: $(geometry)"
wait_until scaled_twice_and_centred ||
  fail "full screen is not the window's picture twice over and centred:" \
    "text at $fl $ft $fr $fb in full screen, at ${wl:-?} ${wt:-?} ${wr:-?} ${wb:-?} in the window"
keep_shot window

# The window's frame is fixed: the window manager refuses the user a new size.
xdotool windowsize "$(window_id)" 800 600
sleep 1
size_is 640x480 || fail "the window could be resized: $(geometry)"

# The window manager's own full screen (its key or menu) shows the picture as F12's does:
# the window once kept its 640 x 480 in the screen's corner, the rest black. Taken back, it
# leaves the window as it was.
python3 "$here/net_wm_state.py" "$(window_id)" add FULLSCREEN
as_full_screen() { text_shown && [ "$box" = "$fl $ft $fr $fb" ]; }
wait_until geometry_is 1400x1000+0+0 || fail "the window manager's full screen did not cover the screen: $(geometry)"
wait_until as_full_screen ||
  fail "the window manager's full screen does not show the picture as F12's: text at $box, not $fl $ft $fr $fb"
python3 "$here/net_wm_state.py" "$(window_id)" remove FULLSCREEN
wait_until size_is 640x480 || fail "the window manager's full screen, taken back, left $(geometry)"
wait_until scaled_twice_and_centred || fail "the window's picture changed after the window manager's full screen"

# The user minimises the window and restores it. A running game then hides the text (F11)
# and draws black frames after F12; a paused one would ignore F11 and present nothing, so
# the text would stay.
xdotool windowminimize "$(window_id)"
wait_until map_state_is IsUnMapped || fail "the window was not minimised"
xdotool windowactivate "$(window_id)" 2>/dev/null
wait_until map_state_is IsViewable || fail "the window was not restored"
wait_until focused || fail "the restored window did not get the focus"
sleep 0.2
xdotool keydown F11
sleep 0.5
xdotool keyup F11
switch_mode geometry_is 1400x1000+0+0 || fail "F12 did not go back to full screen: $(geometry)"
wait_until text_gone || fail "the game stayed paused after a minimise and restore"
keep_shot full-screen-after-restore

switch_mode size_is 640x480 || fail "F12 did not give the 640 x 480 window again: $(geometry)"
hold_until F11 text_shown || fail "no frame-rate text in the window"

# The game waits for the chooser inside its frame, as for a modal dialog, and like the
# owner of one its window stays alive meanwhile: a window that leaves the window manager's
# ping unanswered is offered to be force-quit. The wait itself costs no processor time.
open_chooser "6 1"
python3 "$here/net_wm_ping.py" "$(window_id)" 1 || fail "the window did not answer a ping while the chooser was open"
t0=$(ticks)
sleep 2
t1=$(ticks)
[ $((t1 - t0)) -le $(($(getconf CLK_TCK) / 5)) ] ||
  fail "waiting for the chooser took $((t1 - t0)) clock ticks of the main thread in 2 s"
wait_until chooser_ended 1 || fail "the chooser did not end: $(cat chooser.log)"

# The overwrite question is about the file that will be written: "one" saves as one.sav.
# A no goes back to the chooser, a yes replaces the file.
echo old >one.sav
open_chooser "0 0 one" "0 1" "0 1"
wait_until chooser_ended 3 || fail "a no to replacing one.sav did not go back to the chooser: $(cat chooser.log)"
echo old | cmp -s - one.sav || fail "one.sav was replaced though the question was answered no"
grep -q -- '^start --question .*The file "one.sav" exists' chooser.log ||
  fail "no question about one.sav: $(cat chooser.log)"
grep -q -- "--confirm-overwrite" chooser.log && fail "the chooser asks its own overwrite question: $(cat chooser.log)"
open_chooser "0 0 one" "0 0"
replaced() { ! echo old | cmp -s - one.sav; }
wait_until replaced || fail "one.sav was not replaced after a yes: $(cat chooser.log)"

# zenity makes a box as wide as its text's longest line: a question about a name of 180
# characters once made one 1,563 pixels wide, its Yes and No off the screen. Its texts,
# the question and the refusal of a name that is not there, come in lines that fit, and
# the name is whole in them.
long=$(printf 'n%.0s' $(seq 180))
echo old >"$long.sav"
: >chooser.text
open_chooser "0 0 $long" "0 1" "0 1"
wait_until chooser_ended 3 || fail "no question about replacing $long.sav: $(cat chooser.log)"
text_fits "$long.sav" "the question about replacing a file with a long name"
: >chooser.text
chooser_key=F6 open_chooser "0 0 o$long.sav" "0 0" "0 1"
wait_until chooser_ended 3 || fail "no refusal of a missing file: $(cat chooser.log)"
text_fits "o$long.sav" "the refusal of a missing file with a long name"
# The chooser opens again at the name refused, not empty in the game's folder.
grep -q -- "^start .*--filename=o$long.sav " chooser.log ||
  fail "the chooser did not open again at the name refused: $(cat chooser.log)"

# kdialog asks on its own before it returns a file that is there: that file is not asked
# about again. The stand-in plays kdialog where zenity is missing.
mv bin/zenity bin/kdialog
echo old >one.sav
open_chooser "0 0 $PWD/one.sav"
wait_until replaced || fail "one.sav was not saved with kdialog: $(cat chooser.log)"
grep -q -- "--warningyesno" chooser.log && fail "kdialog's answer was asked about again: $(cat chooser.log)"
grep -q -- "^start --title Save As --getsavefilename" chooser.log ||
  fail "kdialog's chooser is not titled \"Save As\": $(cat chooser.log)"
mv bin/kdialog bin/zenity

# A save that meets another game saving in the same folder waits for it, up to 5 s, inside
# the key's handling. The window stayed unanswering and unchanged all that while, and a
# desktop offers to force-quit such a window: it answers pings now, and its title says why
# the game stands still. The other game is the headless runner, held by the fault library
# just before it renames its replay into this folder, its save under way; it runs in a game
# folder of its own, since no two games run in one.
build=$(dirname "$quor")
mkdir other
ln -s "$build/game/BITMAPS" "$build/game/Sounds" other/
start_other_save() {
  rm -f go go.held
  LD_PRELOAD="$build/libquor_fault_preload.so" QUOR_FAULTS="rename:pair.rep:hold=$PWD/go" \
    ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0" "$build/quor_headless" --dir other \
    --do "10 tap F1" --do "50 tap F2" --do "60 answer $PWD/pair.rep" --do "60 tap F7" \
    --frames 80 >other.out 2>&1 &
  other=$!
  wait_until test -e go.held || fail "the other game did not begin its save: $(cat other.out)"
}
# The wait is seen as it begins, from the window system's notice of the new title, and the
# other game's save is held until the test has seen the wait through. The title is looked
# for on whichever window the game has then: the first one a game opens may give way to
# another as its drawing starts. watch_wait starts looking; seen_wait gives the window in
# $gid once the title has said the game waits.
waiting="Quor - Waiting for another game's save"
watch_wait() { python3 "$here/window_titled.py" "$game" "$waiting" 30 >titled.out & watcher=$!; }
seen_wait() {
  wait "$watcher"
  local status=$?
  watcher=
  [ $status -eq 0 ] && gid=$(cat titled.out)
}
title_is() { xprop -id "$gid" _NET_WM_NAME 2>/dev/null | grep -qF "= \"$1\""; }
# Full screen shows no title: a band over the top of the picture says it too. It is of the
# prompt's dark blue, which nothing else shows here.
band_pixels() { xwd -id "$gid" -silent -out shot.xwd 2>/dev/null && python3 "$here/screen.py" count shot.xwd 202040; }
# The game's "try again in a moment", as a save that waited 5 s in vain ends: how many so far.
gave_up() { grep -c "another game is saving in the same folder" game.err; }
gave_up_since() { [ "$(gave_up)" -gt "$1" ]; }
saved_or_gave_up_since() { [ -e waits.sav ] || gave_up_since "$1"; }
# One save that waits, false where the wait ran out before the test had seen it through, as
# it can on a machine too busy for the test to keep up: the game then says to try again in
# a moment, and so the test does.
save_waits() {
  local before pinged=no band other_status
  [ -n "${other:-}" ] || start_other_save
  before=$(gave_up)
  watch_wait
  open_chooser "0 0 waits.sav"
  wait_until chooser_ended 1 || fail "the chooser did not end: $(cat chooser.log)"
  seen_wait || fail "the save did not wait, or its title does not say so: $(cat titled.out)"
  python3 "$here/net_wm_ping.py" "$gid" 1 && pinged=yes
  band=$(band_pixels)
  keep_shot save-waits
  # A key pressed meanwhile is not taken, as while a chooser is open: F11 leaves the frame
  # rate shown.
  xdotool keydown F11
  sleep 0.3
  xdotool keyup F11
  # What was seen, was seen within the wait where the title still says so.
  if title_is "$waiting"; then
    [ $pinged = yes ] || fail "the window did not answer a ping while its save waited"
    [ "$band" -gt 12000 ] || fail "no band over the picture says the game waits: $band of its pixels"
    : >go
    wait "$other"
    other_status=$?
    other=
    [ $other_status -eq 0 ] || fail "the other game failed: $(cat other.out)"
    rm -f pair.rep pair.sar
    wait_until saved_or_gave_up_since "$before" ||
      fail "the save that waited was not made: $(tail -n 3 game.err)"
    [ -e waits.sav ] && return 0
  fi
  wait_until gave_up_since "$before" ||
    fail "the title stopped saying the game waits before its save ended: $(xprop -id "$gid" _NET_WM_NAME)"
  wait_until chooser_ended 2 || fail "the box after the wait did not end: $(cat chooser.log)"
  wait_until focused || fail "the game did not get the focus back after the box after the wait"
  sleep 0.3
  text_shown || hold_until F11 text_shown || fail "no frame-rate text after a save that waited in vain"
  return 1
}
save_waits || save_waits || save_waits ||
  fail "the save that waited was not made, three times: $(tail -n 3 game.err)"
wait_until title_is Quor || fail "the title did not come back after the wait: $(xprop -id "$gid" _NET_WM_NAME)"
[ "$(band_pixels)" -eq 0 ] || fail "the band stayed over the picture after the wait"
text_shown || fail "a key pressed while the save waited was taken"
rm -f go go.held waits.sav

# Without a chooser on the desktop, the name is typed into a prompt in the game's window.
# A save there that fails is told in a box drawn over the game's picture, and behind the
# box stands the game's own picture: the whole prompt, its "Enter to accept, Escape to
# cancel" included, used to stay drawn there while the box was open. The prompt's page and
# the box are the only things of their dark blue, the page filling the window and the box
# no more than 560 x 440 of it; the box's caption bar and button are of a blue of their own.
mv bin/zenity zenity.away
prompt_pixels() {
  xwd -name Quor -silent -out shot.xwd 2>/dev/null && python3 "$here/screen.py" count shot.xwd 202040
}
prompt_up() { [ "$(prompt_pixels)" -gt 250000 ]; }
prompt_gone() { [ "$(prompt_pixels)" -lt 246400 ]; }
box_pixels() {
  xwd -name Quor -silent -out shot.xwd 2>/dev/null && python3 "$here/screen.py" count shot.xwd 404080
}
box_drawn() { [ "$(box_pixels)" -gt 1000 ]; }
box_gone() { [ "$(box_pixels)" -eq 0 ]; }
wait_until focused || fail "the game's window lost the focus before F5 without a chooser"
hold_until F5 prompt_up || fail "F5 without a chooser showed no prompt in the window"
# 254 letters and ".sav": too long a name for the file system.
xdotool type "$(printf 'n%.0s' $(seq 254))"
xdotool key Return
wait_until box_drawn || fail "no box for a name too long to save from the prompt"
named_up "Save error ." && fail "the box after the prompt is a window of its own, not drawn in the game's"
wait_until prompt_gone ||
  fail "the prompt stayed drawn behind the box: $(prompt_pixels) of its pixels"
keep_shot box-after-prompt
xdotool key Return
wait_until box_gone || fail "the box after the prompt did not go with Return"
# The box goes with a click on its OK button too, the middle of the lowest of its blue.
hold_until F7 box_drawn || fail "F7 with nothing recorded drew no box in the window"
read -r bl bt br bb <<<"$(python3 "$here/screen.py" where shot.xwd 404080)"
xdotool mousemove --window "$(window_id)" $(((bl + br) / 2)) $((bb - 4)) click 1
wait_until box_gone || fail "the box did not go with a click on OK"
wait_until focused || fail "the game's window lost the focus to its box"
# The box kept what the keys did while it was open: a key let go meanwhile stayed down
# after it. F7 four times, each box closed with Return, showed two boxes, the second F7 taken
# as the first still held; and F11 let go during F3's box was no press when pressed again.
for box in 1 2 3 4; do
  xdotool keydown F7
  wait_ms 5000 box_drawn || { xdotool keyup F7; fail "F7 number $box drew no box"; }
  xdotool keyup F7 && xdotool key Return
  wait_until box_gone || fail "box $box did not go with Return"
done
xdotool keydown F11
wait_ms 5000 text_gone || { xdotool keyup F11; fail "F11 did not hide the frame-rate text"; }
xdotool keydown F3
wait_ms 5000 box_drawn || { xdotool keyup F3 F11; fail "F3 with F11 held drew no box"; }
xdotool keyup F3 F11 && xdotool key Return
wait_until box_gone || fail "the box with F11 let go did not go with Return"
xdotool keydown F11
wait_ms 5000 text_shown
shown=$?
xdotool keyup F11
[ $shown -eq 0 ] || fail "F11, let go while a box was open, was no press when pressed again"
mv zenity.away bin/zenity

# F7 with nothing recorded says so in a box. While it is open the window answers the
# window manager's ping, as while a chooser is: SDL's box left the window unanswered, and a
# desktop offers to force-quit such a window. A game killed with the box open leaves no
# window of its own: SDL's box, a copy of the game, kept the game's window on the screen
# and its lock held, so the next game was refused until the orphan box was answered. The
# next game, started at once in the same folder, opens its window and runs. With zenity,
# with kdialog, and with neither, where the box is drawn in the game's window.
game_gone() { ! window_up && ! named_up "Replay error ." && ! kill -0 "$game" 2>/dev/null; }
# A new game, started at once in the same folder after the last one ended $1.
start_again() {
  PATH=$game_path "$quor" 2>game.err & game=$!
  wait_until window_up || fail "no game started after one $1: $(cat game.err)"
  wait_until geometry_is 1400x1000+0+0 || fail "the game started after one $1 is not full screen: $(geometry)"
}
box_then_kill() {
  local how=$1
  wait_until focused || fail "the game's window lost the focus before F7 ($how)"
  if [ "$how" = neither ]; then
    hold_until F7 box_drawn || fail "F7 with nothing recorded drew no box in the window"
  else
    chooser_key=F7 open_chooser "x30 0"
    wait_until named_up "Replay error ." || fail "F7 with nothing recorded showed no box with $how"
  fi
  sleep 1.5
  python3 "$here/net_wm_ping.py" "$(window_id)" 1 ||
    fail "the window did not answer a ping while a box was open ($how)"
  kill -KILL "$game"
  wait "$game" 2>/dev/null
  wait_until game_gone || fail "a window of the game killed with its box open ($how) stayed"
  start_again "killed with its box open ($how)"
  hold_until F11 text_shown || fail "the game started after one killed with its box open ($how) does not run"
  grep -q "Cannot create more than one" game.err && fail "the game started after one killed ($how) was refused"
}
box_then_kill zenity
mv bin/zenity bin/kdialog
box_then_kill kdialog
grep -q -- "^start --title Replay error . --sorry Nothing has been recorded" chooser.log ||
  fail "kdialog was not shown the box as a warning with its caption: $(cat chooser.log)"
mv bin/kdialog zenity.away
box_then_kill neither

# Stopped with a box open, by a signal or a close of its window, the game closes the box and
# ends as it would without one, asking nothing more first.
ends_with_box_closed() {
  local how=$1 status
  wait "$game"
  status=$?
  [ $status -eq 0 ] || fail "the game ended with $status when it $how"
  game_gone || fail "a window of the game stayed when it $how"
  start_again "$how"
}
wait_until focused || fail "the game's window lost the focus before F7"
hold_until F7 box_drawn || fail "F7 with nothing recorded drew no box in the window"
python3 "$here/net_wm_state.py" "$(window_id)" close
ends_with_box_closed "was closed while its box was open"
mv zenity.away bin/zenity
wait_until focused || fail "the game's window lost the focus before F7"
chooser_key=F7 open_chooser "x30 0"
wait_until named_up "Replay error ." || fail "F7 with nothing recorded showed no box"
kill -TERM "$game"
ends_with_box_closed "was stopped while its box was open"

# Closed while a save waits for another game's, the game gives the save up and ends within
# the wait, with nothing saved and no box: it sat the wait out, showed "Save error ." and
# ended only once that box was answered.
rm -f pair.rep pair.sar
start_other_save
game_window() { gid=$(window_id 2>/dev/null) && [ -n "$gid" ]; }
wait_until game_window || fail "no game window to close while its save waits"
watch_wait
open_chooser "0 0 gives-up.sav"
seen_wait || fail "the save did not wait: $(cat titled.out)"
python3 "$here/net_wm_state.py" "$gid" close
wait_ms 3000 game_gone || fail "the game closed while its save waited did not end within the wait"
grep -q "Save error" game.err && fail "the game closed while its save waited showed a box"
[ -e gives-up.sav ] && fail "the save given up was made all the same"
ends_with_box_closed "was closed while its save waited"
touch go
wait "$other" || fail "the other game failed: $(cat other.out)"
other=
wait_until focused || fail "the game started last did not get the focus"
hold_until F11 text_shown || fail "the game started last does not run"
# What follows plays in the 640 x 480 window, the frame-rate text shown.
switch_mode size_is 640x480 || fail "F12 gave no 640 x 480 window in the game started last: $(geometry)"

# A window manager that sizes windows its own way is played by none at all: the X server
# gives the window whatever size is asked. 1000 x 600 holds the frame at 800 x 600, a
# quarter larger, with bars of 100 to the left and right.
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
xdotool windowsize "$(window_id)" 1000 600
wait_until size_is 1000x600 || fail "the window was not given 1000 x 600: $(geometry)"
near() { [ $(($1 - $2)) -le 2 ] && [ $(($2 - $1)) -le 2 ]; }
fills_keeping_shape() {
  text_shown || return 1
  read -r gl gt gr gb <<<"$box"
  near "$gl" $((100 + wl * 5 / 4)) && near "$gt" $((wt * 5 / 4)) &&
    near $((gb - gt + 1)) $(((wb - wt + 1) * 5 / 4))
}
wait_until fills_keeping_shape ||
  fail "the 1000 x 600 window does not show the frame at 800 x 600 between bars:" \
    "text at ${gl:-?} ${gt:-?} ${gr:-?} ${gb:-?}, at $wl $wt $wr $wb in the 640 x 480 window"
keep_shot window-filled

kill -TERM "$game"
wait "$game"
status=$?
[ $status -eq 0 ] || fail "quor ended with $status"

# With no window manager at all (a kiosk, a remote display) the game makes its full screen
# and takes the keyboard itself. The window stayed 640 x 480, which SDL took for full screen
# all the same: the picture was drawn for the screen and cut, and so was a box drawn in it.
# F12 works both ways, the whole picture shown where a window manager shows it. Boxes and
# names are asked in the game's window, with zenity or kdialog on its PATH too: zenity's
# chooser, wider than the screen, never got the keyboard, and after kdialog's the keyboard
# went to the root window and the game stayed paused for good.
full_screen_place() { text_shown && read -r l t _ b <<<"$box" && [ "$l $t $b" = "$fl $ft $fb" ]; }
no_dialog_run() {
  grep -q "^start" chooser.log && fail "$1 was run without a window manager: $(cat chooser.log)"
  return 0
}
: >chooser.log
PATH=$game_path "$quor" 2>game.err & game=$!
wait_until geometry_is 1400x1000+0+0 || fail "not full screen without a window manager: $(geometry)"
wait_until focused || fail "the game did not get the keyboard without a window manager"
hold_until F11 text_shown && wait_until full_screen_place ||
  fail "full screen without a window manager: text at $box"
switch_mode size_is 640x480 && wait_until focused || fail "F12 without a window manager: $(geometry)"
wait_until scaled_twice_and_centred || fail "the window without a window manager: text at $box"
keep_shot bare-window
hold_until F7 box_drawn || fail "F7 drew no box in the window without a window manager"
read -r bl bt br bb <<<"$(python3 "$here/screen.py" where shot.xwd 404080)"
keep_shot bare-box
near $(((bl + br) / 2)) 320 && [ "$bt" -gt 0 ] && [ "$bb" -lt 479 ] ||
  fail "the box is cut: its blue at $bl $bt $br $bb"
xdotool key Return
wait_until box_gone || fail "the box did not go with Return"
no_dialog_run zenity
switch_mode geometry_is 1400x1000+0+0 && wait_until focused || fail "a second F12: $(geometry)"
wait_until full_screen_place || fail "full screen again without a window manager: text at $box"
keep_shot bare-full-screen
save_from_prompt() {
  local program=$1
  : >chooser.log
  wait_until focused || fail "the game's window lost the keyboard before F5 with $program"
  hold_until F5 prompt_up ||
    fail "F5 without a window manager showed no prompt with $program: $(cat chooser.log)"
  keep_shot "bare-prompt-$program"
  xdotool type "bare-$program"
  xdotool key Return
  wait_until test -e "bare-$program.sav" || fail "no bare-$program.sav saved from the prompt"
  wait_until prompt_gone || fail "the prompt stayed after its save with $program"
  no_dialog_run "$program"
}
save_from_prompt zenity
mv bin/zenity bin/kdialog
save_from_prompt kdialog
switch_mode size_is 640x480 && wait_until focused || fail "F12 after the saves from the prompt: $(geometry)"
switch_mode geometry_is 1400x1000+0+0 && wait_until focused ||
  fail "a second F12 after the saves from the prompt: $(geometry)"

# A window manager that starts after the game serves it as one there from the start: F12
# gives a framed 640 x 480 window and then the window manager's full screen. The window
# stayed borderless at the screen's size until the game ended.
framed() {
  xprop -id "$(window_id)" _NET_FRAME_EXTENTS 2>/dev/null |
    awk -F' = ' '/=/{ split($2, e, ", "); ok = e[3] > 0 } END { exit !ok }'
}
wm_full_screen() { xprop -id "$(window_id)" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_FULLSCREEN; }
HOME=$PWD XDG_CONFIG_HOME=$PWD XDG_CACHE_HOME=$PWD openbox >wm.log 2>&1 & wm=$!
wait_ms 30000 wm_up || fail "openbox did not start after the game: $(tail -n 5 wm.log)"
# It takes the window on without giving it the keyboard, as it does any window there before
# it: the player clicks the window.
taken_on() { xprop -id "$(window_id)" _NET_FRAME_EXTENTS 2>/dev/null | grep -q =; }
click_takes_keyboard() {
  xdotool mousemove --window "$(window_id)" 320 240 click 1
  wait_ms 1000 focused
}
wait_until taken_on || fail "the window manager started late did not take the window on"
wait_until click_takes_keyboard || fail "a click did not give the keyboard to the game's window"
switch_mode size_is 640x480 && wait_until framed ||
  fail "F12 under a window manager started late gave no framed 640 x 480 window:" \
    "$(geometry), $(xprop -id "$(window_id)" _NET_FRAME_EXTENTS)"
wait_until scaled_twice_and_centred || fail "the window under a window manager started late: text at $box"
keep_shot late-wm-window
switch_mode geometry_is 1400x1000+0+0 && wait_until wm_full_screen ||
  fail "a second F12 under a window manager started late: $(geometry), $(xprop -id "$(window_id)" _NET_WM_STATE)"
wait_until full_screen_place || fail "full screen under a window manager started late: text at $box"
keep_shot late-wm-full-screen

kill -TERM "$game"
wait "$game" || fail "quor ended with $? without a window manager"
kill "$wm" 2>/dev/null
echo "desktop session: ok"
