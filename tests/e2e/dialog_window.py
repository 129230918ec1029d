#!/usr/bin/env python3
"""Shows a window as a desktop's dialog program does, for the stand-in choosers.

  dialog_window.py TITLE SECONDS   maps a top-level dialog window titled TITLE, whose
                                   _NET_WM_PID names this process, and ends after SECONDS
                                   or once the window is destroyed (xdotool windowclose),
                                   as a user closes a dialog; exit 2 without a display

The window claims no owner: like zenity's file chooser it is a dialog of its own, and
whatever makes it stay above the game must come from the game. Only the standard
library: libX11 through ctypes.
"""
import ctypes
import os
import select
import sys
import time

import xlib
from xlib import Atom, Window

PropModeReplace = 0
StructureNotifyMask = 1 << 17
DestroyNotify = 17
XA_ATOM = 4
XA_CARDINAL = 6


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    title, seconds = sys.argv[1].encode(), float(sys.argv[2])
    x = xlib.load()
    x.XCreateSimpleWindow.restype = Window
    x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int,
                                      ctypes.c_uint, ctypes.c_uint, ctypes.c_uint,
                                      ctypes.c_ulong, ctypes.c_ulong]
    x.XStoreName.argtypes = [ctypes.c_void_p, Window, ctypes.c_char_p]
    x.XChangeProperty.argtypes = [ctypes.c_void_p, Window, Atom, Atom, ctypes.c_int,
                                  ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
    x.XMapRaised.argtypes = [ctypes.c_void_p, Window]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]

    display = x.XOpenDisplay(None)
    if not display:
        print('dialog_window: no display')
        return 2
    window = x.XCreateSimpleWindow(display, x.XDefaultRootWindow(display), 100, 100, 400, 300,
                                   0, 0, 0xc0c0c0)
    x.XStoreName(display, window, title)
    pid = ctypes.c_long(os.getpid())
    x.XChangeProperty(display, window, x.XInternAtom(display, b'_NET_WM_PID', 0), XA_CARDINAL,
                      32, PropModeReplace, ctypes.byref(pid), 1)
    kind = Atom(x.XInternAtom(display, b'_NET_WM_WINDOW_TYPE_DIALOG', 0))
    x.XChangeProperty(display, window, x.XInternAtom(display, b'_NET_WM_WINDOW_TYPE', 0), XA_ATOM,
                      32, PropModeReplace, ctypes.byref(kind), 1)
    x.XSelectInput(display, window, StructureNotifyMask)
    x.XMapRaised(display, window)
    x.XFlush(display)
    deadline = time.monotonic() + seconds
    event = (ctypes.c_long * 24)()  # an XEvent, whose first member is its type
    while True:
        while x.XPending(display):
            x.XNextEvent(display, event)
            if ctypes.cast(event, ctypes.POINTER(ctypes.c_int))[0] == DestroyNotify:
                return 0
        left = deadline - time.monotonic()
        if left <= 0:
            return 0
        select.select([x.XConnectionNumber(display)], [], [], left)


if __name__ == '__main__':
    sys.exit(main())
