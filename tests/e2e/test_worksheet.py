#!/usr/bin/python3
"""One whole estimate on a real X server, as a keyboard user does it, read back the way
a screen reader reads it.

    /usr/bin/python3 test_worksheet.py <path to tallyforge>

Starts Xvfb, a session bus and the accessibility bus of its own, runs the worksheet on
Qt's xcb platform, drives it only with X key and pointer events (xdotool) and checks
every text it shows over AT-SPI. Exit status 0: passed, 1: failed, 77: no X server.
"""
import sys
from decimal import ROUND_HALF_UP, Decimal

from desktop import wait_for
import worksheet as ws
from worksheet import eventually, run

# The Virgin Islands row of the cost table, as its fifteen lists show it: Salary, AS&T,
# NPS of Initial Claims, Weekly Claims, Non Monetary, Appeals, Tax.
VIRGIN_ISLANDS = 47
VIRGIN_ISLANDS_TEXTS = [
    ("$23.45", "$5.34", "$12.56"),
    ("$23.34", "$5.31", "$12.50"),
    ("$28.97", "$6.60", "$15.51"),
    ("$31.61", "$7.20", "$16.93"),
    ("$37.15", "$8.46", "$19.9"),
]
NO_PRINT_SERVER = "The form was not printed because the print service is not running."
# Hours typed into the five boxes: half and quarter hours whose products end in half a
# cent (16.5 x $41.35 = 682.275, 4.5 x $41.15 = 185.175, 2.75 x $55.74 = 153.285), a
# fraction, and a figure big enough to need grouping.
HOURS = ["16.5", "4.5", "2.4", "2.75", "1234"]


def money(text):
    return Decimal(text.replace("$", "").replace(",", ""))


def money_text(value):
    """$1,234.50 / -$5.00, as the worksheet shows amounts under en_US settings."""
    q = Decimal(value).quantize(Decimal("0.01"), rounding=ROUND_HALF_UP)  # half away from zero
    sign = "-" if q < 0 else ""
    return f"{sign}${abs(q):,.2f}"


def whole_text(value):
    q = Decimal(value).quantize(Decimal("1"), rounding=ROUND_HALF_UP)
    return f"{q:,}"


def category_cost(average_text, hours_text):
    # The exact product of the figures on the row; money_text rounds it once.
    return money(average_text) * Decimal(hours_text)


def check_start_state(sheet, c, when):
    print(f"start state ({when})")
    c.equal("state list text", eventually(sheet, lambda: sheet.text(sheet.state_list()),
                                          ws.START_PROMPT), ws.START_PROMPT)
    c.equal("help text", eventually(sheet, lambda: sheet.text(sheet.help_label()),
                                    ws.START_HELP), ws.START_HELP)
    c.true("focus in the state list",
           eventually(sheet, lambda: sheet.focused(sheet.state_list()), True),
           f"focus on {sheet.focus_owner()!r}")
    for row in range(5):
        box = sheet.by_name(ws.hours_name(row))
        c.true(f"{ws.ROWS[row]} hours box not showing", not sheet.showing(box))
        c.equal(f"{ws.ROWS[row]} hours", sheet.text(box), "0")
        c.equal(f"{ws.ROWS[row]} average hourly cost", sheet.text_of(ws.average_name(row)), "")
        c.equal(f"{ws.ROWS[row]} category cost", sheet.text_of(ws.cost_name(row)), "0")
        for comp in range(3):
            c.equal(f"{ws.component_name(row, comp)} list text",
                    sheet.text(sheet.component_list(row, comp)), "")
    c.equal("total hours", sheet.text_of(ws.TOTAL_HOURS), "0")
    c.equal("total cost", sheet.text_of(ws.TOTAL_COST), "0")


def choose_virgin_islands(d, sheet, c):
    print("choose Virgin Islands with the keyboard")
    # Alt+Down opens the closed list; the first entry is then highlighted, and each Down
    # moves one entry on. Return chooses the highlighted entry.
    d.key("alt+Down")
    wait_for(lambda: [n for n in sheet.walk(sheet.state_list(), into_lists=True)
                      if ws.role(n) == "list item" and sheet.showing(n)], 5,
             what="the state list to drop down")
    d.key(*["Down"] * VIRGIN_ISLANDS, delay=8)

    def highlighted():
        items = [n for n in sheet.walk(sheet.state_list(), into_lists=True)
                 if ws.role(n) == "list item"
                 and sheet.has(n, sheet.pyatspi.STATE_SELECTED)]
        return items[0].name if len(items) == 1 else None

    c.equal("highlighted entry 47", eventually(sheet, highlighted, "Virgin Islands"),
            "Virgin Islands")
    d.key("Return")
    wait_for(lambda: sheet.text_of(ws.average_name(4)) != "", 10,
             what="the average hourly costs")


