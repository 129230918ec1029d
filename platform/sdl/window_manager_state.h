// What the window manager does for the game's window, or did to it on its own, read from
// the X11 display. Where the window is not an X11 one nothing is ever read.
#pragma once

struct SDL_Window;
struct SDL_SysWMmsg;

namespace platform {

// True when message tells that the window manager changed the window's state (its full
// screen key or menu, a pager); fullScreen is then whether the window is now full screen.
bool WindowManagerStateChanged(const SDL_SysWMmsg& message, SDL_Window* window, bool& fullScreen);

// True where a window manager looks after the window: one runs on its display, and it makes
// windows full screen when asked. Where none does (a bare X server: a kiosk, a remote
// display), nobody honours SDL's full screen, which SDL takes for done all the same, nor
// gives the window the keyboard. Always true of a window that is not an X11 one.
bool WindowManagerServes(SDL_Window* window);

}  // namespace platform
