#!/usr/bin/env python3
"""The real mirplay played the way a screen reader user meets it: through AT-SPI.

Starts its own X server (Xvfb), a private D-Bus session bus, the accessibility bus and registry,
and mirplay on the demo game; types with xdotool and reads the window back through the
accessibility tree. Everything it starts is stopped on the way out, whatever happens.

Exit status: 0 every check passed, 1 a check failed, 77 a program or module it needs is missing.

Usage: mirplay_atspi.py --mirplay PATH --game DEMO_DIR
"""

import argparse
import ctypes
import functools
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

SKIP = 77
RUN_LIMIT = 45.0  # seconds for the whole run; ctest's own timeout is the last resort above it
STEP_LIMIT = 10.0  # seconds for any one thing to show up
POLL = 0.05
GRACE = 1.0  # seconds for the rest of a change to show once its first sign is seen

PR_SET_PDEATHSIG = 1
PR_SET_CHILD_SUBREAPER = 36

started = time.monotonic()


def remaining():
    return started + RUN_LIMIT - time.monotonic()


def log(line):
    print(line, flush=True)


class Abort(Exception):
    """Driving cannot go on: the rest of the checks would only repeat this failure."""


# ---------------------------------------------------------------------------------------------
# What the run needs from the machine


def find_helper(name):
    """The AT-SPI daemons live outside PATH, where Debian (or another layout) puts them."""
    found = shutil.which(name)
    if found:
        return found
    for folder in ("/usr/libexec", "/usr/lib/at-spi2-core", "/usr/lib/at-spi2",
                   "/usr/lib/x86_64-linux-gnu/at-spi2-core", "/usr/libexec/at-spi2"):
        path = os.path.join(folder, name)
        if os.access(path, os.X_OK):
            return path
    return None


def missing_requirements():
    missing = []
    tools = {}
    # The registry is started by the accessibility bus itself; it is looked for only so that its
    # absence skips the run instead of failing it.
    for name in ("Xvfb", "xdotool", "setxkbmap", "xkbcomp", "dbus-daemon", "dbus-send",
                 "at-spi-bus-launcher", "at-spi2-registryd"):
        tools[name] = find_helper(name)
        if not tools[name]:
            missing.append(name)
    try:
        import gi
        gi.require_version("Atspi", "2.0")
    except (ImportError, ValueError) as e:
        missing.append("python3-gi with the Atspi 2.0 typelib (%s)" % e)
    return missing, tools


# ---------------------------------------------------------------------------------------------
# Processes: everything started here, and everything they start, is ours to stop.

libc = ctypes.CDLL(None, use_errno=True)


def descendants():
    """Every process below this one. Daemons that detach (the registry is started by the bus and
    left behind) land here too, because this process is their subreaper."""
    parents = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                stat = f.read()
        except OSError:
            continue
        # The name may hold spaces and brackets; the fields after its last ")" are plain.
        fields = stat[stat.rfind(")") + 2:].split()
        parents[int(entry)] = int(fields[1])
    found, frontier = [], [os.getpid()]
    while frontier:
        parent = frontier.pop()
        for pid, ppid in parents.items():
            if ppid == parent:
                found.append(pid)
                frontier.append(pid)
    return found


def reap():
    while True:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            return


def stop_everything():
    for sig, grace in ((signal.SIGTERM, 3.0), (signal.SIGKILL, 2.0)):
        pids = descendants()
        if not pids:
            return
        for pid in pids:
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
        until = time.monotonic() + grace
        while time.monotonic() < until:
            reap()
            if not descendants():
                return
            time.sleep(POLL)
    reap()


def die_with_parent():
    # If this script is killed outright, the direct children go too (they stop the rest).
    libc.prctl(PR_SET_PDEATHSIG, signal.SIGTERM, 0, 0, 0)


def spawn(argv, env, log_path, **kw):
    with open(log_path, "ab") as out:
        return subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                                preexec_fn=die_with_parent, **kw)


