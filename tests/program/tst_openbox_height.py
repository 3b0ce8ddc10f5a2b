"""The window's outer height under a real window manager (openbox on Xvfb): title bar and borders
included, it is 360 twips per participant plus 1380, from the first showing on and after a count
change, and the window's outer top-left corner stays where set_up.ini put it. F11 fills the
screen and Esc brings the window back to that rectangle, frame counted; a zoom step then scales
the client area alone.

Usage: tst_openbox_height.py PROGRAM
"""

import os
import re
import sys

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import Failure, XSession, check, need, report, wait_for  # noqa: E402

TWIPS_PER_PIXEL = 15
LEFT, TOP = 1500, 1200  # the stored window position, in twips


def settings_file():
    """Group 1 with two participants, the window at LEFT, TOP."""
    lines = {1: "2", 9: str(LEFT), 10: str(TOP), 11: "0", 12: "-1", 14: "1"}
    return "".join(lines.get(k, "") + "\r\n" for k in range(1, 327)).encode("cp932")


def client_size(session):
    info = session.tool("xwininfo", "-id", session.window)
    return tuple(int(v) for v in re.findall(r"^\s*(?:Width|Height):\s*(\d+)", info, re.M))


def outer_height_pixels(participants):
    return (360 * participants + 1380) // TWIPS_PER_PIXEL


def frame(session):
    """The outer rectangle (left, top, width, height) in pixels, or None while openbox has not
    framed the window yet."""
    extents = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)",
                        session.tool("xprop", "-id", session.window, "_NET_FRAME_EXTENTS", check=False))
    if not extents:
        return None
    left, right, top, bottom = (int(v) for v in extents.groups())
    info = session.tool("xwininfo", "-id", session.window)
    value = {k: int(v) for k, v in re.findall(r"^\s*(Absolute upper-left [XY]|Width|Height):\s*(-?\d+)",
                                              info, re.M)}
    return (value["Absolute upper-left X"] - left, value["Absolute upper-left Y"] - top,
            value["Width"] + left + right, value["Height"] + top + bottom)


def await_outer_height(session, height, when):
    """Waits until the outer height is `height`; fails naming the last height seen."""
    seen = []

    def probe():
        rectangle = frame(session)
        seen.append(rectangle)
        return rectangle if rectangle and rectangle[3] == height else None

    try:
        return wait_for(f"an outer height of {height} px {when}", probe, seconds=10, step=0.05)
    except Failure:
        last = seen[-1] if seen else None
        raise Failure(f"{when} the outer height is {last[3] if last else '?'} px, "
                      f"not {height} (outer rectangle {last})")


def check_heights(program):
    need("xwininfo")
    with XSession(program, program_files={"set_up.ini": settings_file()},
                  window_manager=["openbox", "--sm-disable"]) as session:
        left, top, _, _ = await_outer_height(session, outer_height_pixels(2), "at start-up")
        check((left, top) == (LEFT // TWIPS_PER_PIXEL, TOP // TWIPS_PER_PIXEL),
              f"the window's outer top-left is {left},{top}, not where set_up.ini put it")
        # "＋" beside the participant count: twips left 4560, top 240, 375 x 255.
        x, y = ((4560 + 375 // 2) // TWIPS_PER_PIXEL, (240 + 255 // 2) // TWIPS_PER_PIXEL)
        session.tool("xdotool", "mousemove", "--window", session.window, str(x), str(y), "click", "1")
        left, top, _, _ = await_outer_height(session, outer_height_pixels(3), "after a click on ＋")
        check((left, top) == (LEFT // TWIPS_PER_PIXEL, TOP // TWIPS_PER_PIXEL),
              f"after a click on ＋ the window's outer top-left is {left},{top}")

        normal = frame(session)
        session.focus()
        session.key("F11")
        wait_for("the window to fill the 1280 x 1024 screen", lambda: frame(session) == (0, 0, 1280, 1024))
        session.key("Escape")
        await_outer_height(session, outer_height_pixels(3), "after full screen")
        check(frame(session) == normal, f"after full screen the outer rectangle is {frame(session)}, not {normal}")
        width, height = client_size(session)
        session.key("ctrl+equal")
        wanted = (round(width * 1.25), round(height * 1.25))
        wait_for(f"a client area of {wanted} after Ctrl+=", lambda: client_size(session) == wanted)


def main():
    return report(lambda: check_heights(sys.argv[1]))


if __name__ == "__main__":
    sys.exit(main())
