#include "platform/sdl/window_manager_state.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

#include "platform/sdl/x11_properties.h"

namespace platform {

namespace {

// The X11 display and window of an SDL window; false where it is not an X11 one.
bool X11Window(SDL_Window* window, Display*& display, Window& x11) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return false;
  display = info.info.x11.display;
  x11 = info.info.x11.window;
  return true;
}

bool Holds(const std::vector<unsigned long>& atoms, Atom atom) {
  return std::find(atoms.begin(), atoms.end(), atom) != atoms.end();
}

}  // namespace

bool WindowManagerStateChanged(const SDL_SysWMmsg& message, SDL_Window* window, bool& fullScreen) {
  Display* display = nullptr;
  Window x11 = None;
  if (message.subsystem != SDL_SYSWM_X11 || !X11Window(window, display, x11)) return false;
  const XEvent& event = message.msg.x11.event;
  if (event.type != PropertyNotify || event.xproperty.window != x11 ||
      event.xproperty.atom != XInternAtom(display, "_NET_WM_STATE", False))
    return false;
  fullScreen = Holds(X11Values(display, x11, "_NET_WM_STATE", XA_ATOM),
                     XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
  return true;
}

bool WindowManagerServes(SDL_Window* window) {
  Display* display = nullptr;
  Window x11 = None;
  if (!X11Window(window, display, x11)) return true;
  const Window root = DefaultRootWindow(display);
  // A window manager that has ended may leave its word on the root window: its own window,
  // gone by then, must still say the same.
  X11ErrorsIgnored quietly(display);
  const std::vector<unsigned long> check =
      X11Values(display, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
  return check.size() == 1 &&
         X11Values(display, check[0], "_NET_SUPPORTING_WM_CHECK", XA_WINDOW) == check &&
         Holds(X11Values(display, root, "_NET_SUPPORTED", XA_ATOM),
               XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
}

}  // namespace platform
