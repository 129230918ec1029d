# Sourced by the desktop tests: starts a virtual X display of the size given in
# $screen_size (say 1024x768x24) for this shell and its children, and stops it on exit.
# The server picks a free display number itself, so tests running side by side, ours or
# another developer's, never race for one.
command -v Xvfb >/dev/null || { echo "Xvfb missing (scripts/ensure-packages installs it)"; exit 1; }
# -noreset: by default the server starts over as its last client leaves, and refuses whoever
# connects meanwhile; a test's first look for the window manager, made before the window
# manager had connected, left it unable to open the display.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${screen_size:-1024x768x24}" -nolisten tcp -noreset 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
# Up to 30 s, for a machine busy with a parallel test run.
for _ in $(seq 1 600); do [ -s "$display_file" ] && break; sleep 0.05; done
[ -s "$display_file" ] || { echo "Xvfb did not start"; kill "$xvfb_pid" 2>/dev/null; exit 1; }
export DISPLAY=":$(head -n 1 "$display_file")"
# The game meets this display alone, never the desktop the tests were started from.
unset WAYLAND_DISPLAY WAYLAND_SOCKET SDL_VIDEODRIVER
rm -f "$display_file"
stop_virtual_display() { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
