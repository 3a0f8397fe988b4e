#!/usr/bin/python3
"""Plays the game through the desktop's accessibility tree only, as a screen reader would.

The real program runs under Xvfb on a private D-Bus session with the accessibility bus
(at-spi2-core), seeded so that the engine (zelmar-sim) knows every result beforehand. The test
finds the keys by their names, bets and spins by their actions, hears the changes the game tells,
reads the credits, the status line and the reels back, plays a bonus game by its boxes and a STOP
sign, and presses a menu command that opens a modal window, which must answer at once.

usage: play_by_accessibility.py PROGRAM SIM
Exit status 77 (skipped) when the tools are not installed.
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
TOOLS = ["Xvfb", "dbus-run-session"]
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"

# The pay table's words for the symbol codes, as the manual names them.
LINE_SYMBOLS = ["Ice-hockey sticks and puck", "Racing car", "Boxing gloves", "Soccer ball",
                "Tennis racket and ball", "Gymnast on the beam", "Eight-ball", "Bowling pin",
                "American football", "Basketball", "Baseball bat and ball", "Golf ball on a tee"]


def symbol_name(code):
    if code <= 4:
        return "WILD"
    if code <= 9:
        return "ZELMAR badge %d" % (code - 4)
    return LINE_SYMBOLS[code - 10]


def skip(why):
    print("SKIPPED: " + why)
    sys.exit(SKIP)


def fail(why):
    print("FAILED: " + why)
    sys.exit(1)


def outer(argv):
    """Checks for the tools, then runs the test again inside a private D-Bus session."""
    missing = [t for t in TOOLS if shutil.which(t) is None]
    if not os.path.exists(BUS_LAUNCHER):
        missing.append(BUS_LAUNCHER)
    try:
        import gi
        gi.require_version("Atspi", "2.0")
        import pyatspi  # noqa: F401
    except (ImportError, ValueError):
        missing.append("pyatspi")
    if missing:
        skip("not installed: " + ", ".join(missing))
    env = dict(os.environ, ZELMAR_A11Y_INNER="1")
    sys.exit(subprocess.call(["dbus-run-session", "--", sys.executable, os.path.abspath(__file__)] +
                             argv, env=env))


def engine_spins(sim, seed, count):
    out = subprocess.run([sim, "spins", "--seed", str(seed), "--count", str(count), "--lines", "9",
                          "--per-line", "1"], check=True, capture_output=True, text=True).stdout
    return [json.loads(line) for line in out.splitlines()]


def find_seed(sim):
    """A seed whose first spin of 9 lines at 1 credit pays without a bonus game and whose second
    one starts a bonus game."""
    for seed in range(1, 20000):
        first, second = engine_spins(sim, seed, 2)
        if first["game_paid"] > 0 and "ball_prizes" not in first and "ball_prizes" in second:
            return seed, first, second
    fail("no seed with a paying spin and then a bonus game")


class Tree:
    """The game's part of the desktop's accessibility tree, and the events it tells."""

    def __init__(self, pyatspi, app_name):
        self.pyatspi = pyatspi
        self.app_name = app_name
        self.events = []
        from gi.repository import GLib
        self.context = GLib.MainContext.default()
        for kind in ("object:property-change:accessible-name", "object:state-changed:checked",
                     "object:state-changed:enabled", "object:text-changed"):
            pyatspi.Registry.registerEventListener(self.heard, kind)

    def heard(self, event):
        try:
            name = event.source.name
        except Exception:  # an object gone meanwhile
            name = None
        # A text's change carries the text; other events their first detail.
        detail = (event.any_data if event.type.startswith("object:text-changed")
                  else event.detail1)
        self.events.append((event.type, name, detail))

    def pump(self, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            while self.context.iteration(False):
                pass
            time.sleep(0.02)

    def app(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            a = desktop.getChildAtIndex(i)
            if a is not None and a.name == self.app_name:
                return a
        return None

    def all(self, root=None):
        root = root or self.app()
        found = []
        if root is None:
            return found
        stack = [root]
        while stack:
            node = stack.pop()
            found.append(node)
            for i in range(node.childCount):
                child = node.getChildAtIndex(i)
                if child is not None:
                    stack.append(child)
        return found

    def find(self, name, role=None, root=None):
        for node in self.all(root):
            if node.name == name and (role is None or node.getRoleName() == role):
                return node
        return None

    def wait_for(self, what, condition, seconds=30):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            value = condition()
            if value:
                return value
            self.pump(0.1)
        fail("waited %d s for %s" % (seconds, what))

    def text(self, node):
        t = node.queryText()
        return t.getText(0, -1)

    def enabled(self, node):
        return node.getState().contains(self.pyatspi.STATE_ENABLED)

    def checked(self, node):
        return node.getState().contains(self.pyatspi.STATE_CHECKED)

    def press(self, node):
        action = node.queryAction()
        if action.nActions < 1:
            fail("%s has no action" % node.name)
        start = time.monotonic()
        try:
            action.doAction(0)
        except Exception as error:  # no answer within D-Bus's own timeout
            fail("pressing %s got no answer: %s" % (node.name, error))
        return time.monotonic() - start

    def heard_since(self, mark, kind, name):
        return any(t.startswith(kind) and n == name for t, n, _ in self.events[mark:])


def listing(tree, node, depth=0, lines=None):
    lines = [] if lines is None else lines
    if depth > 0:
        extra = ""
        try:
            extra = " = " + repr(tree.text(node))
        except NotImplementedError:
            pass
        states = [s for s in ("enabled", "checked") if node.getState().contains(
            getattr(tree.pyatspi, "STATE_" + s.upper()))]
        lines.append("%s[%s] %r%s %s" % ("  " * depth, node.getRoleName(), node.name, extra,
                                         ",".join(states)))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            listing(tree, child, depth + 1, lines)
    return lines


def inner(program, sim):
    import gi
    gi.require_version("Atspi", "2.0")
    import pyatspi

    seed, first, second = find_seed(sim)
    print("seed %d: first spin pays %d, the second starts a bonus game" %
          (seed, first["game_paid"]))

    work = tempfile.mkdtemp(prefix="zelmar-a11y-")
    runtime = os.path.join(work, "runtime")
    os.mkdir(runtime, 0o700)
    procs = []
    try:
        procs.append(subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"]))
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "800x600x24",
                                 "-nolisten", "tcp"], stdout=subprocess.PIPE)
        procs.append(xvfb)
        display = xvfb.stdout.readline().decode().strip()
        if not display:
            fail("Xvfb gave no display number")
        env = dict(os.environ, DISPLAY=":" + display, QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                   HOME=work, XDG_RUNTIME_DIR=runtime,
                   XDG_DATA_HOME=os.path.join(work, "data"),
                   XDG_CACHE_HOME=os.path.join(work, "cache"),
                   SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=os.path.join(work, "heard.raw"),
                   ZELMAR_SEED=str(seed))
        game = subprocess.Popen([program], env=env, cwd=work)
        procs.append(game)
        tree = Tree(pyatspi, "Zelmar Slots")

        # The keys, found by their names, open once the game has started.
        tree.wait_for("the cabinet in the tree", lambda: tree.find("Spin", "push button"))
        spin = tree.find("Spin", "push button")
        tree.wait_for("the keys to open", lambda: tree.enabled(spin))
        credits = tree.find("Credits")
        reels = tree.find("Reels", "table")
        if tree.find("Status", "label") is None:
            fail("no status line named Status in the tree")
        print("\n".join(listing(tree, tree.app())))
        if tree.text(credits) != "1000":
            fail("the credits read %r before play, not 1000" % tree.text(credits))

        # A bet: 3 paylines, then 9, each lighting its key (told), then 1 credit a line, which
        # spins.
        one = tree.find("1 Credit", "push button")
        for lines in ("3 Paylines", "9 Paylines"):
            key = tree.find(lines, "push button")
            if key is None or one is None:
                fail("a bet key is missing from the tree")
            mark = len(tree.events)
            tree.press(key)
            tree.wait_for(lines + " to be lit", lambda: tree.checked(key))
            tree.wait_for("the lit key to be told",
                          lambda: tree.heard_since(mark, "object:state-changed:checked", lines))
        mark = len(tree.events)
        tree.press(one)
        expected = 1000 - 9 + first["game_paid"]
        tree.wait_for("the credits after the count-up to be told",
                      lambda: tree.heard_since(mark, "object:property-change:accessible-name",
                                               "Credits"), 60)
        if tree.text(credits) != str(expected):
            fail("the credits read %r after the first spin, the engine says %d" %
                 (tree.text(credits), expected))
        names = [[reels.queryTable().getAccessibleAt(row, col).name for col in range(5)]
                 for row in range(3)]
        want = [[symbol_name(first["window"][col][row]) for col in range(5)] for row in range(3)]
        if names != want:
            fail("the reels read %r, the engine shows %r" % (names, want))
        told_cells = {n for t, n, _ in tree.events[mark:]
                      if t == "object:property-change:accessible-name"}
        if not any(name in told_cells for row in want for name in row):
            fail("the reels at rest were not told")
        tree.wait_for("the win on the status line to be told",
                      lambda: any(t.startswith("object:text-changed:insert") and n == "Status" and
                                  str(d).startswith("Game paid %d" % first["game_paid"])
                                  for t, n, d in tree.events[mark:]))
        changes = sum(1 for t, n, _ in tree.events[mark:]
                      if t == "object:property-change:accessible-name" and n == "Credits")
        if changes != 1:
            fail("the credits were told %d times for one spin, not once" % changes)

        # The second spin starts a bonus game: SPIN by its action, then the boxes.
        tree.wait_for("the keys to open again", lambda: tree.enabled(spin))
        tree.press(spin)
        box = tree.wait_for("the bonus game's boxes", lambda: tree.find("Ball", "push button"),
                            60)
        bonus = box.parent
        print("\n".join(listing(tree, bonus)))
        prizes = second["ball_prizes"]
        pick = next(i for i, m in enumerate(prizes) if m > 0)
        boxes = [bonus.getChildAtIndex(i) for i in range(bonus.childCount)
                 if bonus.getChildAtIndex(i).name in ("Ball", "Bomb") or
                 bonus.getChildAtIndex(i).name.isdigit()]
        if len(boxes) != 8:
            fail("the bonus game shows %d boxes, not 8" % len(boxes))
        mark = len(tree.events)
        tree.press(boxes[pick])
        prize = prizes[pick] * 9
        tree.wait_for("the picked box to show its prize", lambda: boxes[pick].name == str(prize))
        tree.wait_for("the prize to be told",
                      lambda: tree.heard_since(mark, "object:property-change:accessible-name",
                                               str(prize)))
        total = tree.find("Total", root=bonus)
        if tree.text(total) != str(prize):
            fail("the bonus total reads %r, not %d" % (tree.text(total), prize))
        stop = tree.find("STOP", "push button", root=bonus)
        if stop is None or not tree.enabled(stop):
            fail("no STOP sign to press")
        tree.press(stop)
        expected += -9 + second["game_paid"] + prize
        tree.wait_for("the bonus prize counted into the credits",
                      lambda: tree.text(credits) == str(expected) and tree.enabled(spin), 60)

        # A menu command that opens a modal window answers at once.
        stats = tree.find("Stats", "menu item")
        if stats is None:
            fail("no Stats command in the menu bar")
        elapsed = tree.press(stats)
        if elapsed > 1.0:
            fail("the Stats command answered after %.1f s" % elapsed)
        window = tree.wait_for("the statistics window",
                               lambda: tree.find("Your Game Statistics"))
        print("\n".join(listing(tree, window)))
        print("Stats answered in %.3f s" % elapsed)

        # The payoff chart's figures read as text.
        tree.press(tree.find("OK", "push button", root=window))
        tree.wait_for("the statistics window to close",
                      lambda: tree.find("Your Game Statistics") is None)
        tree.press(tree.find("Payoffs", "menu item"))
        chart = tree.wait_for("the payoff chart", lambda: tree.find("Payoff Chart"))
        wild = tree.find("WILD: 5 pay 2500, 4 pay 2000, 3 pay 120, 2 pay 25, 1 pay 2", root=chart)
        if wild is None:
            print("\n".join(listing(tree, chart)))
            fail("the payoff chart's figures cannot be read")
        place = wild.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if place.width <= 0 or place.height <= 0:
            fail("the payoff chart's figures have no place on the screen")
        if tree.find("A walking ball of the bonus game", root=chart) is None:
            fail("the payoff chart's pictures have no names")

        # The save-slot dialog's keys answer at once, the one that asks for a name too.
        tree.press(tree.find("Close", "push button", root=chart))
        tree.wait_for("the payoff chart to close", lambda: tree.find("Payoff Chart") is None)
        tree.press(tree.find("Save Game", "menu item"))
        title = "Save a Game -- Select Game Slot"
        slots = tree.wait_for("the save-slot dialog", lambda: tree.find(title))
        for key in ("Help", "OK, game 1"):
            elapsed = tree.press(tree.find(key, "push button", root=slots))
            if elapsed > 1.0:
                fail("the save-slot dialog's %s answered after %.1f s" % (key, elapsed))
        query = tree.wait_for("the name query", lambda: tree.find("Name for this saved game?"))
        tree.press(tree.find("Cancel", "push button", root=query))
        tree.wait_for("the save-slot dialog to close", lambda: tree.find(title) is None)

        # Borrowing a chip by its name: the dialog's meters read and tell the new figures.
        tree.press(tree.find("Borrow", "menu item"))
        borrow = tree.wait_for("the borrow dialog", lambda: tree.find(
            "Use this form to borrow or pay back credits"))
        print("\n".join(listing(tree, borrow)))
        meter = tree.find("Credits", "label", root=borrow)
        mark = len(tree.events)
        tree.press(tree.find("$10", "push button", root=borrow))
        tree.wait_for("the borrowed credits to be told",
                      lambda: tree.heard_since(mark, "object:property-change:accessible-name",
                                               "Credits"))
        if tree.text(meter) != str(expected + 10):
            fail("the borrow dialog's credits read %r, not %d" % (tree.text(meter), expected + 10))
        print("PASSED")
    finally:
        for p in reversed(procs):
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__)
        sys.exit(2)
    if os.environ.get("ZELMAR_A11Y_INNER") != "1":
        outer(sys.argv[1:])
    inner(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