def check_choice(sheet, c):
    print("after the choice")
    c.equal("state list text", sheet.text(sheet.state_list()), "Virgin Islands")
    averages = []
    for row in range(5):
        texts = VIRGIN_ISLANDS_TEXTS[row]
        for comp in range(3):
            c.equal(f"{ws.component_name(row, comp)} list text",
                    sheet.text(sheet.component_list(row, comp)), texts[comp])
        average = money_text(sum(money(t) for t in texts))
        averages.append(average)
        c.equal(f"{ws.ROWS[row]} average hourly cost",
                sheet.text_of(ws.average_name(row)), average)
        box = sheet.by_name(ws.hours_name(row))
        c.true(f"{ws.ROWS[row]} hours box showing", sheet.showing(box))
        c.equal(f"{ws.ROWS[row]} category cost", sheet.text_of(ws.cost_name(row)), "$0.00")
    c.equal("Tax average hourly cost", averages[4], "$65.51")
    c.equal("total cost", sheet.text_of(ws.TOTAL_COST), "$0.00")
    c.equal("total hours", sheet.text_of(ws.TOTAL_HOURS), "0")
    c.equal("help text (Update ran)", sheet.text(sheet.help_label()), ws.DONE_HELP)
    c.true("focus in the Initial Claims hours box",
           sheet.focused(sheet.by_name(ws.hours_name(0))), f"focus on {sheet.focus_owner()!r}")
    return averages


def enter_hours(d, sheet, c, averages):
    print("type the hours, Tab from box to box")
    costs = []
    for row in range(5):
        box = sheet.by_name(ws.hours_name(row))
        c.true(f"{ws.ROWS[row]} hours box has the focus", sheet.focused(box),
               f"focus on {sheet.focus_owner()!r}")
        d.key("ctrl+a")
        d.type(HOURS[row])
        d.key("Tab")
        costs.append(money_text(category_cost(averages[row], HOURS[row])))
        total_cost = money_text(sum(money(t) for t in costs))
        total_hours = whole_text(sum(Decimal(h) for h in HOURS[:row + 1]))
        c.equal(f"{ws.ROWS[row]} category cost",
                eventually(sheet, lambda: sheet.text_of(ws.cost_name(row)), costs[row]),
                costs[row])
        c.equal(f"total cost after the {ws.ROWS[row]} box",
                eventually(sheet, lambda: sheet.text_of(ws.TOTAL_COST), total_cost), total_cost)
        c.equal(f"total hours after the {ws.ROWS[row]} box",
                eventually(sheet, lambda: sheet.text_of(ws.TOTAL_HOURS), total_hours),
                total_hours)
        c.equal(f"{ws.ROWS[row]} hours as typed", sheet.text(box), HOURS[row])
        help_text = ws.DONE_HELP if row == 4 else ws.CONTINUE_HELP
        c.equal("help text", eventually(sheet, lambda: sheet.text(sheet.help_label()),
                                        help_text), help_text)
    c.equal("focus after the Tax box", eventually(sheet, sheet.focus_owner, "Update"), "Update")
    return costs


def check_message(sheet, c, what, expected_text, close_key="Return"):
    dialog = sheet.wait_dialog()
    c.equal(f"{what}: caption", dialog.name, ws.APP_TITLE)
    texts = sheet.dialog_texts(dialog)
    c.equal(f"{what}: text", texts, [expected_text])
    c.equal(f"{what}: buttons", sheet.dialog_buttons(dialog), ["OK"])
    icons = [n for n in sheet.walk(dialog) if ws.role(n) in ("icon", "image")
             and sheet.showing(n)]
    c.true(f"{what}: no icon", not icons)
    print(f"  ..    {what}: {texts!r}")
    sheet.d.key(close_key)
    sheet.wait_no_dialog()
    return texts


def bad_entry(d, sheet, c, costs):
    print("letters in the Tax hours box")
    d.key("shift+Tab")
    box = sheet.by_name(ws.hours_name(4))
    c.true("Shift+Tab back in the Tax hours box",
           eventually(sheet, lambda: sheet.focused(box), True),
           f"focus on {sheet.focus_owner()!r}")
    before = (sheet.text_of(ws.cost_name(4)), sheet.text_of(ws.TOTAL_COST),
              sheet.text_of(ws.TOTAL_HOURS))
    d.key("ctrl+a")
    d.type("abc")
    d.key("Tab")
    check_message(sheet, c, "bad hours message", ws.BLANK_HOURS)
    c.equal("Tax hours after the message", eventually(sheet, lambda: sheet.text(box), "0"), "0")
    c.true("focus back in the Tax hours box",
           eventually(sheet, lambda: sheet.focused(box), True),
           f"focus on {sheet.focus_owner()!r}")
    after = (sheet.text_of(ws.cost_name(4)), sheet.text_of(ws.TOTAL_COST),
             sheet.text_of(ws.TOTAL_HOURS))
    c.equal("Tax category cost and totals unchanged", after, before)
    c.equal("help text", sheet.text(sheet.help_label()), ws.DONE_HELP)


