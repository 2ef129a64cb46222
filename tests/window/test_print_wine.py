#!/usr/bin/env python3
"""Print Form of the Windows program under Wine reaches a printer of a private print server.

    print_wine.py <test_print_wine.exe>

When a program first loads the spooler, Wine lists the printers of the CUPS server that
CUPS_SERVER names, makes its default Windows' default printer and keeps them in the prefix's
registry: so the test has a Wine prefix of its own, and each case sets the server up and runs
the Windows program afresh. Qt's Windows platform runs on an X server, so the texts are drawn
with Windows' fonts, which reach the printer as text.
"""
import os
import re
import subprocess
import sys
import tempfile
import time

from desktop import HELPERS, Desktop

NOT_PRINTED = "The form was not printed because "
# The estimate on paper (Alabama, 10 to 50 hours). Qt's Windows print engine sends a bitmap of
# whatever lies under something translucent, such as the theme's rounded button faces: the
# buttons' captions are not text.
TEXTS = ["Cost Estimate Worksheet", "Select a State", "Alabama", "$28.91", "$6.39", "$36.53",
         "$2,099.50", "Total Hours & Cost:", "150", "$6,210.60",
         "You have now entered all of the information for this form."]
LIGHT = ["pressPrintForm:light desktop"]

# case, what is done to the print server, the message expected (none: printed), rows of the
# Windows program (all when none), its environment
CASES = [
    # Under a light and under a dark desktop scheme: paper has the light look either way.
    ("printed", [], "", [], {}),
    ("printer rejects jobs", [["cupsreject", "PDF"]],
     NOT_PRINTED + 'the print spooler refused to finish the document on "PDF" (', LIGHT, {}),
    # Wine finds no printer and removes those it had.
    ("print service stopped", [["harness", "stop"]], NOT_PRINTED + "no default printer is set up.", LIGHT, {}),
    # Windows' default printer is one that is no more. With no printer to choose from, Wine
    # leaves the default as it finds it.
    ("default printer gone", [["harness", "remove-queue"]],
     NOT_PRINTED + 'the printer "Gone" cannot be opened (', LIGHT, {"TF_DEFAULT_PRINTER": "Gone"}),
]


def run(*args, env, check=True):
    r = subprocess.run(args, env=env, capture_output=True, text=True, timeout=180)
    if check and r.returncode != 0:
        raise RuntimeError(f"{' '.join(args)} failed: {r.stdout}{r.stderr}")
    return r.stdout


def page(pdf, folder, env):
    """Pages, page size in points, and the first page at 72 dpi: width, height, RGB bytes."""
    info = dict(line.split(":", 1) for line in run("pdfinfo", pdf, env=env).splitlines() if ":" in line)
    size = info["Page size"].split()
    base = os.path.join(folder, "page")
    run("pdftoppm", "-r", "72", "-singlefile", pdf, base, env=env)
    with open(base + ".ppm", "rb") as f:
        _, width, height, _, pixels = f.read().split(maxsplit=4)
    return int(info["Pages"]), float(size[0]), float(size[2]), int(width), int(height), pixels


def check_pages(light, dark, folder, env):
    """One A4 page with the estimate as text, the form as large as the printable area allows,
    its proportions kept and centred; printed under a dark scheme, the same page."""
    pages, width_pt, height_pt, width, height, pixels = page(light, folder, env)
    problems = [] if pages == 1 and abs(width_pt - 595) <= 1 and abs(height_pt - 842) <= 1 else [
        f"{pages} page(s) of {width_pt} x {height_pt} pt, not one A4 page"]
    text = " ".join(run("pdftotext", light, "-", env=env).split())
    problems += [f"{t!r} is not on the page as text" for t in TEXTS if t not in text]
    cyan = [i // 3 for i in range(0, len(pixels), 3)
            if abs(pixels[i] - 136) <= 10 and pixels[i + 1] >= 245 and pixels[i + 2] >= 245]
    if not cyan:
        return problems + ["the worksheet's colour is not on the page"]
    left, right = min(i % width for i in cyan), max(i % width for i in cyan)
    top, bottom = cyan[0] // width, cyan[-1] // width
    w, h = right - left + 1, bottom - top + 1
    if (w < width - 36 and h < height - 36) or abs(w / h - 793 / 633) > 0.02 or \
            abs(left - (width - 1 - right)) > 3 or abs(top - (height - 1 - bottom)) > 3:
        problems.append(f"the form is {w} x {h} pt at {left},{top} on a page of {width} x {height}")
    other = page(dark, folder, env)[5]
    differing = len(pixels) // 3 if len(other) != len(pixels) else sum(
        1 for i in range(0, len(pixels), 3) if max(abs(pixels[i + c] - other[i + c]) for c in range(3)) > 64)
    if differing > 50:
        problems.append(f"{differing} pixels differ on the page printed under a dark scheme")
    return problems