def read_line_from(fd, what, timeout=STEP_LIMIT):
    """One line a daemon writes to a pipe when it is ready (display number, bus address)."""
    data = b""
    until = time.monotonic() + min(timeout, remaining())
    while not data.endswith(b"\n"):
        left = until - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            raise Abort("%s did not report in time" % what)
        chunk = os.read(fd, 256)
        if not chunk:
            raise Abort("%s exited before reporting" % what)
        data += chunk
    os.close(fd)
    return data.decode().strip()


def run_tool(argv, env, timeout=5.0):
    result = subprocess.run(argv, env=env, stdin=subprocess.DEVNULL, capture_output=True,
                            timeout=max(0.5, min(timeout, remaining())))
    return result.returncode, result.stdout.decode(errors="replace").strip()


def start_x(tools, env, scratch):
    r, w = os.pipe()
    spawn([tools["Xvfb"], "-displayfd", str(w), "-screen", "0", "800x640x24", "-nolisten", "tcp",
           "-br", "-noreset"], env, os.path.join(scratch, "xvfb.log"), pass_fds=(w,))
    os.close(w)
    return ":" + read_line_from(r, "Xvfb")


def start_session_bus(tools, env, scratch):
    r, w = os.pipe()
    spawn([tools["dbus-daemon"], "--session", "--nofork", "--nopidfile",
           "--print-address=%d" % w], env, os.path.join(scratch, "dbus.log"), pass_fds=(w,))
    os.close(w)
    return read_line_from(r, "dbus-daemon")


def start_accessibility_bus(tools, env, scratch):
    spawn([tools["at-spi-bus-launcher"], "--launch-immediately", "--a11y=1"], env,
          os.path.join(scratch, "at-spi.log"))
    # Nothing may ask for the accessibility bus before the launcher owns its name: the session
    # bus would start a second launcher to answer.
    ask = [tools["dbus-send"], "--session", "--print-reply", "--dest=org.freedesktop.DBus",
           "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"]
    until = time.monotonic() + min(STEP_LIMIT, remaining())
    while time.monotonic() < until:
        status, out = run_tool(ask, env)
        if status == 0 and out.endswith("boolean true"):
            return
        time.sleep(POLL)
    raise Abort("at-spi-bus-launcher did not take org.a11y.Bus")


def program_folder(scratch, game):
    """The folder mirplay runs in: a cover, the demo game, and start.txt naming it."""
    folder = os.path.join(scratch, "program")
    os.makedirs(folder)
    with open(os.path.join(folder, "obloz.txt"), "wb") as f:
        f.write("Обложка для проверки\r\n".encode("cp1251"))
    os.symlink(game, os.path.join(folder, "demo"))
    with open(os.path.join(folder, "start.txt"), "wb") as f:
        f.write(b"demo\r\n")
    return folder


# ---------------------------------------------------------------------------------------------
# The accessibility tree

Atspi = None
GLib = None

ENTRY_ROLES = ("entry", "text")
STORY_ROLES = ("text", "entry", "document text", "document frame")
ANSWER_NAME = re.compile(r"^(\d)\. (.*)$", re.S)


class Node:
    """One accessible object; each thing about it is asked over D-Bus only when first wanted, as
    most of the tree is passed over by role alone."""

    def __init__(self, acc, depth):
        self.acc = acc
        self.depth = depth
        states = acc.get_state_set()
        self.showing = states.contains(Atspi.StateType.SHOWING) and states.contains(
            Atspi.StateType.VISIBLE)
        self.editable = states.contains(Atspi.StateType.EDITABLE)

    @functools.cached_property
    def role(self):
        return self.acc.get_role_name()

    @functools.cached_property
    def name(self):
        return self.acc.get_name() or ""

    @functools.cached_property
    def description(self):
        return self.acc.get_description() or ""

    def text(self):
        return self.acc.get_text(0, -1) or ""

    def focused(self):
        """Asked afresh each time: the focus moves while a node is kept."""
        return self.acc.get_state_set().contains(Atspi.StateType.FOCUSED)

    def children(self):
        return [Node(self.acc.get_child_at_index(i), self.depth + 1)
                for i in range(self.acc.get_child_count())]

    def __repr__(self):
        return "%s %r%s%s" % (self.role, self.name,
                              " (%s)" % self.description if self.description else "",
                              "" if self.showing else " hidden")


