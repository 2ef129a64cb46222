"""The worksheet window as a screen reader sees it: its nodes on the accessibility bus,
found by accessible name, or by where they stand on the window for the lists (on Linux
Qt names a combo box after its current text), and the texts they show.
"""
import os
import sys
import time
import traceback

from desktop import Desktop, DesktopUnavailable, wait_for

SKIP = 77  # CTest's "skipped"

# The roles the tests look for, found by their AT-SPI value and named as the bus named them
# before at-spi2-core 2.5x, which calls a push button "button".
ROLES = ("PUSH_BUTTON", "TEXT", "COMBO_BOX", "LABEL", "LIST", "LIST_ITEM", "ICON", "IMAGE",
         "ALERT", "DIALOG", "FILLER", "FRAME", "PANEL")


def role(node):
    import pyatspi  # imported by Desktop.atspi() before any node exists
    value = node.getRole()
    return next((r.lower().replace("_", " ") for r in ROLES if value == getattr(pyatspi, "ROLE_" + r)),
                node.getRoleName())


CAPTION = "Cost Estimate Worksheet"
APP_TITLE = "Tallyforge"
TWIPS_PER_PIXEL = 15

ROWS = ["Initial Claims", "Weekly Claims", "Non Monetary", "Appeals", "Tax"]
COMPONENTS = ["Salary", "AS&T", "NPS"]

START_PROMPT = "Select a State First"
START_HELP = "Select a State from the Drop Down box titled 'Select a State' and hit the tab key"
CONTINUE_HELP = ("Continue to highlight the '0' and enter the estimated hours for this activity. "
                 "Press the Tab Key.")
DONE_HELP = ("You have now entered all of the information for this form.  "
             "The form can be printed at the default printer.")
BLANK_HOURS = "You cannot have a blank hours field, must be zero or greater"
NEGATIVE_HOURS = "Hours value cannot be less than zero"

# Where the lists and the help label stand, in twips from the client area's corner
# (left, top, width, height): the bus gives these controls no name of their own to
# find them by.
STATE_LIST = (4680, 1440, 2535, 360)
HELP_LABEL = (480, 8040, 10995, 1095)
COMPONENT_LEFT = [2760, 4080, 5400]
ROW_TOP = [3120, 3720, 4320, 4920, 5520]
COMPONENT_SIZE = (975, 360)

# The fifteen jurisdiction lists' accessible names in row order, then component order.
def component_name(row, component):
    return f"{ROWS[row]}, {COMPONENTS[component]}"


def hours_name(row):
    return f"{ROWS[row]}, Estimated Hours"


def average_name(row):
    return f"{ROWS[row]}, Average Hourly Cost"


def cost_name(row):
    return f"{ROWS[row]}, Category Cost"


TOTAL_HOURS = "Total Hours"
TOTAL_COST = "Total Cost"


