#!/usr/bin/python3
"""What a screen-reader user learns about the worksheet without seeing its grid: every
control that holds or takes a value has a name that says which row and column it is,
tooltips are read as descriptions, labels read as their visible text, the keyboard
reaches every command, and a message box reads as its caption, text and one OK button.

    /usr/bin/python3 test_screen_reader.py <path to tallyforge>

Exit status 0: passed, 1: failed, 77: no X server.
"""
import sys

from desktop import wait_for
import worksheet as ws
from worksheet import eventually, run

LABELS = ["Cost Estimate Worksheet", "Select a State", "Initial Claims", "Weekly Claims",
          "Non Monetary", "Appeals", "Tax", "Salary", "AS&T", "NPS", "Average Hourly Cost",
          "Estimated Hours", "Category Cost", "Total Hours & Cost:"]
DESCRIPTIONS = {
    ("label", "Salary"): "Average Salary per Function",
    ("label", "AS&T"): "Administration, Services, & Technical Support Cost",
    ("label", "NPS"): "Non-Personal Services Costs",
    ("label", "Average Hourly Cost"): "Total Average Hourly Costs",
    ("push button", "Update"): "Updates Costs",
    ("push button", "Print Form"): "Print to Default Printer",
    ("push button", "Clear Form"): "Reset the Form",
    ("push button", "Close & Exit"): "Quit the Application",
}
BUTTONS = ["Update", "Print Form", "Clear Form", "Close & Exit"]
# The focus cycle before a jurisdiction is chosen.
START_CYCLE = ["State", "Update", "Print Form", "Clear Form", "Close & Exit", "Total Hours",
               "State"]


def spoken_name(sheet, node):
    """The names a screen reader may announce for a node: its own, its text field's (an
    editable list), and those of the labels it says label it."""
    names = [node.name]
    if ws.role(node) == "combo box":
        # The text field of an editable list takes the focus and is announced with it.
        names += [ch.name for ch in node if ch is not None and ws.role(ch) == "text"]
    try:
        for rel in node.getRelationSet():
            if rel.getRelationType() == sheet.pyatspi.RELATION_LABELLED_BY:
                names += [rel.getTarget(i).name for i in range(rel.getNTargets())]
    except Exception:
        pass
    return names


def value_controls(sheet):
    """The controls that hold or take a value: text boxes and lists, not the line edit
    inside the jurisdiction list."""
    out = []
    for n in sheet.nodes():
        role = ws.role(n)
        if role == "combo box":
            out.append(n)
        elif role == "text":
            parent = n.parent
            if parent is None or ws.role(parent) != "combo box":
                out.append(n)
    return out


# Alabama's row of the cost table, as its lists show it.
ALABAMA_TEXTS = ["$28.91", "$6.39", "$1.23", "$28.82", "$6.37", "$1.23", "$30.57", "$6.75",
                 "$1.30", "$36.78", "$8.12", "$1.57", "$33.23", "$7.34", "$1.42"]


def check_list_names(sheet, c, when, values=None):
    """values: what the lists must show (state list first), read through the bus."""
    print(f"names of the lists {when}")
    lists = [("State", sheet.state_list())]
    for row in range(5):
        for comp in range(3):
            lists.append((ws.component_name(row, comp), sheet.component_list(row, comp)))
    for i, (name, node) in enumerate(lists):
        names = spoken_name(sheet, node)
        c.true(f"list {name!r} announced by its name {when}", name in names,
               f"role {ws.role(node)!r}, bus name {node.name!r}, "
               f"other names {names[1:]!r}, shows {sheet.text(node)!r}")
        if values:
            c.equal(f"list {name!r} value readable", sheet.text(node), values[i])


def check_names(sheet, c):
    print("names of the controls that hold or take a value")
    P = sheet.pyatspi
    expected = {}  # node key -> (expected name, kind)
    lists = [("State", sheet.state_list(), True)]
    for row in range(5):
        for comp in range(3):
            lists.append((ws.component_name(row, comp), sheet.component_list(row, comp), False))
    for name, node, enabled in lists:
        c.equal(f"list {name!r} enabled", sheet.has(node, P.STATE_ENABLED), enabled)
        expected[id(node)] = name

    boxes = []
    for row in range(5):
        boxes += [(ws.average_name(row), False), (ws.hours_name(row), True),
                  (ws.cost_name(row), False)]
    boxes += [(ws.TOTAL_HOURS, True), (ws.TOTAL_COST, False)]
    for name, editable in boxes:
        try:
            node = sheet.by_name(name, roles=("text",))
        except LookupError as e:
            c.true(f"text box {name!r} on the bus", False, str(e))
            continue
        c.equal(f"text box {name!r} takes input", sheet.has(node, P.STATE_ENABLED)
                and sheet.has(node, P.STATE_EDITABLE) and sheet.has(node, P.STATE_FOCUSABLE),
                editable)

    controls = value_controls(sheet)
    c.equal("controls that hold or take a value", len(controls), 16 + 17)
    named = set(expected.values()) | {name for name, _ in boxes}
    for n in controls:
        if ws.role(n) == "text" and n.name not in named:
            c.true(f"text box named {n.name!r} is one of the worksheet's", False,
                   f"shows {sheet.text(n)!r}")


