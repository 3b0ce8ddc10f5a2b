"""Reads the real window through AT-SPI, as a screen reader does, while a lottery is run from
the keyboard alone: names of the controls, their states after standby, the prizes after tracing.

Run inside a session bus of its own: dbus-run-session -- python3 tst_atspi.py PROGRAM
"""

import os
import sqlite3
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession  # noqa: E402
from xsession import Failure, Transient, XSession, check, report, retry, wait_for  # noqa: E402

try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib
except (ImportError, ValueError) as missing:
    print(f"FAIL: the AT-SPI bindings are missing ({missing}); scripts/test installs python3-gi and "
          "gir1.2-atspi-2.0")
    print("0 passed, 1 failed")
    sys.exit(1)

NAMES = ["Aoi", "Ren", "Mio", "Sora", "Yuki"]
COLON = " \uff1a"
# What a screen reader hears for the status line before it says anything.
STATUS_LINE = "状態"

# A call on the accessibility bus that gets no reply in time, or finds no bus or object yet while
# the program starts, is asked again until the waiting time is up. Every call here only reads, so
# asking again is safe. Without a reply libatspi raises GLib.Error ("Did not receive a reply") for
# some calls and for others returns a stand-in: the state set {"defunct"}, an empty name, -1
# children; those count as no reply too (every control of the program has a name).
xsession.transient_errors.append(GLib.Error)
# Replies within 5 s (libatspi waits 0.8 s by default), 30 s while the program starts.
Atspi.set_timeout(5000, 30000)


def answered(value, no_reply, what):
    """The value a call returned, unless it is libatspi's stand-in for no reply."""
    if no_reply(value):
        raise Transient(f"no reply for {what}")
    return value


def read_states(control):
    found = {state.value_nick for state in control.get_state_set().get_states()}
    return answered(found, lambda found: "defunct" in found, "the states of a control")


def read_name(control):
    return answered(control.get_name(), lambda name: not name, "the name of a control (or it has none)")


def states(control):
    return retry("the states of a control", lambda: read_states(control))


def name_of(control):
    return retry("the name of a control", lambda: read_name(control))


class Window:
    """The program's accessible tree, read afresh on each look (no cached names or states)."""

    def __init__(self, session):
        self.session = session
        self.app = wait_for("the program on the accessibility bus", self._find_app)
        self.known = {}

    def _find_app(self):
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_process_id() == self.session.program.pid:
                app.set_cache_mask(Atspi.Cache.NONE)
                return app
        return None

    def controls(self):
        """Every control with its name, walked whole again after a transient error; the names
        are kept for named()."""
        def walk_all():
            found = []

            def walk(node):
                count = answered(node.get_child_count(), lambda count: count < 0, "the number of children")
                for i in range(count):
                    child = answered(node.get_child_at_index(i), lambda child: child is None, "a child")
                    found.append((child, read_name(child)))
                    walk(child)

            walk(self.app)
            return found

        found = retry("the program's controls", walk_all)
        self.known = {}
        for control, name in found:
            self.known.setdefault(name, []).append(control)
        return found

    def named(self, name):
        """The one control with this name; names are read again only for one not seen before."""
        if name not in self.known:
            self.controls()
        matches = self.known.get(name, [])
        check(len(matches) == 1, f"{len(matches)} controls are named {name!r}")
        return matches[0]

    def names(self):
        return [name for _, name in self.controls()]

    def any_named(self, name):
        """Whether some control has this name now (for a caption that changes)."""
        return name in self.names()

    def text(self, name):
        control = self.named(name)
        return retry(f"the text of {name}", lambda: Atspi.Text.get_text(control, 0, -1))

    def focused(self, candidates):
        return next((control for control in candidates if "focused" in states(control)), None)

    def tab_to(self, name, backwards=False):
        """Presses Tab (or Shift+Tab) until the named control has the keyboard focus; each press
        only once the one before has moved the focus, so a slow program is never overtaken."""
        if not self.known:
            self.controls()
        candidates = [control for same_name in self.known.values() for control in same_name
                      if {"focusable", "showing", "sensitive"} <= states(control)]
        focused = self.focused(candidates)
        for _ in range(120):
            if focused is not None and name_of(focused) == name:
                return
            self.session.key("shift+Tab" if backwards else "Tab")
            if focused is None:
                focused = self.until("a control to take the focus", lambda: self.focused(candidates))
            else:
                left = focused
                self.until(f"the focus to leave {name_of(left)!r}", lambda: "focused" not in states(left))
                focused = self.focused(candidates)
        raise Failure(f"Tab never reached {name!r}")

    def until(self, what, probe):
        return wait_for(what, probe, seconds=10)


