"""An X server of the test's own (Xvfb) with the real program in it, driven by xdotool."""

import os
import shutil
import signal
import subprocess
import tempfile
import time

TITLE_PART = "Vornikel"


class Failure(Exception):
    pass


class Transient(Exception):
    """A failure that a busy machine gives now and then, worth another try (see wait_for)."""


# What wait_for takes for "not yet" rather than a failure; a test adds its own (tst_atspi adds
# GLib.Error, what a D-Bus call without a reply in time raises).
transient_errors = [Transient]

# X errors that say "not now" rather than "never": no connection to the server yet, or a window
# that is not mapped yet or was unmapped a moment ago. A tool fails on them before it acts, so
# trying again never sends a key or a click twice.
TRANSIENT_X_ERRORS = ("Can't open display", "Connection refused", "Resource temporarily unavailable",
                      "Maximum number of clients", "BadWindow", "BadMatch", "BadDrawable",
                      "unable to open X server", "unable to read X window", "XGetWindowAttributes")


checks = 0


def check(condition, message):
    global checks
    checks += 1
    if not condition:
        raise Failure(message)


def report(test):
    """Runs the test and prints the closing lines CTest reads; returns the exit code."""
    try:
        test()
    except Failure as failure:
        print(f"FAIL: {failure}")
        print("0 passed, 1 failed")
        return 1
    print(f"{checks} checks passed")
    print("1 passed, 0 failed")
    return 0


def need(*tools):
    for tool in tools:
        if shutil.which(tool) is None:
            raise Failure(f"{tool} is needed for this test (scripts/test installs it)")


def wait_for(what, probe, seconds=20.0, step=0.05):
    """Polls probe() until it returns something true; a transient error (transient_errors) counts
    as not yet. Fails naming what was awaited, and the last such error."""
    deadline = time.monotonic() + seconds
    last_error = None
    while True:
        try:
            value = probe()
            if value:
                return value
        except tuple(transient_errors) as error:
            last_error = error
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}" + (f" (last error: {last_error})" if last_error else ""))
        time.sleep(step)


def retry(what, action, seconds=20.0):
    """Calls action() until it ends without a transient error; returns what it returned."""
    results = []
    wait_for(what, lambda: results.append(action()) or True, seconds)
    return results[0]


class XSession:
    """Xvfb on a free display, and the program copied into a folder of its own."""

    def __init__(self, program, extra_env=None, screen="1280x1024x24", read_only_folder=False,
                 config_files=None, program_files=None, window_manager=None):
        """read_only_folder: the program's folder is made read-only (mode 555), as after an
        installation; config_files and program_files: {relative path: bytes} put into the user's
        configuration folder (XDG_CONFIG_HOME, a folder of its own) or beside the program before
        it starts; window_manager: a command (list) started before the program, which starts only
        once the window manager manages the screen, so that its first showing is framed."""
        need("Xvfb", "xdotool", *([window_manager[0], "xprop"] if window_manager else []))
        self.folder = tempfile.TemporaryDirectory(prefix="amidakuji-")
        self.config = tempfile.TemporaryDirectory(prefix="amidakuji-config-")
        self.program_folder = os.path.join(self.folder.name, "program")
        os.mkdir(self.program_folder)
        try:
            self._start(program, extra_env, screen, read_only_folder, config_files, program_files,
                        window_manager)
        except BaseException:
            self.close()
            raise

    def _start(self, program, extra_env, screen, read_only_folder, config_files, program_files,
               window_manager):
        files = [(self.config.name, config_files), (self.program_folder, program_files)]
        for folder, relative, data in ((f, r, d) for f, given in files for r, d in (given or {}).items()):
            path = os.path.join(folder, relative)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as file:
                file.write(data)
        read_end, write_end = os.pipe()
        # -noreset: the X server would otherwise reset whenever its last client leaves, such as a
        # probe before the program or the window manager is connected, and refuse connections
        # while it does.
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("Xvfb gave no display number")
        self.display = f":{number}"
        self.env = dict(os.environ, DISPLAY=self.display, XDG_CONFIG_HOME=self.config.name)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.update(extra_env or {})
        if window_manager:
            self._start_window_manager(window_manager)
        copy = os.path.join(self.program_folder, "amidakuji")
        shutil.copy2(program, copy)
        if read_only_folder:
            os.chmod(self.program_folder, 0o555)
        self.program = subprocess.Popen([copy], cwd=self.program_folder, env=self.env,
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self.window = wait_for("the program's window", self._find_window)

    def _start_window_manager(self, command):
        # Its output goes to a file, read if it ends; its cache stays in the session's folder.
        self.window_manager_log = open(os.path.join(self.folder.name, "window-manager.log"), "w+b")
        self.window_manager = subprocess.Popen(
            command, env=dict(self.env, XDG_CACHE_HOME=self.folder.name),
            stdout=self.window_manager_log, stderr=subprocess.STDOUT)

        def managing():
            if self.window_manager.poll() is not None:
                self.window_manager_log.seek(0)
                raise Failure(f"{command[0]} ended: {self.window_manager_log.read().decode(errors='replace')}")
            return "window id" in self.tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False)

        wait_for(f"{command[0]} to manage the screen", managing)

    def _find_window(self):
        if self.program.poll() is not None:
            raise Failure("the program ended: " + self.program.stdout.read().decode(errors="replace"))
        found = self.tool("xdotool", "search", "--onlyvisible", "--name", TITLE_PART, check=False)
        return found.split()[0] if found.strip() else None

    def tool(self, *command, check=True, binary=False):
        """Runs an X client on this display and returns what it printed (bytes if binary); a
        transient X error is tried again."""
        def attempt():
            done = subprocess.run(command, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                  timeout=20)
            error = done.stderr.decode(errors="replace")
            if done.returncode != 0 and any(sign in error for sign in TRANSIENT_X_ERRORS):
                raise Transient(f"{' '.join(command)}: {error.strip()}")
            return done

        done = retry(" ".join(command), attempt)
        if check and done.returncode != 0:
            raise Failure(f"{' '.join(command)} failed: {done.stderr.decode(errors='replace')}")
        return done.stdout if binary else done.stdout.decode(errors="replace")

    def focus(self):
        self.tool("xdotool", "windowfocus", "--sync", self.window)

    def key(self, *keys):
        self.tool("xdotool", "key", "--clearmodifiers", *keys)

    def type(self, text):
        self.tool("xdotool", "type", "--delay", "20", text)

    def screenshot(self, path):
        need("import")
        self.tool("import", "-window", self.window, path)

    def close(self):
        for process in (getattr(self, "program", None), getattr(self, "window_manager", None),
                        getattr(self, "xvfb", None)):
            if process and process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        if hasattr(self, "window_manager_log"):
            self.window_manager_log.close()
        os.chmod(self.program_folder, 0o755)
        self.folder.cleanup()
        self.config.cleanup()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
