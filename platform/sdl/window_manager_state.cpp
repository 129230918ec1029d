#include "platform/sdl/window_manager_state.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform {

bool WindowManagerStateChanged(const SDL_SysWMmsg& message, SDL_Window* window, bool& fullScreen) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (message.subsystem != SDL_SYSWM_X11 || !window || !SDL_GetWindowWMInfo(window, &info) ||
      info.subsystem != SDL_SYSWM_X11)
    return false;
  const XEvent& event = message.msg.x11.event;
  Display* display = info.info.x11.display;
  const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  if (event.type != PropertyNotify || event.xproperty.window != info.info.x11.window ||
      event.xproperty.atom != state)
    return false;
  const Atom full = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  fullScreen = false;
  if (XGetWindowProperty(display, info.info.x11.window, state, 0, 64, False, XA_ATOM, &type,
                         &format, &count, &after, &data) == Success &&
      type == XA_ATOM && format == 32 && data) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) fullScreen = fullScreen || atoms[i] == full;
  }
  if (data) XFree(data);
  return true;
}

}  // namespace platform