def check_labels_and_descriptions(sheet, c):
    print("labels, buttons and tooltips")
    nodes = sheet.nodes()
    labels = [n for n in nodes if ws.role(n) == "label" and sheet.showing(n)]
    label_names = [n.name for n in labels]
    for text in LABELS:
        c.equal(f"label {text!r} reads as its text", label_names.count(text), 1)
    c.equal("help label reads as its text", sheet.text(sheet.help_label()), ws.START_HELP)
    c.equal("labels on the window", len(labels), len(LABELS) + 1)
    buttons = [n.name for n in nodes if ws.role(n) == "push button"]
    c.equal("push buttons", buttons, BUTTONS)
    for n in nodes:
        key = (ws.role(n), n.name)
        if key[0] not in ("label", "push button", "text", "combo box"):
            continue
        want = DESCRIPTIONS.get(key, "")
        if want or n.description:
            c.equal(f"description of {key[0]} {key[1]!r}", n.description, want)
    for key in DESCRIPTIONS:
        c.true(f"{key[0]} {key[1]!r} is on the bus", any(
            (ws.role(n), n.name) == key for n in nodes))


def check_keyboard(d, sheet, c):
    print("the keyboard reaches every command")
    seen = [sheet.focus_owner()]
    for _ in range(len(START_CYCLE) - 1):
        before = seen[-1]
        d.key("Tab")
        try:
            seen.append(wait_for(lambda: (f := sheet.focus_owner()) != before and f, 3))
        except TimeoutError:
            seen.append(before)
    seen = ["State" if s and s.startswith("list:") else s for s in seen]
    c.equal("Tab cycle before a choice", seen, START_CYCLE)

    # Update before any jurisdiction: the first row has no hourly cost to work with.
    d.key("Tab")
    wait_for(lambda: sheet.focus_owner() == "Update", 3, what="focus on Update")
    d.key("space")
    count = 0
    while True:
        try:
            dialog = sheet.wait_dialog(timeout=2 if count else 10)
        except TimeoutError:
            break
        count += 1
        texts = sheet.dialog_texts(dialog)
        c.equal(f"message {count}: caption", dialog.name, ws.APP_TITLE)
        c.equal(f"message {count}: text", texts, [ws.BLANK_HOURS])
        c.equal(f"message {count}: buttons", sheet.dialog_buttons(dialog), ["OK"])
        d.key("Return")
        sheet.wait_no_dialog()
        if count > 5:
            break
    c.true("Update before a choice tells the user once per failing row at most",
           1 <= count <= 5, f"{count} message boxes")
    print(f"  ..    {count} message box(es) for Update before a choice")
    c.true("the program keeps running", d.app.poll() is None)
    for row in range(5):
        c.true(f"{ws.ROWS[row]} hours box still hidden",
               not sheet.showing(sheet.by_name(ws.hours_name(row))))


def choose_first_by_arrow_key(d, sheet, c):
    print("typing in the state list chooses nothing; Down on the closed list chooses Alabama")
    d.key("shift+Tab")  # from the focus the message box left back towards the list
    try:
        wait_for(lambda: sheet.focused(sheet.state_list()), 3)
    except TimeoutError:
        d.click(*sheet.centre(sheet.state_list()))
        wait_for(lambda: sheet.focused(sheet.state_list()), 3, what="focus in the state list")
    # Typing a name into the list's text field, even with Enter, chooses nothing.
    d.key("ctrl+a")
    d.type("Virgin Islands")
    d.key("Return")
    c.equal("typed text stays in the text field",
            eventually(sheet, lambda: sheet.text(sheet.state_list()), "Virgin Islands"),
            "Virgin Islands")
    sheet.settle(0.3)
    c.equal("typing and Enter chose nothing", sheet.text_of(ws.average_name(0)), "")
    c.true("the hours boxes stay hidden", not sheet.showing(sheet.by_name(ws.hours_name(0))))
    c.true("no message box", not sheet.dialogs())
    d.key("Down")
    c.equal("Initial Claims average hourly cost",
            eventually(sheet, lambda: sheet.text_of(ws.average_name(0)), "$36.53"), "$36.53")
    c.equal("state list text", sheet.text(sheet.state_list()), "Alabama")


def walk(d, proc, c):
    sheet = ws.Worksheet(d, proc.pid).attach()
    wait_for(lambda: sheet.focused(sheet.state_list()), 5, what="focus in the state list")
    check_list_names(sheet, c, "at start")
    check_names(sheet, c)
    check_labels_and_descriptions(sheet, c)
    check_keyboard(d, sheet, c)
    choose_first_by_arrow_key(d, sheet, c)
    check_list_names(sheet, c, "showing Alabama's costs", ["Alabama"] + ALABAMA_TEXTS)


def main(argv):
    return run(argv, "test_screen_reader.py", walk)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