def expect_names(window):
    names = window.names()
    expected = [f"名前{i}" for i in range(1, 38)] + [f"景品{i}" for i in range(1, 38)] + [
        "グループメモ", "参加人数を増やす", "参加人数を減らす", "あたりの数を増やす", "あたりの数を減らす",
        "グループを次へ", "グループを前へ", "準備完了", "印刷", "↓名前全部消", "↓切替", "ｸﾘｯｸ面倒ね",
        "グループ選択", "参加 2人"]
    for name in expected:
        check(names.count(name) == 1, f"{name!r} appears {names.count(name)} times in {names}")
    check(all(name.strip() for name in names), f"a control without a name: {names}")


MEMO_LINE = 61  # the memo of group 1
MEMO = "読み上げの会"
SETTINGS = "amidakuji/set_up.ini"


def settings_file(lines):
    """326 lines in code page 932, each ended by CR LF; lines maps line numbers to texts."""
    return "".join(lines.get(k, "") + "\r\n" for k in range(1, 327)).encode("cp932")


CODE = "照合コード"


def code_shown(window):
    """The code as a screen reader hears it, None before standby."""
    names = [name for name in window.names() if name.startswith(CODE + " ")]
    check(len(names) <= 1, f"more than one code: {names}")
    return names[0].split(" ", 1)[1] if names else None


def check_commitment(program, data, code):
    """The kept text's sha256sum begins with the code; --verify matches it and names a changed line."""
    with sqlite3.connect(os.path.join(data, "amidakuji", "history.sqlite3")) as db:
        texts = [row[0] for row in db.execute("SELECT commitment_text FROM lottery WHERE state = '完了'")]
    check(len(texts) == 1 and texts[0], f"the history holds no text of the completed lottery: {texts}")
    saved = os.path.join(data, "check.txt")
    with open(saved, "wb") as out:
        out.write(texts[0])
    digest = subprocess.run(["sha256sum", saved], capture_output=True, text=True, check=True).stdout.split()[0]
    check(code == f"{digest[:4]}-{digest[4:8]}", f"the code {code} is not the start of {digest}")
    env = dict(os.environ, XDG_DATA_HOME=data)
    env.pop("DISPLAY", None)
    ran = subprocess.run([program, "--verify", saved, code], capture_output=True, text=True, env=env)
    check(ran.returncode == 0 and "一致" in ran.stdout, f"--verify: {ran.returncode} {ran.stdout} {ran.stderr}")
    changed = texts[0].replace(NAMES[2].encode(), NAMES[2][:-1].encode() + b"X")
    with open(saved, "wb") as out:
        out.write(changed)
    ran = subprocess.run([program, "--verify", saved], capture_output=True, text=True, env=env)
    line = next(number for number, text in enumerate(changed.split(b"\n"), start=1) if b"X\t" in text)
    check(ran.returncode == 1 and f"{line} 行目" in ran.stderr,
          f"--verify after a change in line {line}: {ran.returncode} {ran.stderr}")


