"""The window at scale factors 1 and 2 (QT_SCALE_FACTOR) on a real X server: at 2 it is twice as
large, and the ladder, the paths and the time stamp are drawn at the screen's full resolution
rather than enlarged from a half-size picture.

Usage: tst_high_dpi.py PROGRAM [--save FOLDER]  (--save keeps the two screenshots as PNG files)
"""

import os
import sys

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import XSession, check, need, report, wait_for  # noqa: E402

PARTICIPANTS = 8
NAMES = ["Aoi", "Ren", "Mio", "Sora", "Yuki", "Kai", "Rin", "Hana"]
TWIPS_PER_PIXEL = 15
LINE_TOP = 720


def settings_file():
    """Group 1 with eight named participants and three winners, in winner mode."""
    lines = {1: str(PARTICIPANTS), 9: "0", 10: "0", 11: "0", 12: "-1", 14: "3", 61: "高解像度"}
    for i, name in enumerate(NAMES):
        lines[62 + i] = name
    return "".join(lines.get(k, "") + "\r\n" for k in range(1, 327)).encode("cp932")


class Picture:
    """A screenshot read from ImageMagick's PPM output."""

    def __init__(self, session):
        ppm = session.tool("import", "-window", session.window, "-depth", "8", "ppm:-", binary=True)
        # "P6", width, height and 255, each followed by one whitespace byte, then the pixels.
        header = ppm.split(b"\n", 3)
        check(header[0] == b"P6" and header[2] == b"255", f"unexpected screenshot format {header[:3]}")
        self.width, self.height = (int(v) for v in header[1].split())
        self.pixels = header[3]

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])


def click(session, scale, x_twips, y_twips):
    x, y = (round(v / TWIPS_PER_PIXEL * scale) for v in (x_twips, y_twips))
    session.tool("xdotool", "mousemove", "--window", session.window, str(x), str(y), "click", "1")


def run_lottery(program, scale, save_folder):
    env = {"QT_SCALE_FACTOR": str(scale), "LANG": "ja_JP.UTF-8", "LC_ALL": ""}
    with XSession(program, env, program_files={"set_up.ini": settings_file()}) as session:
        # The first ladder, before any path covers its lines.
        ladder = wait_for("the first ladder", lambda: painted(Picture(session), scale), seconds=15, step=0.2)
        click(session, scale, 6480 + 487, 240 + 187)  # 準備完了
        for i in range(PARTICIPANTS):
            click(session, scale, 120 + 600, 960 + 360 * i + 135)
        # The time stamp is the last thing drawn; wait until it is blue in the picture.
        stamp_y = round((LINE_TOP + 120) / TWIPS_PER_PIXEL * scale)
        stamp_x = round(7250 / TWIPS_PER_PIXEL * scale)

        def stamp():
            picture = Picture(session)
            blue = [x for x in range(stamp_x, min(picture.width, stamp_x + 120 * scale))
                    for y in range(stamp_y - 6 * scale, stamp_y + 6 * scale)
                    if picture.at(x, y)[2] > 150 and picture.at(x, y)[0] < 100]
            return picture if blue else None

        picture = wait_for("the time stamp after the last trace", stamp, seconds=15, step=0.2)
        if save_folder:
            session.screenshot(os.path.join(save_folder, f"window-scale{scale}.png"))
        return ladder, picture


def painted(picture, scale):
    """The picture once the window has been painted: a black ladder line on a light background."""
    between_lines = round((LINE_TOP + 540) / TWIPS_PER_PIXEL * scale)
    x = round(1500 / TWIPS_PER_PIXEL * scale)
    return picture if sharp_lines(picture, scale)[0] and min(picture.at(x, between_lines)) > 200 else None


def sharp_lines(picture, scale):
    """The top line of the ladder, one logical pixel thick: exactly `scale` black rows."""
    y = round((LINE_TOP + 360) / TWIPS_PER_PIXEL * scale)
    x = round(1500 / TWIPS_PER_PIXEL * scale)  # left of the first rung, right of the name boxes
    column = [picture.at(x, row) for row in range(y - 3 * scale, y + 4 * scale)]
    black = [p for p in column if p == (0, 0, 0)]
    grey = [p for p in column if p != (0, 0, 0) and max(p) - min(p) < 8 and max(p) < 200]
    return len(black), len(grey)


def fine_detail(picture, scale):
    """Pixels of the time stamp that differ from their neighbour inside a scale x scale block:
    none at all when a half-size picture was merely enlarged."""
    # Blocks start on whole logical pixels, where an enlarged picture's blocks start.
    top = LINE_TOP // TWIPS_PER_PIXEL * scale
    left = 7250 // TWIPS_PER_PIXEL * scale
    differing = 0
    for y in range(top, top + 14 * scale, scale):
        for x in range(left, min(picture.width - 1, left + 120 * scale), scale):
            if picture.at(x, y) != picture.at(x + 1, y) or picture.at(x, y) != picture.at(x, y + 1):
                differing += 1
    return differing


def check_scales(program, save_folder):
    need("import")
    ladder_one, one = run_lottery(program, 1, save_folder)
    ladder_two, two = run_lottery(program, 2, save_folder)
    check(abs(two.width - 2 * one.width) <= 2 and abs(two.height - 2 * one.height) <= 4,
          f"not twice the size: {one.width}x{one.height} and {two.width}x{two.height}")
    for scale, picture in ((1, ladder_one), (2, ladder_two)):
        black, grey = sharp_lines(picture, scale)
        check(black == scale and grey == 0,
              f"at scale {scale} the ladder line is {black} black and {grey} grey pixels thick")
    detail = fine_detail(two, 2)
    check(detail >= 20, f"the time stamp at scale 2 has no detail finer than 2 pixels ({detail})")


def main():
    program = sys.argv[1]
    save_folder = sys.argv[3] if len(sys.argv) > 3 and sys.argv[2] == "--save" else None
    return report(lambda: check_scales(program, save_folder))


if __name__ == "__main__":
    sys.exit(main())
