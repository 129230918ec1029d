// What the host reads of X11 windows it does not own (the window manager's, a dialog's),
// any of which may be gone by the time it is asked about.
#pragma once

#include <X11/Xlib.h>

#include <vector>

namespace platform {

// Errors of the requests made while one of these lives are no fault of the game's and are
// let go, where Xlib's own handler would end the program.
class X11ErrorsIgnored {
 public:
  explicit X11ErrorsIgnored(Display* display);
  ~X11ErrorsIgnored();
  X11ErrorsIgnored(const X11ErrorsIgnored&) = delete;
  X11ErrorsIgnored& operator=(const X11ErrorsIgnored&) = delete;

 private:
  Display* display_;
  int (*previous_)(Display*, XErrorEvent*);
};

// The 32-bit values of a window's property of the type given, as Xlib hands them (in
// longs); none where the window or the property is not there.
std::vector<unsigned long> X11Values(Display* display, Window window, const char* name, Atom type);

}  // namespace platform
