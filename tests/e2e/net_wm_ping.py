#!/usr/bin/env python3
"""Pings a window as a window manager does (_NET_WM_PING) and waits for its answer.

  net_wm_ping.py WINDOW [SECONDS]   exit 0 when the window answered within SECONDS
                                    (default 1), 1 when it did not, 2 when it cannot be
                                    pinged (no display, or it does not take pings)

A desktop offers to force-quit a program whose window leaves the ping unanswered. The
answer is the same message sent back to the root window, where this script listens.
Only the standard library: libX11 through ctypes.
"""
import ctypes
import select
import sys
import time

import xlib
from xlib import Atom, ClientMessage, SubstructureNotifyMask, Window, XEvent


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    window = int(sys.argv[1], 0)
    seconds = float(sys.argv[2]) if len(sys.argv) == 3 else 1.0
    x = xlib.load()
    x.XGetWMProtocols.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(ctypes.POINTER(Atom)),
                                  ctypes.POINTER(ctypes.c_int)]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
    x.XFree.argtypes = [ctypes.c_void_p]

    display = x.XOpenDisplay(None)
    if not display:
        print('net_wm_ping: no display')
        return 2
    root = x.XDefaultRootWindow(display)
    protocols = x.XInternAtom(display, b'WM_PROTOCOLS', 0)
    ping = x.XInternAtom(display, b'_NET_WM_PING', 0)

    listed = ctypes.POINTER(Atom)()
    count = ctypes.c_int()
    if not x.XGetWMProtocols(display, window, ctypes.byref(listed), ctypes.byref(count)):
        count.value = 0
    takes_pings = any(listed[i] == ping for i in range(count.value))
    if listed:
        x.XFree(listed)
    if not takes_pings:
        print('net_wm_ping: window 0x%x does not list _NET_WM_PING in WM_PROTOCOLS' % window)
        return 2

    x.XSelectInput(display, root, SubstructureNotifyMask)
    stamp = int(time.monotonic() * 1000) & 0x7fffffff
    event = XEvent()
    event.xclient.type = ClientMessage
    event.xclient.window = window
    event.xclient.message_type = protocols
    event.xclient.format = 32
    event.xclient.l[0] = ping
    event.xclient.l[1] = stamp
    event.xclient.l[2] = window
    x.XSendEvent(display, window, 0, 0, ctypes.byref(event))
    x.XFlush(display)

    deadline = time.monotonic() + seconds
    fd = x.XConnectionNumber(display)
    while True:
        while x.XPending(display):
            x.XNextEvent(display, ctypes.byref(event))
            c = event.xclient
            if (event.type == ClientMessage and c.message_type == protocols and
                    c.l[0] == ping and c.l[1] == stamp and c.l[2] == window):
                return 0
        left = deadline - time.monotonic()
        if left <= 0:
            print('net_wm_ping: window 0x%x did not answer within %g s' % (window, seconds))
            return 1
        select.select([fd], [], [], left)


if __name__ == '__main__':
    sys.exit(main())