def main():
    exe, failures = sys.argv[1], 0
    with Desktop() as desktop, tempfile.TemporaryDirectory(prefix="tf-print-wine-") as folder:
        desktop.start(with_bus=False)
        os.chmod(folder, 0o755)  # the print server's filters run as another user
        cups, prefix = os.path.join(folder, "cups"), os.path.join(folder, "wine")
        env = dict(desktop.env, TF_WINEPREFIX=prefix, QT_QPA_PLATFORM="windows", LC_ALL="en_US.UTF-8",
                   PATH=os.environ["PATH"] + ":/usr/sbin:/sbin", CUPS_SERVERROOT=folder)
        for name in ("PRINTER", "LPDEST"):
            env.pop(name, None)

        def tool(*args):
            if args[0] != "harness":
                return run(*args, env=env)
            return run("bash", os.path.join(HELPERS, "cups", "cups-harness.sh"), args[1], cups, *args[2:], env=env)

        try:
            env["CUPS_SERVER"] = tool("harness", "start", str(os.getpid())).split()[0].split("=", 1)[1]
            out = os.path.join(cups, "out")
            run(os.path.join(HELPERS, "prefix.sh"), "setup", prefix, env=env)
            # A fresh prefix as a user has it: no Verdana, and no font mapping of the test's.
            for case, setup, expected, rows, extra in CASES:
                started = time.monotonic()
                if not os.path.exists(env["CUPS_SERVER"]):
                    tool("harness", "start", str(os.getpid()))
                tool("harness", "add-queue")  # "PDF", the server's default
                tool("cupsaccept", "PDF")
                for step in setup:
                    tool(*step)
                before = set(os.listdir(out))
                r = subprocess.run([os.path.join(HELPERS, "wine-run"), exe, *rows], text=True,
                                   env=dict(env, TF_EXPECTED_MESSAGE=expected, **extra), capture_output=True)
                problems = [] if r.returncode == 0 else [f"the Windows program failed:\n{r.stdout}{r.stderr}"]
                running = os.path.exists(env["CUPS_SERVER"])
                while not expected and time.monotonic() - started < 120 and (
                        len(set(os.listdir(out)) - before) < 2 or tool("lpstat", "-o")):
                    time.sleep(0.2)  # the printer writes its two pages
                pdfs = sorted((os.path.join(out, f) for f in set(os.listdir(out)) - before),
                              key=lambda f: int(re.search(r"job_(\d+)\.pdf$", f).group(1)))
                if not expected:
                    problems += check_pages(*pdfs, folder, env) if len(pdfs) == 2 else [
                        f"{len(pdfs)} PDF files from the printer, not 2; see {cups}/log"]
                elif pdfs or (running and tool("lpstat", "-o")):
                    problems.append("something reached the printer")
                print(f"{'FAIL' if problems else 'PASS'}: {case} ({time.monotonic() - started:.1f} s)")
                print("".join(f"    {p}\n" for p in problems), end="")
                failures += len(problems)
        finally:
            run("wineserver", "-k", env=dict(env, WINEPREFIX=prefix), check=False)
            run(os.path.join(HELPERS, "prefix.sh"), "cleanup", prefix, env=env, check=False)
            tool("harness", "stop")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