def negative_entry(d, sheet, c, costs, averages):
    print("minus two hours in the Non Monetary box")
    d.key("shift+Tab", "shift+Tab")  # back over the Appeals box into Non Monetary
    box = sheet.by_name(ws.hours_name(2))
    c.true("Shift+Tab twice reaches the Non Monetary box",
           eventually(sheet, lambda: sheet.focused(box), True),
           f"focus on {sheet.focus_owner()!r}")
    d.key("ctrl+a")
    d.type("-2")
    d.key("Tab")
    check_message(sheet, c, "negative hours message", ws.NEGATIVE_HOURS)
    c.true("focus back in the Non Monetary box",
           eventually(sheet, lambda: sheet.focused(box), True),
           f"focus on {sheet.focus_owner()!r}")
    # The calculation goes on with the negative hours. The Tax box holds "0" since the
    # bad entry.
    negative = money_text(category_cost(averages[2], "-2"))
    shown = costs[:2] + [negative, costs[3], "$0.00"]
    total_cost = money_text(sum(money(t) for t in shown))
    total_hours = whole_text(sum(Decimal(h) for h in HOURS[:2] + ["-2", HOURS[3]]))
    c.equal("Non Monetary category cost",
            eventually(sheet, lambda: sheet.text_of(ws.cost_name(2)), negative), negative)
    c.equal("total cost with the negative row",
            eventually(sheet, lambda: sheet.text_of(ws.TOTAL_COST), total_cost), total_cost)
    c.equal("total hours with the negative row",
            eventually(sheet, lambda: sheet.text_of(ws.TOTAL_HOURS), total_hours), total_hours)
    c.equal("Non Monetary hours as typed", sheet.text(box), "-2")
    # Put the right figure back.
    d.key("ctrl+a")
    d.type(HOURS[2])
    d.key("Tab")
    c.equal("Non Monetary category cost again",
            eventually(sheet, lambda: sheet.text_of(ws.cost_name(2)), costs[2]), costs[2])
    c.true("no message box", not sheet.dialogs())


def update(d, sheet, c, costs):
    print("click Update")
    button = sheet.by_name("Update")
    d.click(*sheet.centre(button))
    # The Tax box now holds "0": its row costs nothing, the totals cover all five rows.
    expected_costs = costs[:4] + ["$0.00"]
    total_cost = money_text(sum(money(t) for t in expected_costs))
    total_hours = whole_text(sum(Decimal(h) for h in HOURS[:4]))
    c.equal("total cost", eventually(sheet, lambda: sheet.text_of(ws.TOTAL_COST), total_cost),
            total_cost)
    c.equal("total hours", eventually(sheet, lambda: sheet.text_of(ws.TOTAL_HOURS), total_hours),
            total_hours)
    for row in range(5):
        c.equal(f"{ws.ROWS[row]} category cost", sheet.text_of(ws.cost_name(row)),
                expected_costs[row])
    c.equal("help text", sheet.text(sheet.help_label()), ws.DONE_HELP)
    c.true("no message box", not sheet.dialogs())


def print_without_printer(d, sheet, c):
    print("click Print Form with no print server")
    texts_before = [sheet.text_of(ws.cost_name(r)) for r in range(5)]
    d.click(*sheet.centre(sheet.by_name("Print Form")))
    check_message(sheet, c, "printing message", NO_PRINT_SERVER)
    c.equal("worksheet unchanged by printing",
            [sheet.text_of(ws.cost_name(r)) for r in range(5)], texts_before)


def clear_form(d, sheet, c):
    print("click Clear Form")
    d.click(*sheet.centre(sheet.by_name("Clear Form")))
    sheet.settle(0.3)
    sheet.refresh()
    wait_for(lambda: not sheet.showing(sheet.by_name(ws.hours_name(0))), 10,
             what="the hours boxes to hide")
    check_start_state(sheet, c, "after Clear Form")


def close_and_exit(d, sheet, c, proc):
    print("click Close & Exit")
    d.click(*sheet.centre(sheet.by_name("Close & Exit")))
    try:
        code = proc.wait(timeout=10)
    except Exception:
        code = None
    c.equal("program ended with status", code, 0)


def walk(d, proc, c):
    sheet = ws.Worksheet(d, proc.pid).attach()
    check_start_state(sheet, c, "at start-up")
    choose_virgin_islands(d, sheet, c)
    averages = check_choice(sheet, c)
    costs = enter_hours(d, sheet, c, averages)
    bad_entry(d, sheet, c, costs)
    negative_entry(d, sheet, c, costs, averages)
    update(d, sheet, c, costs)
    print_without_printer(d, sheet, c)
    clear_form(d, sheet, c)
    close_and_exit(d, sheet, c, proc)


def main(argv):
    return run(argv, "test_worksheet.py", walk)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
