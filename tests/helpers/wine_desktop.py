"""The Windows program on a private desktop: an Xvfb of its own (desktop.py beside it) and
a fresh Wine prefix of its own, both gone after close(). The program's window is found by
its title, typed into with xdotool and grabbed as a picture. Used by the installer test
(tests/packaging/test_msi.py) and scripts/screenshot.
"""
import os
import re
import subprocess
import time

from desktop import Desktop, DesktopUnavailable, wait_for  # noqa: F401

TITLE = "Cost Estimate Worksheet"


def control_boxes(control_table):
    """Each control's box in pixels (left, top, width, height) from the window's control
    table, which gives them in twips (15 to a pixel at 96 dpi)."""
    boxes = {}
    pattern = r'\{name::(\w+),\s*K::\w+,\s*"[^"]*",\s*(?:nullptr|"[^"]*"),' + r"\s*(-?\d+)," * 4
    for m in re.finditer(pattern, open(control_table).read()):
        boxes[m.group(1)] = tuple(int(v) // 15 for v in m.groups()[1:])
    return boxes


class WineDesktop(Desktop):
    def start(self):
        super().start(with_bus=False)
        self.prefix = os.path.join(self.tmp, "wine")
        self.wine_env = dict(self.env, WINEPREFIX=self.prefix, WINEDEBUG="-all",
                             LANG="en_US.UTF-8", LC_ALL="en_US.UTF-8",
                             # Nothing goes into the desktop menus of the user running this.
                             WINEDLLOVERRIDES="winemenubuilder.exe=d")
        self.wine_env.pop("WINEPATH", None)
        # Made without a display: no window of Wine's own may wait for a user.
        self.wine("wineboot", "-i", display=False)
        # Debian's Wine presents itself as Windows 7, where the MSI refuses to install.
        self.wine("wine", "winecfg", "/v", "win10", display=False)
        # Wine has no Verdana, the worksheet's font, as every Windows has: the worksheet
        # picks its stand-in itself, as it must on a user's fresh prefix.
        return self

    def close(self):
        if getattr(self, "prefix", None):
            subprocess.run(["wineserver", "-k"], env=self.wine_env, capture_output=True)
        super().close()

    def wine(self, *argv, display=True):
        """Runs a command in the prefix (wine, wineboot, wineserver ...); its result."""
        env = dict(self.wine_env)
        if not display:
            env.pop("DISPLAY", None)
        return subprocess.run(list(argv), env=env, capture_output=True, text=True, timeout=120)

    def reg_add(self, key, name, value):
        r = self.wine("wine", "reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f",
                      display=False)
        if r.returncode != 0:
            raise RuntimeError(f"reg add {key} {name}: {r.stdout}{r.stderr}")

    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def run_program(self, exe, extra_env=None, timeout=60):
        """Starts a Windows program (a Linux path or a C:\\ one) and returns its process
        and the id of its window, once the window shows."""
        proc = self.launch(["wine", exe], dict(self.wine_env, **(extra_env or {})),
                           name="tallyforge")

        def window():
            if proc.poll() is not None:
                raise SystemExit(f"the program ended with status {proc.returncode} before "
                                 f"its window showed: {self.program_log()}")
            return self.xdo("search", "--onlyvisible", "--name", TITLE).split()[-1]

        wid = wait_for(window, timeout, interval=0.2, what="the worksheet window")
        self.focus_window(wid)
        return proc, wid

    def estimate(self, hours):
        """Chooses the first jurisdiction with Down on the closed state list, where the
        focus is at start, then types the hours of each row, Tab after each."""
        self.key("Down")
        for h in hours:
            self.key("ctrl+a")
            self.type(h)
            self.key("Tab")

    def grab(self, wid, path):
        subprocess.run(["/usr/bin/import", "-display", self.display, "-window", wid, path],
                       env=self.env, check=True, timeout=60)

    def read(self, wid, boxes, names):
        """Grabs the window and returns the text tesseract reads in each named box: cut out
        inside the box's border, enlarged four times, one line each, all in one run."""
        shot = os.path.join(self.tmp, "window.png")
        self.grab(wid, shot)
        args = ["/usr/bin/convert", shot, "-colorspace", "Gray"]
        pages = []
        for i, name in enumerate(names):
            x, y, w, h = boxes[name]
            x0 = max(x, 0) + 2
            pages.append(os.path.join(self.tmp, f"box{i}.png"))
            args += ["(", "-clone", "0", "-crop", f"{x + w - 2 - x0}x{h - 4}+{x0}+{y + 2}",
                     "+repage", "-resize", "400%", "-bordercolor", "white", "-border", "20",
                     "-write", pages[-1], "+delete", ")"]
        subprocess.run(args + ["null:"], check=True, timeout=60)
        listing = os.path.join(self.tmp, "boxes.txt")
        with open(listing, "w") as f:
            f.write("\n".join(pages) + "\n")
        out = subprocess.run(["tesseract", listing, "-", "--psm", "7"], capture_output=True,
                             text=True, timeout=120).stdout
        texts = [t.strip().replace("\u2019", "'").replace("\u2018", "'") for t in out.split("\f")]
        return dict(zip(names, texts))

    def read_until(self, wid, boxes, expected, timeout=10):
        """What the boxes show once they show the expected texts (the window may still be
        taking the last keys), or when the time is up."""
        deadline = time.monotonic() + timeout
        while True:
            seen = self.read(wid, boxes, list(expected))
            if seen == expected or time.monotonic() > deadline:
                return seen
            time.sleep(0.5)

    def close_program(self, proc, wid, close_button, timeout=20):
        """Presses Close & Exit (x, y, width, height in the window) and waits for the end;
        the exit status."""
        x, y, w, h = close_button
        self.xdo("mousemove", "--window", wid, x + w // 2, y + h // 2)
        self.xdo("click", 1)
        deadline = time.monotonic() + timeout
        while proc.poll() is None and time.monotonic() < deadline:
            time.sleep(0.1)
        return proc.poll()
