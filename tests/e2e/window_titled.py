#!/usr/bin/env python3
"""Waits for a program's window to take a title.

  window_titled.py PID TITLE [SECONDS]   prints the id of the window of process PID on the
                                         window manager's list (_NET_CLIENT_LIST) once it
                                         is titled TITLE (_NET_WM_NAME), and exits 0; exits
                                         1, printing the titles it has, when SECONDS (15 by
                                         default) pass first, and 2 without a display

The titles are followed through the X server's notices of their changes, so a title that
lasts a moment is seen however busy the machine, where one looked at now and then may be
missed; the window is found through the process, whatever id the window system has given
it. Only the standard library: libX11 through ctypes.
"""
import ctypes
import select
import sys
import time

import xlib
from xlib import Atom, Window, XEvent

PropertyChangeMask = 1 << 22
AnyPropertyType = 0


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    pid, title = int(sys.argv[1]), sys.argv[2].encode()
    seconds = float(sys.argv[3]) if len(sys.argv) == 4 else 15.0
    x = xlib.load()
    x.XGetWindowProperty.argtypes = [
        ctypes.c_void_p, Window, Atom, ctypes.c_long, ctypes.c_long, ctypes.c_int, Atom,
        ctypes.POINTER(Atom), ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
        ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
    x.XFree.argtypes = [ctypes.c_void_p]
    # A window may go between being listed and being asked about: no reason to end.
    handler_type = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
    ignore = handler_type(lambda display, error: 0)
    x.XSetErrorHandler.argtypes = [handler_type]
    x.XSetErrorHandler.restype = ctypes.c_void_p
    x.XSetErrorHandler(ignore)

    display = x.XOpenDisplay(None)
    if not display:
        print('window_titled: no display')
        return 2
    root = x.XDefaultRootWindow(display)
    atom = {name: x.XInternAtom(display, name, 0)
            for name in (b'_NET_CLIENT_LIST', b'_NET_WM_PID', b'_NET_WM_NAME')}

    def prop(window, name):
        """The property's bytes, or None; its format 32 items come as C longs."""
        kind, size, count, after = Atom(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.c_void_p()
        if x.XGetWindowProperty(display, window, atom[name], 0, 1 << 16, 0, AnyPropertyType,
                                ctypes.byref(kind), ctypes.byref(size), ctypes.byref(count),
                                ctypes.byref(after), ctypes.byref(data)) != 0 or not data:
            return None
        item = ctypes.sizeof(ctypes.c_long) if size.value == 32 else size.value // 8
        value = ctypes.string_at(data, count.value * item)
        x.XFree(data)
        return value

    def longs(value):
        return list((ctypes.c_ulong * (len(value) // ctypes.sizeof(ctypes.c_ulong)))
                    .from_buffer_copy(value)) if value else []

    # Each window's changes are asked for before its title is read, so none falls between.
    x.XSelectInput(display, root, PropertyChangeMask)
    watched = set()

    def titles():
        found = {}
        for window in longs(prop(root, b'_NET_CLIENT_LIST')):
            if longs(prop(window, b'_NET_WM_PID'))[:1] != [pid]:
                continue
            if window not in watched:
                x.XSelectInput(display, window, PropertyChangeMask)
                watched.add(window)
            found[window] = prop(window, b'_NET_WM_NAME')
        return found

    deadline = time.monotonic() + seconds
    fd = x.XConnectionNumber(display)
    event = XEvent()
    while True:
        found = titles()
        for window, name in found.items():
            if name == title:
                print('0x%x' % window)
                return 0
        left = deadline - time.monotonic()
        if left <= 0:
            print('window_titled: no window of process %d titled "%s" within %g s; it has %s' %
                  (pid, title.decode(), seconds,
                   ', '.join('0x%x "%s"' % (w, (n or b'').decode(errors='replace'))
                             for w, n in found.items()) or 'none'))
            return 1
        if not x.XPending(display):
            select.select([fd], [], [], left)
        while x.XPending(display):
            x.XNextEvent(display, ctypes.byref(event))


if __name__ == '__main__':
    sys.exit(main())
