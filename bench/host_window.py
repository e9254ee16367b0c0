"""A screen saver daemon's window for the benchmark: full screen on the default visual, mapped; its
id is printed, and it lives until the process is ended or its input closes (Xlib through ctypes).
An argument WIDTHxHEIGHT gives it that size instead (the tests' small host window)."""

import ctypes
import sys

x = ctypes.CDLL("libX11.so.6")
pointer, window, number = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int
for name, arguments, result in [
        ("XOpenDisplay", [ctypes.c_char_p], pointer),
        ("XDefaultScreen", [pointer], number),
        ("XRootWindow", [pointer, number], window),
        ("XDisplayWidth", [pointer, number], number),
        ("XDisplayHeight", [pointer, number], number),
        ("XBlackPixel", [pointer, number], ctypes.c_ulong),
        ("XCreateSimpleWindow", [pointer, window, number, number, ctypes.c_uint, ctypes.c_uint,
                                 ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong], window),
        ("XMapWindow", [pointer, window], number),
        ("XSync", [pointer, number], number),
        ("XCloseDisplay", [pointer], number)]:
    getattr(x, name).argtypes = arguments
    getattr(x, name).restype = result

display = x.XOpenDisplay(None)
if not display:
    sys.exit("host_window: cannot open the display")
screen = x.XDefaultScreen(display)
black = x.XBlackPixel(display, screen)
width, height = x.XDisplayWidth(display, screen), x.XDisplayHeight(display, screen)
if len(sys.argv) > 1:
    width, height = (int(n) for n in sys.argv[1].split("x"))
host = x.XCreateSimpleWindow(display, x.XRootWindow(display, screen), 0, 0, width, height, 0,
                             black, black)
x.XMapWindow(display, host)
x.XSync(display, 0)
print(hex(host), flush=True)
sys.stdin.read()
x.XCloseDisplay(display)