def pump():
    # libatspi learns of changes through the GLib main loop; let it catch up before each look.
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


class Window:
    """mirplay as the registry lists it; every look reads the tree afresh."""

    def __init__(self, app):
        self.app = app
        # Names and children change as the game goes; a cached answer would hide that.
        app.set_cache_mask(Atspi.Cache.NONE)

    def nodes(self):
        pump()
        self.app.clear_cache()
        found = []

        def walk(acc, depth):
            node = Node(acc, depth)
            found.append(node)
            # What a hidden widget holds is hidden too: the walk does not go into it.
            if node.showing or depth == 0:
                for i in range(acc.get_child_count()):
                    walk(acc.get_child_at_index(i), depth + 1)

        walk(self.app, 0)
        return found

    def shown(self):
        return [n for n in self.nodes() if n.showing]

    def dump(self):
        try:
            return "\n".join("  " * n.depth + repr(n) for n in self.nodes())
        except Exception as e:  # the tree is only read for a report here
            return "(tree unreadable: %s)" % e


def find_application(pid):
    desktop = Atspi.get_desktop(0)

    def listed():
        pump()
        desktop.clear_cache()
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_process_id() == pid:
                return app
        return None

    return wait_for(listed, timeout=2 * STEP_LIMIT)


XDOTOOL = "xdotool"  # where it was found
watched = None  # the mirplay process: once it is gone nothing more will show up


def wait_for(probe, timeout=STEP_LIMIT):
    """probe() until it gives something true, or None at the deadline. An object that vanished
    between two calls is just a change in progress."""
    until = time.monotonic() + min(timeout, remaining())
    while True:
        if watched is not None and watched.poll() is not None:
            raise Abort("mirplay exited with status %d" % watched.returncode)
        try:
            value = probe()
        except GLib.Error:
            value = None
        if value:
            return value
        if time.monotonic() >= until:
            return None
        time.sleep(POLL)


# ---------------------------------------------------------------------------------------------
# The run


class Checks:
    def __init__(self):
        self.failed = []
        self.count = 0

    def check(self, ok, what, detail=""):
        self.count += 1
        if ok:
            log("ok   - " + what)
        else:
            self.failed.append(what)
            log("FAIL - " + what + (": " + detail if detail else ""))
        return ok


