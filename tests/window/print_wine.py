#!/usr/bin/env python3
"""Print Form of the Windows program under Wine, whose printers come from a print server.

    print_wine.py <test_print_wine.exe>

Wine lists the printers of CUPS (CUPS_SERVER points it at ours) and chooses CUPS's default
as Windows' default printer. It does so when a program first loads the spooler, and keeps
what it found in the prefix's registry, so this test has a Wine prefix of its own, and each
row runs the Windows program afresh after setting the print server up. The program types
an estimate, presses Print Form and checks the message the user reads (TF_EXPECTED_MESSAGE,
none when the form was printed) and that the worksheet shows what it showed before; here
the PDF that the printer wrote is read back. Qt's Windows platform runs on an X server of
its own, so the texts are drawn with Windows' fonts, which reach the printer as text.
"""
import os
import re
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
from desktop import Desktop  # noqa: E402

HARNESS = os.path.join(HERE, "cups", "cups-harness.sh")
PREFIX = os.path.join(HERE, "..", "wine", "prefix.sh")
WINE_RUN = os.path.join(HERE, "..", "wine", "wine-run")
WORKSHEET = (136, 255, 255)
NOT_PRINTED = "The form was not printed because "

# What the Windows program types (Alabama, 10 to 50 hours) as it reaches the paper. Qt's
# Windows print engine gives the printer a bitmap of whatever lies under something
# translucent, such as the rounded faces of the theme's buttons: their captions are not
# text on the page.
TEXTS = ["Cost Estimate Worksheet", "Select a State", "Alabama", "$28.91", "$6.39", "$36.53",
         "$2,099.50", "Total Hours & Cost:", "150", "$6,210.60",
         "You have now entered all of the information for this form."]


def run(*args, env=None, check=True):
    r = subprocess.run(args, env=env, capture_output=True, text=True, timeout=120)
    if check and r.returncode != 0:
        raise RuntimeError(f"{' '.join(args)} failed: {r.stderr.strip()}")
    return r.stdout


class Printing:
    def __init__(self, exe, desktop, folder):
        self.exe = exe
        self.cups = os.path.join(folder, "cups")
        self.prefix = os.path.join(folder, "wine")
        self.env = dict(desktop.env)
        self.env["PATH"] = self.env.get("PATH", "") + ":/usr/sbin:/sbin"
        for name in ("PRINTER", "LPDEST", "CUPS_SERVER", "CUPS_SERVERROOT"):
            self.env.pop(name, None)
        self.env["CUPS_SERVERROOT"] = os.path.join(folder, "client")
        os.makedirs(self.env["CUPS_SERVERROOT"])
        self.env["TF_WINEPREFIX"] = self.prefix
        self.env["QT_QPA_PLATFORM"] = "windows"
        self.env["LC_ALL"] = "en_US.UTF-8"
        self.running = False

    def harness(self, *args):
        return run("bash", HARNESS, args[0], self.cups, *args[1:], env=self.env)

    def start_server(self):
        for line in self.harness("start", str(os.getpid())).splitlines():
            name, _, value = line.partition("=")
            if name == "CUPS_SERVER":
                self.env["CUPS_SERVER"] = value
            if name == "PDF_OUT":
                self.out = value
        self.running = True

    def stop_server(self):
        if self.running:
            self.harness("stop")
            self.running = False

    def wine(self, *args):
        env = dict(self.env, WINEPREFIX=self.prefix, WINEDEBUG="-all")
        return run("wine", *args, env=env)

    def make_prefix(self):
        run(PREFIX, "setup", self.prefix, env=self.env)
        # Verdana, which the worksheet asks for, is not installed here: Wine draws it with
        # DejaVu Sans, as fontconfig does on Linux (left alone, it picks a font its printer
        # driver cannot embed).
        self.wine("reg", "add", r"HKCU\Software\Wine\Fonts\Replacements", "/v", "Verdana",
                  "/d", "DejaVu Sans", "/f")

    def end_wine(self):
        run("wineserver", "-k", env=dict(self.env, WINEPREFIX=self.prefix), check=False)

    def ready(self):
        """The state every row starts from: a running server whose default is "PDF"."""
        if not self.running:
            self.start_server()
        self.harness("add-queue")
        for tool in ("cupsaccept", "cupsenable"):
            run(tool, "PDF", env=self.env)

    def pdfs(self):
        return {os.path.join(self.out, f) for f in os.listdir(self.out) if f.endswith(".pdf")}

    def pending_jobs(self):
        return run("lpstat", "-o", env=self.env, check=False).strip()

    def press_print_form(self, rows, expected, extra_env):
        """Runs the Windows program (these test rows, all when none)."""
        env = dict(self.env, TF_EXPECTED_MESSAGE=expected, **extra_env)
        r = subprocess.run([WINE_RUN, self.exe, *rows], env=env, capture_output=True, text=True, timeout=180)
        return r.returncode, r.stdout + r.stderr

    def wait_for_pdfs(self, before, count, timeout=60):
        """The PDF files written since `before`, once there are `count` and the server is idle."""
        deadline = time.monotonic() + timeout
        while True:
            new = self.pdfs() - before
            complete = [pdf for pdf in new
                        if subprocess.run(["pdfinfo", pdf], capture_output=True).returncode == 0]
            if len(complete) >= count and not self.pending_jobs() or time.monotonic() > deadline:
                return complete
            time.sleep(0.2)


def page_info(pdf):
    info = {}
    for line in run("pdfinfo", pdf).splitlines():
        name, _, value = line.partition(":")
        info[name.strip()] = value.strip()
    width, _, height = info["Page size"].split()[:3]
    return int(info["Pages"]), float(width), float(height)


