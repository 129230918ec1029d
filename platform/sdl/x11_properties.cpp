#include "platform/sdl/x11_properties.h"

namespace platform {

namespace {

int IgnoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

X11ErrorsIgnored::X11ErrorsIgnored(Display* display) : display_(display) {
  // Errors of requests made before belong to the handler that was in place for them.
  XSync(display_, False);
  previous_ = XSetErrorHandler(IgnoreError);
}

X11ErrorsIgnored::~X11ErrorsIgnored() {
  XSync(display_, False);
  XSetErrorHandler(previous_);
}

std::vector<unsigned long> X11Values(Display* display, Window window, const char* name, Atom type) {
  std::vector<unsigned long> values;
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4096, False, type,
                         &actualType, &format, &count, &after, &data) == Success &&
      actualType == type && format == 32 && data) {
    const unsigned long* items = reinterpret_cast<const unsigned long*>(data);
    values.assign(items, items + count);
  }
  if (data) XFree(data);
  return values;
}

}  // namespace platform