class Player:
    """Drives mirplay with keys and reads it back; every check is recorded, and where a name is
    missing the thing is found another way so that the checks after it still run."""

    def __init__(self, window, checks, xenv):
        self.w = window
        self.c = checks
        self.xenv = xenv
        self.story_node = None
        self.entry_node = None

    # -- finding things

    def named(self, roles, name, shown=None):
        for n in shown if shown is not None else self.w.shown():
            if n.role in roles and n.name == name:
                return n
        return None

    def input_line(self):
        """The line the player types into, by its name; without the name, the focused entry."""
        if self.entry_node is None:
            shown = self.w.shown()
            node = self.named(ENTRY_ROLES, "Команда", shown)
            self.c.check(node is not None, "the input line is an entry named «Команда»",
                         "entries: %s" % [n for n in shown if n.role in ENTRY_ROLES])
            if node is None:
                node = next((n for n in shown if n.role in ENTRY_ROLES and n.focused()), None)
            if node is None:
                raise Abort("no entry has the keyboard focus")
            self.entry_node = node
        return self.entry_node

    def story(self):
        """The story, by its name; without the name, the one read-only text."""
        if self.story_node is None:
            shown = self.w.shown()
            node = self.named(STORY_ROLES, "Рассказ", shown)
            self.c.check(node is not None, "the story is a text named «Рассказ»",
                         "texts: %s" % [n for n in shown if n.role in STORY_ROLES])
            if node is None:
                node = next((n for n in shown if n.role in STORY_ROLES and not n.editable), None)
            if node is None:
                raise Abort("no read-only text shows the story")
            self.story_node = node
        return self.story_node

    def story_text(self):
        return self.story().text()

    def since(self, before):
        """What the story gained after `before`; all of it when it was cleared in between."""
        text = self.story_text()
        return text[len(before):] if text.startswith(before) else text

    def label(self, description):
        for n in self.w.shown():
            if n.role == "label" and n.description == description:
                return n
        return None

    def answers(self):
        """The answer buttons on show, by their number: {N: answer text}."""
        found = {}
        for n in self.w.shown():
            m = ANSWER_NAME.match(n.name) if n.role == "push button" else None
            if m:
                found[int(m.group(1))] = m.group(2).strip()
        return found

    def buttons(self):
        """The push buttons on show, whatever their names, but the picture's close button."""
        return [n for n in self.w.shown() if n.role == "push button"
                and n.name not in ("Закрыть картинку", "X")]

    def picture_shown(self):
        return any(n.role == "image" or n.name.startswith("Картинка:") for n in self.w.shown())

    def words(self, column):
        node = self.named(("list",), "Слова %d" % column)
        if not node:
            return None
        return [child.name for child in node.children() if child.role == "list item"]

    # -- doing things

    def key(self, *keys):
        status, out = run_tool([XDOTOOL, "key", "--delay", "30", *keys], self.xenv)
        if status != 0:
            raise Abort("xdotool key %s: %s" % (" ".join(keys), out))

    def clear_input(self):
        line = self.input_line()
        self.key(*["BackSpace"] * len(line.text()))
        if not wait_for(lambda: line.text() == ""):
            raise Abort("the input line could not be emptied: %r" % line.text())

    def focus_input_line(self):
        """Keys go to the input line. Where the window puts the focus itself (closing the picture
        gives it to the story, where a typed key only moves it on) is checked apart; a user would
        click into the line, here it is given back the accessible way."""
        line = self.input_line()
        if not line.focused():
            log("note - the focus is not in the input line; it is given back through AT-SPI")
            line.acc.grab_focus()
            if not wait_for(line.focused):
                raise Abort("the input line cannot get the keyboard focus")
        return line

    def command(self, text):
        """Types a command and sends it. The line must hold exactly what was typed before Enter
        goes: that proves the keys arrived as the right Cyrillic letters."""
        line = self.focus_input_line()
        if line.text():
            self.clear_input()
        status, out = run_tool([XDOTOOL, "type", "--delay", "20", text], self.xenv)
        if status != 0:
            raise Abort("xdotool type: %s" % out)
        if not wait_for(lambda: line.text() == text):
            raise Abort("typed %r, the input line holds %r" % (text, line.text()))
        self.key("Return")

    # -- checking things. What the window shows is set in one go after each event; once the
    # change being waited for is seen, the rest is already there (a short grace covers the
    # accessibility bridge catching up).

    def story_gains(self, before, wanted, what):
        ok = wait_for(lambda: wanted in self.since(before))
        return self.c.check(bool(ok), what, "the story ends with %r" % self.story_text()[-300:])

    def label_shows(self, description, pattern):
        """The status cell described as `description` has `pattern` (a regular expression) in its
        name."""
        what = "status «%s» reads %s" % (description, pattern)
        if self.label(description) is None:
            labels = [n for n in self.w.shown() if n.role == "label"]
            return self.c.check(False, what, "no label so described: %s" % labels)

        def reads():
            n = self.label(description)
            return n is not None and re.search(pattern, n.name)

        return self.c.check(bool(wait_for(reads, timeout=GRACE)), what,
                            repr(self.label(description)))

    def words_are(self, column, wanted):
        what = "word column «Слова %d» lists %s" % (column, ", ".join(wanted))
        lists = [n for n in self.w.shown() if n.role == "list"]
        if not any(n.name == "Слова %d" % column for n in lists):
            return self.c.check(False, what, "lists on show: %s" % lists)
        return self.c.check(bool(wait_for(lambda: self.words(column) == wanted, timeout=GRACE)),
                            what, "it lists %s" % self.words(column))

    def answers_show(self, wanted, what):
        """Waits for buttons to come up, then checks that exactly `wanted` are on show."""
        wait_for(lambda: len(self.buttons()) >= len(wanted))
        ok = wait_for(lambda: self.answers() == wanted, timeout=GRACE)
        self.expected = wanted
        return self.c.check(bool(ok), what, "buttons on show: %s" % self.buttons())

    def press_answer(self, number, then, what):
        """Presses the number key in the empty input line; `then()` says whether the answer was
        taken. If the key did not take it, the button is pressed through AT-SPI instead and the
        stray digit taken out of the line, so the run goes on (the failure is recorded)."""
        line = self.focus_input_line()
        if line.text():
            self.clear_input()
        self.key(str(number))
        if self.c.check(bool(wait_for(then, timeout=2 * GRACE)), what):
            return
        text = self.expected.get(number)
        for n in self.buttons():
            if n.name.strip() in ("%d. %s" % (number, text), text):
                n.acc.do_action(0)
                break
        else:
            raise Abort("no button for answer %d; buttons on show: %s" % (number, self.buttons()))
        self.clear_input()
        if not wait_for(then):
            raise Abort("clicking answer %d through AT-SPI did not take it either" % number)