def page_image(pdf, folder):
    """The page at 72 dpi (a pixel per point): width, height and RGB bytes."""
    base = os.path.join(folder, "page")
    run("pdftoppm", "-r", "72", "-singlefile", pdf, base)
    data = open(base + ".ppm", "rb").read()
    os.remove(base + ".ppm")
    fields = data.split(maxsplit=4)  # P6, width, height, 255, pixels
    return int(fields[1]), int(fields[2]), fields[4]


def near(pixels, i, colour, tolerance=10):
    return all(abs(pixels[i + c] - colour[c]) <= tolerance for c in range(3))


def check_page(pdf, folder):
    """One page of the printer's paper (A4), with the worksheet's texts as text, the
    form as large as the printable area allows, its proportions kept, centred."""
    problems = []
    pages, width_pt, height_pt = page_info(pdf)
    if pages != 1 or abs(width_pt - 595) > 1 or abs(height_pt - 842) > 1:
        problems.append(f"{pages} page(s) of {width_pt} x {height_pt} pt, not one A4 page")
    text = " ".join(run("pdftotext", "-layout", pdf, "-").split())
    problems += [f"{t!r} is not on the page as text" for t in TEXTS if t not in text]

    width, height, pixels = page_image(pdf, folder)
    xs, ys = [], []
    for y in range(height):
        for x in range(width):
            if near(pixels, 3 * (y * width + x), WORKSHEET):
                xs.append(x)
                ys.append(y)
    if not xs:
        return problems + ["the worksheet's colour is not on the page"]
    left, right, top, bottom = min(xs), max(xs), min(ys), max(ys)
    w, h = right - left + 1, bottom - top + 1
    if w < width - 36 and h < height - 36:
        problems.append(f"the form ({w} x {h} pt) does not fill the printable area of {width} x {height}")
    if abs(w / h - 793 / 633) > 0.02:
        problems.append(f"the form's proportions changed: {w} x {h}")
    if abs(left - (width - 1 - right)) > 3 or abs(top - (height - 1 - bottom)) > 3:
        problems.append(f"the form at {left},{top} ({w} x {h}) is not centred")
    return problems


def differing_pixels(pdf, other, folder):
    """How many pixels of the two pages differ clearly (by more than a quarter of the scale)."""
    _, _, a = page_image(pdf, folder)
    _, _, b = page_image(other, folder)
    if len(a) != len(b):
        return len(a)
    return sum(1 for i in range(0, len(a), 3) if max(abs(a[i + c] - b[i + c]) for c in range(3)) > 64)


LIGHT_ONLY = ["pressPrintForm:light desktop"]

# name, what is done to the print server, the message expected (none: printed), which rows
# of the Windows program run, its environment
ROWS = [
    # Printed under a light and under a dark desktop scheme: paper has the light look
    # either way, so the two pages are the same.
    ("printed", None, "", [], {}),
    ("printer rejects jobs", lambda p: run("cupsreject", "PDF", env=p.env),
     NOT_PRINTED + 'the print spooler refused to finish the document on "PDF" (', LIGHT_ONLY, {}),
    # Wine finds no printers and removes those it had.
    ("print service stopped", lambda p: p.stop_server(),
     NOT_PRINTED + "no default printer is set up.", LIGHT_ONLY, {}),
    # Windows' default printer is a printer that is no more (removed, or renamed). With no
    # printer to choose from, Wine leaves the default as it finds it.
    ("default printer gone", lambda p: p.harness("remove-queue"),
     NOT_PRINTED + 'the printer "Gone" cannot be opened (', LIGHT_ONLY, {"TF_DEFAULT_PRINTER": "Gone"}),
]


def job_number(pdf):
    """cups-pdf names its files after the document and the job: ..._job_<n>.pdf."""
    return int(re.search(r"job_(\d+)\.pdf$", pdf).group(1))


def check_printed(printing, before, folder):
    pdfs = printing.wait_for_pdfs(before, 2)
    if len(pdfs) != 2:
        return [f"{len(pdfs)} PDF files from the printer, not 2; see {printing.cups}/log"]
    light, dark = sorted(pdfs, key=job_number)
    problems = check_page(light, folder)
    diff = differing_pixels(dark, light, folder)
    if diff > 50:
        problems.append(f"{diff} pixels differ between the pages printed under a light and a dark scheme")
    return problems


def main():
    exe = sys.argv[1]
    failures = []
    with Desktop() as desktop, tempfile.TemporaryDirectory(prefix="tf-print-wine-") as folder:
        desktop.start(with_bus=False)
        os.chmod(folder, 0o755)  # the print server's filters run as another user
        printing = Printing(exe, desktop, folder)
        try:
            printing.start_server()
            printing.make_prefix()
            for name, trouble, expected, rows, extra_env in ROWS:
                started = time.monotonic()
                printing.ready()
                if trouble:
                    trouble(printing)
                before = printing.pdfs()
                status, output = printing.press_print_form(rows, expected, extra_env)
                problems = [] if status == 0 else [f"the Windows program failed:\n{output}"]
                if not expected:
                    problems += check_printed(printing, before, folder)
                elif printing.running and (printing.pdfs() != before or printing.pending_jobs()):
                    problems.append("something reached the printer")
                print(f"{'FAIL' if problems else 'PASS'}: {name} ({time.monotonic() - started:.1f} s)")
                for p in problems:
                    print(f"    {p}")
                failures += problems
        finally:
            printing.end_wine()
            run(PREFIX, "cleanup", printing.prefix, env=printing.env, check=False)
            printing.stop_server()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
