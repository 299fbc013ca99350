#!/usr/bin/env python3
"""Lays out the monitors of the two-head Wine desktop, which TigerVNC's Xvnc serves with one
RandR output per screen that a VNC client asks for.

  heads.py PORT [top] LEFT,TOP,WIDTH,HEIGHT...

The monitors are given as Wine will see them, the primary first, at 0,0. The root window's
_NET_WORKAREA is set first, since Wine reads it when the layout changes: all of the screen but a
strip of 28 pixels along its bottom, or with `top` along its top. Then Xvnc is asked for the screens (RFB 3.8 without
security, SetDesktopSize), and once xrandr shows them, the first becomes RandR's primary output,
which Wine puts at 0,0.
"""
import os
import re
import socket
import struct
import subprocess
import sys
import time

STRIP = 28


def receive(connection, size):
    data = b""
    while len(data) < size:
        chunk = connection.recv(size - len(data))
        if not chunk:
            raise EOFError("Xvnc closed the connection")
        data += chunk
    return data


def ask_for_screens(port, screens, width, height):
    with socket.create_connection(("127.0.0.1", port), timeout=10) as vnc:
        receive(vnc, 12)
        vnc.sendall(b"RFB 003.008\n")
        offered = receive(vnc, receive(vnc, 1)[0])
        if 1 not in offered:
            raise SystemExit(f"Xvnc offers no security type None: {list(offered)}")
        vnc.sendall(b"\x01")
        if struct.unpack(">I", receive(vnc, 4))[0] != 0:
            raise SystemExit("Xvnc refused the connection")
        vnc.sendall(b"\x01")  # ClientInit: shared
        receive(vnc, 20)
        receive(vnc, struct.unpack(">I", receive(vnc, 4))[0])  # ServerInit's name
        vnc.sendall(struct.pack(">BxHi", 2, 1, -308))  # SetEncodings: ExtendedDesktopSize
        message = struct.pack(">BxHHBx", 251, width, height, len(screens))
        for number, (x, y, w, h) in enumerate(screens, 1):
            message += struct.pack(">IHHHHI", number, x, y, w, h, 0)
        vnc.sendall(message)
        # The answer comes with the next update: asking for one makes sure the request was read.
        vnc.sendall(struct.pack(">BBHHHH", 3, 1, 0, 0, 1, 1))
        receive(vnc, 1)


def outputs():
    listing = subprocess.run(["xrandr"], capture_output=True, text=True, check=True).stdout
    return re.findall(r"^(\S+) connected (?:primary )?(\d+x\d+\+\d+\+\d+)", listing, re.M)


def main():
    port = int(sys.argv[1])
    top_strip = sys.argv[2] == "top"
    monitors = [tuple(map(int, arg.split(","))) for arg in sys.argv[2 + top_strip:]]
    left = min(m[0] for m in monitors)
    top = min(m[1] for m in monitors)
    screens = [(x - left, y - top, w, h) for x, y, w, h in monitors]
    width = max(x + w for x, _, w, _ in screens)
    height = max(y + h for _, y, _, h in screens)
    subprocess.run(["xprop", "-root", "-f", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA",
                    f"0, {STRIP if top_strip else 0}, {width}, {height - STRIP}"], check=True)
    ask_for_screens(port, screens, width, height)
    wanted = sorted(f"{w}x{h}+{x}+{y}" for x, y, w, h in screens)
    for _ in range(100):
        found = dict((geometry, name) for name, geometry in outputs())
        if sorted(found) == wanted:
            x, y, w, h = screens[0]
            subprocess.run(["xrandr", "--output", found[f"{w}x{h}+{x}+{y}"], "--primary"],
                           check=True)
            return
        time.sleep(0.05)
    raise SystemExit(f"Xvnc did not make the screens {wanted}: {outputs()}")


main()