def play(window, checks, xenv, window_id):
    p = Player(window, checks, xenv)
    c = checks

    # -- The first page: the game's start, waiting for Enter.
    c.check(bool(wait_for(lambda: "Осенний вечер" in p.story_text())),
            "the story's text holds the game's opening", repr(p.story_text()[:200]))
    _, title = run_tool([XDOTOOL, "getwindowname", window_id], xenv)
    top = [n for n in window.nodes() if n.depth == 1]
    c.check(any(n.role == "frame" and n.name == title and n.showing for n in top),
            "the window is a frame named as its title %r" % title, "top level: %s" % top)
    c.check(p.input_line().focused(), "the input line has the keyboard focus")
    p.label_shows("Название игры", r"Старая мельница")
    p.label_shows("Место", r"Вступление в игру")
    p.label_shows("Характер", r"Характер: добро 0, зло 0")
    p.label_shows("Ходы и очки", r"Ходы: 0, очки: 1\.")
    shown = window.shown()
    c.check(not p.buttons() and not [n for n in shown if n.role == "list"],
            "no answer button and no word column on show before they are wanted",
            str([n for n in shown if n.role in ("push button", "list")]))

    p.key("Return")
    c.check(bool(wait_for(lambda: "Вы стоите на развилке" in p.story_text())),
            "Enter on the first page shows the crossroads")
    p.label_shows("Место", r"Развилка у мельницы")

    # -- A command typed in Cyrillic, its reply read from the story.
    # A screen reader hears a reply because the story tells the bus what text it gained.
    inserted = []

    def on_insert(event):
        try:
            if event.source.get_name() == "Рассказ":
                inserted.append(str(event.any_data or ""))
        except GLib.Error:
            pass

    listener = Atspi.EventListener.new(on_insert)
    listener.register("object:text-changed:insert")
    before = p.story_text()
    p.command("помощь")
    p.story_gains(before, "Правила игры:", "«помощь» puts the rules into the story")

    def announced():
        pump()
        return any("Правила игры:" in t for t in inserted)
    c.check(bool(wait_for(announced, timeout=GRACE)),
            "the story announces the reply to screen readers (text-changed:insert)",
            repr(inserted[-3:]))
    listener.deregister("object:text-changed:insert")
    p.label_shows("Ходы и очки", r"Ходы: 1, очки: 1\.")

    # -- The picture: named by its file, closed by Esc.
    before = p.story_text()
    p.command("осмотреть мельницу")
    p.story_gains(before, "Над холмом чернеет мельница", "«осмотреть мельницу» describes it")
    c.check(bool(wait_for(p.picture_shown, timeout=GRACE)), "the mill's picture shows")
    c.check(bool(p.named(("image", "label"), "Картинка: melnica.png")),
            "the picture is named «Картинка: melnica.png»",
            str([n for n in window.shown() if n.role in ("image", "label")]))
    c.check(bool(p.named(("push button",), "Закрыть картинку")),
            "the picture's close button is named «Закрыть картинку»",
            str([n for n in window.shown() if n.role == "push button"]))
    p.key("Escape")
    c.check(bool(wait_for(lambda: not p.picture_shown(), timeout=2 * GRACE)),
            "Esc in the input line closes the picture")

    # -- A transition waits for Enter; the village has word columns.
    before = p.story_text()
    p.command("восток")
    p.story_gains(before, "Вы сворачиваете на восток", "«восток» leads off to the village")
    p.key("Return")
    c.check(bool(wait_for(lambda: "Несколько темных домов" in p.story_text())),
            "Enter after the transition shows the village")
    p.label_shows("Место", r"Деревня")
    p.words_are(1, ["постучать", "взять", "идти на"])
    p.words_are(2, ["в дверь", "фонарь", "запад"])

    # -- A dialogue whose one answer is offered again after it is taken.
    end = "<Закончить диалог>"
    before = p.story_text()
    p.command("поговорить со старушкой")
    p.answers_show({0: end, 1: "Эй, есть кто дома?"},
                   "talking to the old woman shows «1. Эй, есть кто дома?» and «0. %s»" % end)
    c.check(p.input_line().focused(),
            "while answers show, the focus stays in the input line where number keys take them")
    p.press_answer(1, lambda: "Никто не отвечает" in p.since(before),
                   "the number key 1 in the empty input line takes answer 1")
    c.check(p.answers() == p.expected, "the same answers stay after it",
            "buttons on show: %s" % p.buttons())
    p.press_answer(0, lambda: not p.buttons(), "the number key 0 ends the dialogue")

    # -- Knocking changes the character and the word columns.
    before = p.story_text()
    p.command("постучать в дверь")
    p.story_gains(before, "Тук-тук-тук", "«постучать в дверь» knocks")
    p.label_shows("Характер", r"Характер: добро 1, зло 0")
    p.words_are(1, ["поговорить со", "идти на"])

    # -- A dialogue whose answers change as it goes.
    before = p.story_text()
    p.command("поговорить с бабушкой")
    p.answers_show({0: end, 1: "Что случилось с мельником?"},
                   "talking again offers «1. Что случилось с мельником?»")
    p.press_answer(1, lambda: "С Фролом-то?" in p.since(before),
                   "answer 1 taken by its key tells of the miller")
    p.answers_show({0: end, 1: "Отчего же мельница скрипит по ночам?"},
                   "the next answer replaces it: «1. Отчего же мельница скрипит по ночам?»")
    p.press_answer(0, lambda: not p.buttons(), "the number key 0 ends this dialogue too")
    p.label_shows("Ходы и очки", r"Ходы: 8, очки: 4\.")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--mirplay", required=True)
    parser.add_argument("--game", required=True)
    args = parser.parse_args()

    missing, tools = missing_requirements()
    if missing:
        log("SKIP: missing " + ", ".join(missing))
        return SKIP
    global XDOTOOL
    XDOTOOL = tools["xdotool"]
    if libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        log("SKIP: cannot become a subreaper, so the daemons could not all be stopped")
        return SKIP

    # A signal (ctest's own timeout, Ctrl-C) unwinds through the cleanup like any failure.
    def interrupted(signum, _frame):
        raise KeyboardInterrupt("signal %d" % signum)

    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, interrupted)

    scratch = tempfile.mkdtemp(prefix="mireval-atspi-")
    checks = Checks()
    mirplay = None
    window = None
    try:
        runtime = os.path.join(scratch, "runtime")
        os.makedirs(runtime, mode=0o700)
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "SESSION_MANAGER",
                            "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "QT_QPA_PLATFORM")}
        # Nothing read or written outside the scratch folder: not the user's settings, not the
        # user's session.
        for var, sub in (("XDG_RUNTIME_DIR", "runtime"), ("XDG_CONFIG_HOME", "config"),
                         ("XDG_DATA_HOME", "data"), ("XDG_CACHE_HOME", "cache"),
                         ("XDG_STATE_HOME", "state")):
            env[var] = os.path.join(scratch, sub)
            os.makedirs(env[var], mode=0o700, exist_ok=True)
        env["GSETTINGS_BACKEND"] = "memory"

        env["DISPLAY"] = start_x(tools, env, scratch)
        env["DBUS_SESSION_BUS_ADDRESS"] = start_session_bus(tools, env, scratch)
        start_accessibility_bus(tools, env, scratch)

        # The keys xdotool looks up must be on the keyboard map: with the Russian layout every
        # Cyrillic letter is, so nothing is remapped on the fly (which Qt does not follow in
        # time). xdotool reads the text as UTF-8 whatever the locale of the test run.
        xenv = dict(env, LC_ALL="C.UTF-8")
        status, out = run_tool([tools["setxkbmap"], "-layout", "ru"], xenv)
        if status != 0:
            raise Abort("setxkbmap -layout ru: %s" % out)

        menv = dict(env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                    ASAN_OPTIONS="detect_leaks=0")
        mirplay = spawn([os.path.abspath(args.mirplay)], menv,
                        os.path.join(scratch, "mirplay.log"),
                        cwd=program_folder(scratch, os.path.abspath(args.game)))

        # Every child is started; from here on a watchdog may run beside the main thread. If a
        # call ever blocks past the limit, it stops everything and ends the run.
        def overrun():
            log("FAIL - the run took longer than %.0f s; stopping everything" % (RUN_LIMIT + 5))
            stop_everything()
            shutil.rmtree(scratch, ignore_errors=True)
            os._exit(1)

        watchdog = threading.Timer(remaining() + 5, overrun)
        watchdog.daemon = True
        watchdog.start()

        os.environ.update({k: env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                                               "XDG_RUNTIME_DIR")})
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        global Atspi, GLib
        from gi.repository import Atspi as atspi_module
        from gi.repository import GLib as glib_module
        Atspi, GLib = atspi_module, glib_module
        Atspi.init()
        Atspi.set_timeout(3000, 10000)  # no D-Bus call may wait on a stuck peer for long

        global watched
        watched = mirplay
        app = find_application(mirplay.pid)
        if app is None:
            raise Abort("mirplay never showed up in the AT-SPI desktop")
        window = Window(app)
        checks.check(True, "mirplay is on the accessibility bus after %.1f s"
                     % (time.monotonic() - started))

        until = time.monotonic() + min(STEP_LIMIT, remaining())
        window_id = ""
        while not window_id and time.monotonic() < until:
            _, window_id = run_tool([XDOTOOL, "search", "--onlyvisible", "--pid",
                                     str(mirplay.pid)], xenv)
            window_id = window_id.split("\n")[0]
            if not window_id:
                time.sleep(POLL)
        if not window_id:
            raise Abort("mirplay's window never appeared on the X server")
        # No window manager here: the X focus is given to the window directly.
        status, out = run_tool([XDOTOOL, "windowfocus", "--sync", window_id], xenv)
        if status != 0:
            raise Abort("xdotool windowfocus: %s" % out)

        play(window, checks, xenv, window_id)
        checks.check(mirplay.poll() is None, "mirplay is still running at the end")
    except Abort as e:
        checks.check(False, "the run went on to the end", str(e))
    except KeyboardInterrupt as e:
        checks.check(False, "the run went on to the end", "interrupted (%s)" % e)
    except Exception as e:  # a failure of the harness itself is still a failure with a report
        checks.check(False, "the run went on to the end", "%s: %s" % (type(e).__name__, e))
    finally:
        for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            signal.signal(sig, signal.SIG_IGN)  # the cleanup below is not cut short
        try:
            if checks.failed and window is not None:
                log("The accessible tree as it stands:\n" + window.dump())
            if checks.failed and mirplay is not None:
                with open(os.path.join(scratch, "mirplay.log"), errors="replace") as f:
                    err = f.read()[-2000:]
                if err.strip():
                    log("mirplay's standard error:\n" + err)
        finally:
            stop_everything()
            shutil.rmtree(scratch, ignore_errors=True)

    log("%d checks, %d failed, %.1f s" % (checks.count, len(checks.failed),
                                           time.monotonic() - started))
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
