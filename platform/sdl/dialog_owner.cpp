#include "platform/sdl/dialog_owner.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>
#include <vector>

#include "platform/process_info.h"
#include "platform/sdl/x11_properties.h"

namespace platform {

namespace {

pid_t ParentOf(pid_t pid) {
  ProcessInfo info;
  return ReadProcessInfo(pid, info) ? info.parent : 0;
}

bool DescendsFrom(pid_t pid, pid_t ancestor) {
  // Bounded: a process tree is shallow, and a pid reused meanwhile must not loop.
  for (int depth = 0; pid > 1 && depth < 32; ++depth) {
    if (pid == ancestor) return true;
    pid = ParentOf(pid);
  }
  return false;
}

}  // namespace

DialogOwner::DialogOwner(SDL_Window* owner, pid_t program) : program_(program) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!owner || !SDL_GetWindowWMInfo(owner, &info) || info.subsystem != SDL_SYSWM_X11) return;
  display_ = info.info.x11.display;
  owner_ = info.info.x11.window;
  root_ = DefaultRootWindow(display_);
}

void DialogOwner::Adopt() {
  if (!display_) return;
  X11ErrorsIgnored quietly(display_);
  // The windows the window manager has taken on; a window of the program is there once
  // it is mapped.
  for (unsigned long window : X11Values(display_, root_, "_NET_CLIENT_LIST", XA_WINDOW)) {
    if (!seen_.insert(window).second || window == owner_) continue;
    std::vector<unsigned long> pid = X11Values(display_, window, "_NET_WM_PID", XA_CARDINAL);
    if (pid.size() == 1 && DescendsFrom(static_cast<pid_t>(pid[0]), program_))
      XSetTransientForHint(display_, window, owner_);
  }
}

SDL_Window* BoxOwner(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info)) return nullptr;
  return info.subsystem == SDL_SYSWM_X11 || info.subsystem == SDL_SYSWM_WAYLAND ? window : nullptr;
}

}  // namespace platform