def run(program):
    data = tempfile.TemporaryDirectory(prefix="amidakuji-data-")
    env = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "QT_ACCESSIBILITY": "1", "LANG": "C.UTF-8",
           "XDG_DATA_HOME": data.name}
    # Installed into a folder it cannot write: set_up.ini is read from and saved into the user's
    # configuration folder.
    with XSession(program, env, read_only_folder=True,
                  config_files={SETTINGS: settings_file({MEMO_LINE: MEMO})}) as session:
        window = Window(session)
        expect_names(window)
        check(window.text("グループメモ") == MEMO, "the memo was not read from the configuration folder")
        session.focus()

        # Five participants, winner mode with two winners.
        window.tab_to("参加人数を増やす")
        session.key("space", "space", "Return")
        window.until("the caption 参加 5人", lambda: window.any_named("参加 5人"))
        mode = [control for control, name in window.controls() if name.endswith("モード")][0]
        window.tab_to(name_of(mode))
        # Lottery mode, number mode, winner mode: the button keeps the focus and changes its name.
        for _ in range(3):
            before = name_of(mode)
            if before == "あたりモード":
                break
            session.key("Return")
            window.until(f"the mode button to leave {before}", lambda: name_of(mode) != before)
        check(name_of(mode) == "あたりモード" and "focused" in states(mode),
              "Enter on the mode button did not reach winner mode")
        window.tab_to("あたりの数を増やす")
        session.key("Return")
        window.until("the caption あたり2本", lambda: window.any_named("あたり2本"))

        for i, name in enumerate(NAMES, start=1):
            window.tab_to(f"名前{i}")
            session.type(name)
            window.until(f"{name} in 名前{i}", lambda: window.text(f"名前{i}") == name)

        # Enter in the second name box still shows and hides the automatic-trace button.
        window.tab_to("名前2")
        session.key("Return")
        window.until("ｸﾘｯｸ面倒ね shown", lambda: "showing" in states(window.named("ｸﾘｯｸ面倒ね")))
        session.key("Return")
        window.until("ｸﾘｯｸ面倒ね hidden", lambda: "showing" not in states(window.named("ｸﾘｯｸ面倒ね")))

        window.tab_to("準備完了")
        session.key("Return")
        window.until("standby", lambda: "sensitive" not in states(window.named("準備完了")))
        for frozen in ["参加人数を増やす", "参加人数を減らす", "あたりの数を増やす", "あたりの数を減らす",
                       "グループを次へ", "グループを前へ", "↓名前全部消", "あたりモード", "グループメモ"]:
            found = states(window.named(frozen))
            check("sensitive" not in found and "enabled" not in found, f"{frozen} is usable: {found}")
        check("showing" not in states(window.named("↓切替")), "↓切替 is still shown")
        check("read-only" in states(window.named("グループメモ")), "the memo is not read-only")
        for i in range(1, 38):
            prize = states(window.named(f"景品{i}"))
            check("showing" not in prize and "visible" not in prize, f"景品{i} is shown before tracing")
            # Qt reports "editable" beside "read-only" for a locked box; "read-only" is what counts.
            box = states(window.named(f"名前{i}"))
            check("read-only" in box, f"名前{i} is not read-only: {box}")
        check("sensitive" not in states(window.named("印刷")), "印刷 is usable before tracing")
        code = window.until("the code at standby", lambda: code_shown(window))
        saved = open(os.path.join(session.config.name, SETTINGS), "rb").read().decode("cp932").split("\r\n")
        check(saved[MEMO_LINE - 1] == MEMO and saved[MEMO_LINE:MEMO_LINE + 5] == NAMES,
              f"standby did not save the group into the configuration folder: {saved[MEMO_LINE - 1:MEMO_LINE + 5]}")
        check(os.listdir(session.program_folder) == ["amidakuji"], "something was written beside the program")

        # The status line, before the draw.
        status = window.named(STATUS_LINE)

        # Space in each locked name box traces that participant.
        for i in range(1, len(NAMES) + 1):
            window.tab_to(f"名前{i}", backwards=True)
            session.key("space")
            window.until(f"the path of 名前{i}",
                         lambda: sum(COLON in window.text(f"景品{k}") for k in range(1, 6)) == i)

        results = [window.text(f"景品{k}") for k in range(1, 6)]
        for k in range(1, 6):
            check("showing" in states(window.named(f"景品{k}")), f"景品{k} is not shown after tracing")
        winners = [r for r in results if r.startswith("あたり" + COLON)]
        check(len(winners) == 2, f"two winners expected: {results}")
        reached = sorted(r.split(COLON, 1)[1] for r in results)
        check(reached == sorted(NAMES), f"every name once: {results}")
        check(all(r.startswith(COLON) or r.startswith("あたり" + COLON) for r in results),
              f"results: {results}")
        window.until("印刷 usable", lambda: "sensitive" in states(window.named("印刷")))
        check(code_shown(window) == code, f"the code changed from {code} to {code_shown(window)}")
        check_commitment(program, data.name, code)

        # The stamp is read out: the status line, the same object, says that every result is out
        # with the stamp's time.
        window.until("the status line to tell the end", lambda: any(ch.isdigit() for ch in name_of(status)))

        # The next lottery: the same name boxes, the keyboard at the first.
        first = window.named("名前1")
        session.key("ctrl+shift+n")
        window.until("the keyboard at 名前1", lambda: "focused" in states(first))
        check("read-only" not in states(first), "名前1 is still locked after 次の抽選")

def main():
    program = sys.argv[1]
    return report(lambda: run(program))


if __name__ == "__main__":
    sys.exit(main())
