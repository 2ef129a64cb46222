#!/usr/bin/python3
"""The MSI as an IT department deploys it, under Wine, in a prefix and on an Xvfb of the
test's own: msiexec /i /qn installs exactly the program's folder under Program Files, with
its Start menu entry and its Installed apps entry; the program the entry points at starts,
and an estimate typed with real keys shows the right figures under US Region settings and
under custom ones; msiexec /x /qn leaves nothing of ours behind. The next version upgrades it
in place, in the folder given or else the installed one's; a downgrade and Windows 7 are refused.

    test_msi.py <msi> <staged folder> <control_table.cpp> <next version's msi> <its staged folder>

Wine's windows are not on the accessibility bus: the figures are read back from a picture
of the window, each from its own box, with tesseract. Exit status 0: passed, 1: failed,
77: no X server.
"""
import filecmp
import glob
import os
import re
import sys
import time
from decimal import ROUND_HALF_UP, Decimal

from wine_desktop import TITLE, DesktopUnavailable, WineDesktop, control_boxes

SKIP = 77
FOLDER, CHOSEN = r"C:\Program Files\Tallyforge", r"C:\Apps\Tallyforge"
PUBLISHER = "Tallyforge developers"
MENU = ("Microsoft", "Windows", "Start Menu", "Programs")

# Alabama, the first entry of the state list: the three hourly cost components of each
# row as the cost table writes them, and the hours typed.
ALABAMA = [("28.91", "6.39", "1.23"), ("28.82", "6.37", "1.23"), ("30.57", "6.75", "1.30"),
           ("36.78", "8.12", "1.57"), ("33.23", "7.34", "1.42")]
HOURS = ["120", "80", "2.4", "15", "1234"]
AVERAGE_BOXES = ["tbICHour", "tbWKHour", "tbNMHour", "tbAPHour", "tbTaxHour"]
COST_BOXES = ["tbCostIC", "tbCostWC", "tbCostNM", "tbCostAP", "tbCostTax"]

# Region settings: the values set under HKCU\Control Panel\International, and what comes
# between "$" and the amount and between groups of digits in amounts and whole numbers.
SETTINGS = [
    ("US", {}, "", ","),
    ("custom", {"iCurrency": "2", "sMonThousandSep": "'", "sThousand": "'"}, " ", "'"),
]


def half_away(value, places):
    return value.quantize(Decimal(1).scaleb(-places), rounding=ROUND_HALF_UP)


def grouped(whole, separator):
    return f"{whole:,}".replace(",", separator)


def expected_figures(space, separator):
    """Box name -> the text it must show, worked out here from the table's figures."""
    def money(value):
        return f"${space}{half_away(value, 2):,}".replace(",", separator)
    averages = [sum(Decimal(c) for c in row) for row in ALABAMA]
    costs = [half_away(a * Decimal(h), 2) for a, h in zip(averages, HOURS)]
    figures = dict(zip(AVERAGE_BOXES, map(money, averages)))
    figures.update(zip(COST_BOXES, map(money, costs)))
    figures["tbTotal"] = money(sum(costs))
    figures["tbTotHours"] = grouped(int(half_away(sum(Decimal(h) for h in HOURS), 0)), separator)
    figures["lbTitle"] = TITLE
    return figures


class Checks:
    failures = 0
    started = time.monotonic()

    def phase(self, what):
        print(f"{what} ({time.monotonic() - self.started:.0f} s)")

    def check(self, what, ok, detail=""):
        print(f"  {'ok  ' if ok else 'FAIL'}  {what}{': ' + detail if detail and not ok else ''}")
        self.failures += not ok


def reg_query(d, key):
    """The values of every key under key, as {key: {name: data}}."""
    out = d.wine("wine", "reg", "query", key, "/s", display=False).stdout
    keys, current = {}, None
    for line in out.splitlines():
        if line.startswith("HKEY_"):
            current = keys.setdefault(line.strip(), {})
        elif current is not None and line.startswith("    "):
            parts = re.split(r"\s{4}", line.strip(), maxsplit=2)
            current[parts[0]] = parts[2] if len(parts) > 2 else ""
    return keys


