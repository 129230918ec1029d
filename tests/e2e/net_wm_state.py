#!/usr/bin/env python3
"""Asks the window manager to change a window's state or close it, as its keys and menus do.

  net_wm_state.py WINDOW add|remove|toggle STATE   STATE such as FULLSCREEN or
                                                   MAXIMIZED_VERT
  net_wm_state.py WINDOW close                     as a click on the window's close button
                                                   exit 2 without a display

The request is the client message that desktop tools (wmctrl, a pager) send to the root
window; the window manager decides what becomes of it. Only the standard library: libX11
through ctypes.
"""
import ctypes
import sys

import xlib
from xlib import ClientMessage, SubstructureNotifyMask, SubstructureRedirectMask, XEvent

ACTIONS = {'remove': 0, 'add': 1, 'toggle': 2}


def main():
    closing = len(sys.argv) == 3 and sys.argv[2] == 'close'
    if not closing and (len(sys.argv) != 4 or sys.argv[2] not in ACTIONS):
        sys.exit(__doc__)
    window = int(sys.argv[1], 0)
    x = xlib.load()
    display = x.XOpenDisplay(None)
    if not display:
        print('net_wm_state: no display')
        return 2
    event = XEvent()
    event.xclient.type = ClientMessage
    event.xclient.window = window
    event.xclient.format = 32
    if closing:
        event.xclient.message_type = x.XInternAtom(display, b'_NET_CLOSE_WINDOW', 0)
        event.xclient.l[1] = 2  # from a pager or a tool the user works
    else:
        event.xclient.message_type = x.XInternAtom(display, b'_NET_WM_STATE', 0)
        event.xclient.l[0] = ACTIONS[sys.argv[2]]
        event.xclient.l[1] = x.XInternAtom(display, b'_NET_WM_STATE_' + sys.argv[3].encode(), 0)
        event.xclient.l[3] = 2  # from a pager or a tool the user works, not the program itself
    x.XSendEvent(display, x.XDefaultRootWindow(display), 0,
                 SubstructureNotifyMask | SubstructureRedirectMask, ctypes.byref(event))
    x.XFlush(display)
    return 0


if __name__ == '__main__':
    sys.exit(main())