class Worksheet:
    def __init__(self, desktop, pid, scale=1.0):
        self.d = desktop
        self.pid = pid
        self.scale = scale
        self.pyatspi = desktop.atspi()
        self.app = None
        self.frame = None

    # ---- the tree -------------------------------------------------------------------

    def attach(self, timeout=20):
        desk = self.pyatspi.Registry.getDesktop(0)

        def find_app():
            for i in range(desk.childCount):
                a = desk.getChildAtIndex(i)
                if a is not None and a.get_process_id() == self.pid:
                    return a
            return None

        self.app = wait_for(find_app, timeout, what="the program on the accessibility bus")
        self.refresh()
        return self

    def refresh(self, timeout=10):
        """Finds the worksheet window again (Clear Form builds its controls anew)."""
        def find_frame():
            self.app.clearCache()
            for w in self.app:
                if w is not None and w.name == CAPTION and self.showing(w):
                    return w
            return None

        self.frame = wait_for(find_frame, timeout, what=f"a window captioned {CAPTION!r}")
        return self.frame

    def walk(self, node=None, into_lists=False):
        node = node if node is not None else self.frame
        yield node
        for child in node:
            if child is None:
                continue
            if not into_lists and role(child) == "list" and role(node) == "combo box":
                continue
            yield from self.walk(child, into_lists)

    def nodes(self):
        self.app.clearCache()
        return list(self.walk())

    def by_name(self, name, roles=("text", "combo box", "push button", "label")):
        found = [n for n in self.nodes() if n.name == name and role(n) in roles]
        if len(found) != 1:
            raise LookupError(f"{len(found)} controls named {name!r} on the bus")
        return found[0]

    def origin(self):
        e = self.extents(self.frame)
        return e[0], e[1]

    def at(self, rect_twips, wanted):
        """The node of this role (or one of these roles) whose centre is nearest the
        centre of a control cell."""
        roles = (wanted,) if isinstance(wanted, str) else tuple(wanted)
        ox, oy = self.origin()
        left, top, width, height = rect_twips
        cx = ox + (left + width / 2) / TWIPS_PER_PIXEL * self.scale
        cy = oy + (top + height / 2) / TWIPS_PER_PIXEL * self.scale
        best, best_d = None, None
        for n in self.nodes():
            if role(n) not in roles:
                continue
            x, y, w, h = self.extents(n)
            if w <= 0 or h <= 0 or not (x <= cx <= x + w and y <= cy <= y + h):
                continue
            dist = abs(x + w / 2 - cx) + abs(y + h / 2 - cy)
            if best is None or dist < best_d:
                best, best_d = n, dist
        if best is None:
            raise LookupError(f"no {wanted} at twips {rect_twips}")
        return best

    def state_list(self):
        return self.at(STATE_LIST, "combo box")

    def component_list(self, row, component):
        # A list the user can never open may as well reach the bus as a read-only field.
        node = self.at((COMPONENT_LEFT[component], ROW_TOP[row]) + COMPONENT_SIZE,
                       ("combo box", "text"))
        node.tf_accessible_name = component_name(row, component)
        return node

    def help_label(self):
        return self.at(HELP_LABEL, "label")

    # ---- properties -----------------------------------------------------------------

    def extents(self, node):
        e = node.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        return e.x, e.y, e.width, e.height

    def centre(self, node):
        x, y, w, h = self.extents(node)
        return x + w // 2, y + h // 2

    def has(self, node, state):
        return node.getState().contains(state)

    def showing(self, node):
        return self.has(node, self.pyatspi.STATE_SHOWING)

    def focused(self, node):
        """True when the node, or the line edit inside an editable list, has the focus."""
        if self.has(node, self.pyatspi.STATE_FOCUSED):
            return True
        if role(node) == "combo box":
            return any(c is not None and role(c) == "text"
                       and self.has(c, self.pyatspi.STATE_FOCUSED) for c in node)
        return False

    def text(self, node):
        """What the control shows: a box's contents, a list's text field, a label's text."""
        kind = role(node)
        if kind == "combo box":
            for c in node:
                if c is not None and role(c) == "text":
                    t = c.queryText()
                    return t.getText(0, t.characterCount)
            if "Text" in self.pyatspi.listInterfaces(node):
                t = node.queryText()
                return t.getText(0, t.characterCount)
            # A list without a text field: Qt names it after its current text, and after
            # its accessible name while it shows nothing.
            return "" if node.name == getattr(node, "tf_accessible_name", None) else node.name
        if kind == "label":
            return node.name
        t = node.queryText()
        return t.getText(0, t.characterCount)

    def text_of(self, name):
        return self.text(self.by_name(name))

    def focus_owner(self):
        """The accessible name (or the role and text) of the control that has the focus."""
        for n in self.nodes():
            kind = role(n)
            if kind in ("filler", "frame", "panel", "list", "list item"):
                continue
            if self.has(n, self.pyatspi.STATE_FOCUSED):
                if kind == "combo box":
                    return "list:" + n.name
                if kind == "text" and n.parent is not None \
                        and role(n.parent) == "combo box":
                    return "list:" + n.parent.name
                return n.name or f"{kind}:{self.text(n)}"
        return None

    # ---- message boxes --------------------------------------------------------------

    def dialogs(self):
        self.app.clearCache()
        return [w for w in self.app if w is not None and role(w) in ("alert", "dialog")
                and self.showing(w)]

    def wait_dialog(self, timeout=10):
        return wait_for(lambda: (self.dialogs() or [None])[0], timeout, what="a message box")

    def dialog_texts(self, dialog):
        return [n.name for n in self.walk(dialog) if role(n) == "label"
                and n.name and self.showing(n)]

    def dialog_buttons(self, dialog):
        return [n.name for n in self.walk(dialog) if role(n) == "push button"
                and self.showing(n)]

    def wait_no_dialog(self, timeout=10):
        wait_for(lambda: not self.dialogs(), timeout, what="the message box to close")

    def settle(self, seconds=0.15):
        time.sleep(seconds)


# --- Running a walk through the worksheet on a private desktop, with its checks.

class Checks:
    def __init__(self):
        self.failures = []

    def equal(self, what, seen, expected):
        if seen == expected:
            print(f"  ok    {what}: {seen!r}")
        else:
            print(f"  FAIL  {what}: saw {seen!r}, expected {expected!r}")
            self.failures.append(what)

    def summary(self):
        shown = "; ".join(self.failures[:5])
        more = len(self.failures) - 5
        return shown + (f"; and {more} more" if more > 0 else "")

    def true(self, what, condition, detail=""):
        if condition:
            print(f"  ok    {what}")
        else:
            print(f"  FAIL  {what}{': ' + detail if detail else ''}")
            self.failures.append(what)


def eventually(sheet, read, expected, timeout=3.0):
    """The value read() settles on: expected as soon as it shows, else the last one read."""
    seen = [None]

    def probe():
        seen[0] = read()
        return seen[0] == expected

    try:
        wait_for(probe, timeout)
    except TimeoutError:
        pass
    return seen[0]


def run(argv, script, walk):
    """Starts the private desktop and the program, runs walk(desktop, process, checks),
    stops everything and reports. The exit status for CTest: 0, 1, or SKIP."""
    if len(argv) != 2:
        print(f"usage: {script} <tallyforge>", file=sys.stderr)
        return 2
    program = os.path.abspath(argv[1])
    started = time.monotonic()
    c = Checks()
    d = Desktop()
    try:
        try:
            d.start()
        except DesktopUnavailable as e:
            print(f"SKIP: no X server for the end-to-end test: {e}")
            return SKIP
        proc = d.launch([program], {
            "LC_ALL": "en_US.UTF-8", "LANG": "en_US.UTF-8",
            # Nothing listens here: printing finds no printer.
            "CUPS_SERVER": os.path.join(d.tmp, "no-print-server.sock"),
        }, name="tallyforge")
        # No window manager: give the window the input focus ourselves, as one would.
        d.focus_window(d.window_of(proc.pid))
        walk(d, proc, c)
    except Exception:
        traceback.print_exc()
        c.failures.append("the walk-through stopped")
        log = d.program_log("tallyforge")
        if log:
            print("--- program output ---\n" + log[-3000:])
    finally:
        d.close()
    took = time.monotonic() - started
    if c.failures:
        print(f"FAILED {len(c.failures)} checks in {took:.1f} s: " + c.summary())
        return 1
    print(f"passed in {took:.1f} s")
    return 0