def ours(d):
    """Every file or folder in the prefix named after us."""
    return [os.path.join(root, n) for root, dirs, files in os.walk(d.prefix)
            for n in dirs + files if "tallyforge" in n.lower()]


def install(d, msi, stage, c, place=FOLDER, *args):
    c.phase(f"install: msiexec /i {os.path.basename(msi)} /qn {' '.join(args)}")
    r = d.wine("wine", "msiexec", "/i", "Z:" + msi.replace("/", "\\"), "/qn", *args, display=False)
    c.check("msiexec /i exits 0", r.returncode == 0, f"status {r.returncode} {r.stdout}{r.stderr}")
    folder = d.drive_c(*place[3:].split("\\"))
    staged = sorted(os.path.relpath(os.path.join(r, f), stage)
                    for r, _, files in os.walk(stage) for f in files)
    installed = sorted(os.path.relpath(os.path.join(r, f), folder)
                       for r, _, files in os.walk(folder) for f in files)
    c.check(f"{place} holds exactly the staged files", installed == staged,
            f"{installed} != {staged}")
    c.check("the installed files are the staged ones",
            all(filecmp.cmp(os.path.join(stage, f), os.path.join(folder, f), shallow=False)
                for f in set(staged) & set(installed)))

    # Start menu: the shortcut of a per-machine install; Wine puts it in the user's folder.
    links = glob.glob(d.drive_c("ProgramData", *MENU, "Tallyforge.lnk")) + \
        glob.glob(d.drive_c("users", "*", "AppData", "Roaming", *MENU, "Tallyforge.lnk"))
    c.check("a Start menu entry Tallyforge", len(links) == 1, f"found {links}")
    # Its target and icon paths, stored in ANSI and UTF-16 alike.
    link = open(links[0], "rb").read().replace(b"\0", b"") if links else b""
    paths = [p.decode("latin-1") for p in re.findall(rb"[A-Z]:\\[ -9;-~]+?\.(?:exe|ico)", link)]
    target = next((p for p in paths if p.lower().endswith(".exe")), None)
    icon = next((p for p in paths if p.lower().endswith(".ico")), None)
    c.check("the Start menu entry points at the installed program",
            target is not None and target.lower() == place.lower() + "\\tallyforge.exe", target)
    c.check("the Start menu entry has the program's icon",
            icon is not None and os.path.isfile(d.drive_c(*icon[3:].split("\\"))), f"icon {icon}")

    apps = [v for v in reg_query(d, r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall")
            .values() if v.get("DisplayName") == "Tallyforge"]
    entry = apps[0] if len(apps) == 1 else {}
    version = re.search(r"tallyforge-(.+)-x64\.msi$", msi).group(1)
    c.check(f"Installed apps: Tallyforge {version} by its publisher, in {place}, no Repair",
            [entry.get(n) for n in ("DisplayVersion", "Publisher", "InstallLocation", "NoRepair")]
            == [version, PUBLISHER, place + "\\", "0x1"], f"{apps}")
    products = [v for v in reg_query(d, r"HKLM\Software\Classes\Installer\Products").values()
                if v.get("ProductName") == "Tallyforge"]
    product_icon = products[0].get("ProductIcon", "") if len(products) == 1 else ""
    c.check("Installed apps: the program's icon", product_icon.lower().endswith(".ico") and
            os.path.isfile(d.drive_c(*product_icon[3:].split("\\"))), product_icon)
    return target or place + "\\tallyforge.exe"


def estimate(d, program, boxes, settings, c):
    name, values, space, separator = settings
    c.phase(f"estimate under {name} Region settings")
    for value_name, value in values.items():
        d.reg_add(r"HKCU\Control Panel\International", value_name, value)
    proc, wid = d.run_program(program)
    geometry = d.window_geometry(wid)[2:]
    c.check("the worksheet window, 793 x 633", geometry == (793, 633), f"{geometry}")
    d.estimate(HOURS)
    expected = expected_figures(space, separator)
    seen = d.read_until(wid, boxes, expected)
    for box, text in expected.items():
        c.check(f"{box} shows {text!r}", seen.get(box) == text, f"read {seen.get(box)!r}")
    status = d.close_program(proc, wid, boxes["cbClose"])
    c.check("Close & Exit ends the program with status 0", status == 0, f"status {status}")


def uninstall(d, msi, c):
    c.phase("uninstall: msiexec /x /qn")
    r = d.wine("wine", "msiexec", "/x", "Z:" + msi.replace("/", "\\"), "/qn", display=False)
    c.check("msiexec /x exits 0", r.returncode == 0, f"status {r.returncode} {r.stdout}{r.stderr}")
    d.wine("wineserver", "-w")  # the registry is on disk once the prefix's server ends
    left = ours(d)
    c.check("no file or folder of ours is left", not left, f"{left}")
    registry = [n for n in ("system.reg", "user.reg")
                if "tallyforge" in open(os.path.join(d.prefix, n), errors="replace").read().lower()]
    c.check("the registry names us nowhere", not registry, f"found in {registry}")


def refused(d, msi, c, sentence, installed):
    """msiexec /i /qn fails, changing nothing; the package says why (under /qn Wine does not)."""
    c.phase(f"refused: msiexec /i {os.path.basename(msi)} /qn")
    r = d.wine("wine", "msiexec", "/i", "Z:" + msi.replace("/", "\\"), "/qn", display=False)
    key = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
    apps = [v.get("DisplayVersion") for v in reg_query(d, key).values()
            if v.get("DisplayName") == "Tallyforge"]
    c.check(f"refused; Installed apps shows {installed}", r.returncode != 0 and apps == installed
            and (installed or not ours(d)), f"status {r.returncode}, {apps}, {ours(d)}")
    table = d.wine("msiinfo", "export", msi, "LaunchCondition", display=False).stdout
    c.check(f"the package says {sentence!r}", f"\t{sentence}\n" in table.replace("\r", ""))


def upgrades(d, msi, stage, next_msi, next_stage, c):
    """The folder given on the command line wins, else the installed version's is kept."""
    version = re.search(r"tallyforge-(.+)-x64\.msi$", next_msi).group(1)
    for first, then in [((), (f"INSTALLDIR={CHOSEN}",)), ((f"INSTALLDIR={CHOSEN}",), ())]:
        install(d, msi, stage, c, CHOSEN if first else FOLDER, *first)
        program = install(d, next_msi, next_stage, c, CHOSEN, *then)
        said = d.wine("wine", program, "--version", display=False).stdout.strip()
        c.check(f"the program says it is {version}", said == f"Tallyforge {version}", said)
        d.run_program(program)  # the Start menu entry's program shows its window
        d.wine("wineserver", "-k")
        refused(d, msi, c, "A newer version of Tallyforge is already installed.", [version])
        uninstall(d, next_msi, c)
    d.wine("wine", "winecfg", "/v", "win7", display=False)
    refused(d, next_msi, c, "Tallyforge needs Windows 10 version 1809 (build 17763) or later.", [])


def main(msi, stage, control_table, next_msi, next_stage):
    boxes = control_boxes(control_table)
    c = Checks()
    try:
        with WineDesktop() as d:
            d.start()
            program = install(d, msi, stage, c)
            for settings in SETTINGS:
                estimate(d, program, boxes, settings, c)
            uninstall(d, msi, c)
            upgrades(d, msi, stage, next_msi, next_stage, c)
    except DesktopUnavailable as e:
        print(f"skipped: {e}")
        return SKIP
    c.phase(f"{c.failures} failures")
    return 1 if c.failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
