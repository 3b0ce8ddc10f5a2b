"""The window's outer height under a real window manager (openbox on Xvfb): title bar and borders
included, it is 360 twips per participant plus 1380, from the first showing on and after a count
change, and the window's outer top-left corner stays where set_up.ini put it.

Usage: tst_openbox_height.py PROGRAM
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import TITLE_PART, Failure, check, need, report, wait_for  # noqa: E402

TWIPS_PER_PIXEL = 15
LEFT, TOP = 1500, 1200  # the stored window position, in twips


def settings_file():
    """Group 1 with two participants, the window at LEFT, TOP."""
    lines = {1: "2", 9: str(LEFT), 10: str(TOP), 11: "0", 12: "-1", 14: "1"}
    return "".join(lines.get(k, "") + "\r\n" for k in range(1, 327)).encode("cp932")


def outer_height_pixels(participants):
    return (360 * participants + 1380) // TWIPS_PER_PIXEL


class OpenboxSession:
    """Xvfb with openbox managing it, and the program copied into a folder of its own, started
    only once openbox is ready, so that its first showing is framed."""

    def __init__(self, program):
        need("Xvfb", "openbox", "xdotool", "xprop", "xwininfo")
        self.processes = []
        self.logs = []
        self.folder = tempfile.TemporaryDirectory(prefix="amidakuji-")
        try:
            self.start_all(program)
        except BaseException:
            self.close()
            raise

    def start_all(self, program):
        program_folder = os.path.join(self.folder.name, "program")
        config = os.path.join(self.folder.name, "config")
        os.mkdir(program_folder)
        os.mkdir(config)
        with open(os.path.join(program_folder, "set_up.ini"), "wb") as file:
            file.write(settings_file())
        read_end, write_end = os.pipe()
        # -noreset: the X server would otherwise reset whenever its last client leaves, such as
        # a probe below before openbox is connected, and refuse connections while it does.
        self.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                    "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("Xvfb gave no display number")
        self.env = dict(os.environ, DISPLAY=f":{number}", XDG_CONFIG_HOME=config,
                        XDG_CACHE_HOME=config)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("WAYLAND_DISPLAY", None)
        openbox_log = self.log("openbox.log")
        openbox = self.start(["openbox", "--sm-disable"], env=self.env, stdout=openbox_log,
                             stderr=subprocess.STDOUT)
        wait_for("openbox to manage the screen",
                 lambda: self.alive(openbox, "openbox", openbox_log) and "window id" in self.tool(
                     "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False))
        copy = os.path.join(program_folder, "amidakuji")
        shutil.copy2(program, copy)
        self.program_log = self.log("program.log")
        self.program = self.start([copy], cwd=program_folder, env=self.env,
                                  stdout=self.program_log, stderr=subprocess.STDOUT)
        self.window = wait_for("the program's window", self.find_window)

    def log(self, name):
        """A file in the session's folder for a process's output, read if the process ends."""
        file = open(os.path.join(self.folder.name, name), "w+b")
        self.logs.append(file)
        return file

    def start(self, command, **options):
        process = subprocess.Popen(command, **options)
        self.processes.append(process)
        return process

    def alive(self, process, name, output):
        if process.poll() is not None:
            output.seek(0)
            raise Failure(f"{name} ended: {output.read().decode(errors='replace')}")
        return True

    def find_window(self):
        self.alive(self.program, "the program", self.program_log)
        found = self.tool("xdotool", "search", "--onlyvisible", "--name", TITLE_PART, check=False)
        return found.split()[0] if found.strip() else None

    def tool(self, *command, check=True):
        done = subprocess.run(command, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=20)
        if check and done.returncode != 0:
            raise Failure(f"{' '.join(command)} failed: {done.stderr.decode(errors='replace')}")
        return done.stdout.decode(errors="replace")

    def frame(self):
        """The outer rectangle (left, top, width, height) in pixels, or None while openbox has not
        framed the window yet."""
        extents = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)",
                            self.tool("xprop", "-id", self.window, "_NET_FRAME_EXTENTS", check=False))
        if not extents:
            return None
        left, right, top, bottom = (int(v) for v in extents.groups())
        info = self.tool("xwininfo", "-id", self.window)
        value = {k: int(v) for k, v in re.findall(r"^\s*(Absolute upper-left [XY]|Width|Height):\s*(-?\d+)",
                                                  info, re.M)}
        return (value["Absolute upper-left X"] - left, value["Absolute upper-left Y"] - top,
                value["Width"] + left + right, value["Height"] + top + bottom)

    def await_outer_height(self, height, when):
        """Waits until the outer height is `height`; fails naming the last height seen."""
        seen = []

        def probe():
            frame = self.frame()
            seen.append(frame)
            return frame if frame and frame[3] == height else None

        try:
            return wait_for(f"an outer height of {height} px {when}", probe, seconds=10, step=0.05)
        except Failure:
            raise Failure(f"{when} the outer height is {seen[-1][3] if seen[-1] else '?'} px, "
                          f"not {height} (outer rectangle {seen[-1]})")

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        for file in self.logs:
            file.close()
        self.folder.cleanup()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def check_heights(program):
    with OpenboxSession(program) as session:
        left, top, _, _ = session.await_outer_height(outer_height_pixels(2), "at start-up")
        check((left, top) == (LEFT // TWIPS_PER_PIXEL, TOP // TWIPS_PER_PIXEL),
              f"the window's outer top-left is {left},{top}, not where set_up.ini put it")
        # "＋" beside the participant count: twips left 4560, top 240, 375 x 255.
        x, y = ((4560 + 375 // 2) // TWIPS_PER_PIXEL, (240 + 255 // 2) // TWIPS_PER_PIXEL)
        session.tool("xdotool", "mousemove", "--window", session.window, str(x), str(y), "click", "1")
        left, top, _, _ = session.await_outer_height(outer_height_pixels(3), "after a click on ＋")
        check((left, top) == (LEFT // TWIPS_PER_PIXEL, TOP // TWIPS_PER_PIXEL),
              f"after a click on ＋ the window's outer top-left is {left},{top}")


def main():
    return report(lambda: check_heights(sys.argv[1]))


if __name__ == "__main__":
    sys.exit(main())
