"""A private desktop for driving the worksheet from outside: an Xvfb server on a free
display, a session D-Bus bus of its own, the accessibility bus, and the program under
test on Qt's xcb platform. Everything started here is stopped by close(), also when
the test fails half-way.

Input goes through xdotool only (real X key and pointer events); what the window shows
is read back over AT-SPI with pyatspi, which must be imported only after start() has
set the environment (see Desktop.atspi()).
"""
import os
import select
import shutil
import signal
import subprocess
import tempfile
import time

# This folder: the shell helpers beside these modules (cups/, prefix.sh, wine-run ...).
HELPERS = os.path.dirname(os.path.abspath(__file__))

XVFB = "/usr/bin/Xvfb"
XDOTOOL = "/usr/bin/xdotool"
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


class DesktopUnavailable(Exception):
    """The X server could not be started: the test is skipped, not failed."""


class Desktop:
    def __init__(self, width=1280, height=1024, depth=24):
        # A test stopped from outside (ctest's timeout, Ctrl+C) still stops what it
        # started: the servers run in sessions of their own and would outlive it.
        for sig in (signal.SIGTERM, signal.SIGHUP, signal.SIGINT):
            signal.signal(sig, _exit_on_signal)
        self.geometry = f"{width}x{height}x{depth}"
        self.tmp = tempfile.mkdtemp(prefix="tf-desktop-")
        self.display = None
        self.env = None
        self._procs = []  # (name, Popen), stopped in reverse order
        self.app = None

    # ---- start and stop -------------------------------------------------------------

    def start(self, with_bus=True):
        self._start_x()
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env["HOME"] = self.tmp
        env["XDG_RUNTIME_DIR"] = self.tmp
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("AT_SPI_BUS_ADDRESS", None)
        env["NO_AT_BRIDGE"] = "0"
        if with_bus:
            env["DBUS_SESSION_BUS_ADDRESS"] = self._start_session_bus(env)
            self.env = env
            self._start_accessibility_bus()
        else:
            # No bus wanted: keep libdbus from starting a daemon of its own that
            # outlives us.
            env["DBUS_SESSION_BUS_ADDRESS"] = "disabled:"
            self.env = env
        return self

    def _start_x(self):
        if not os.access(XVFB, os.X_OK):
            raise DesktopUnavailable(f"{XVFB} is not installed")
        r, w = os.pipe()
        try:
            proc = subprocess.Popen(
                [XVFB, "-displayfd", str(w), "-screen", "0", self.geometry,
                 "-nolisten", "tcp", "-noreset", "+extension", "XTEST"],
                pass_fds=(w,), stdout=subprocess.DEVNULL,
                stderr=open(os.path.join(self.tmp, "xvfb.log"), "wb"),
                start_new_session=True)
        except OSError as e:
            os.close(r)
            os.close(w)
            raise DesktopUnavailable(f"Xvfb could not be started: {e}")
        os.close(w)
        self._procs.append(("Xvfb", proc))
        number = b""
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            ready, _, _ = select.select([r], [], [], 0.2)
            if ready:
                chunk = os.read(r, 64)
                if not chunk:
                    break
                number += chunk
                if number.endswith(b"\n"):
                    break
            if proc.poll() is not None:
                break
        os.close(r)
        if not number.strip():
            log = open(os.path.join(self.tmp, "xvfb.log"), errors="replace").read()[-400:]
            self.close()
            raise DesktopUnavailable(f"Xvfb did not start: {log.strip()}")
        self.display = ":" + number.decode().strip()

    def _start_session_bus(self, env):
        address = f"unix:path={self.tmp}/session-bus"
        proc = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile", "--nosyslog",
             f"--address={address}", "--print-address=1"],
            env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
            start_new_session=True)
        self._procs.append(("dbus-daemon", proc))
        line = proc.stdout.readline().decode().strip()
        if not line:
            raise RuntimeError("the session bus did not start")
        return line

    def _start_accessibility_bus(self):
        proc = subprocess.Popen(
            [BUS_LAUNCHER, "--launch-immediately"], env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        self._procs.append(("at-spi-bus-launcher", proc))
        # Ready once the launcher answers on the session bus with the bus address.
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            r = subprocess.run(
                ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                 "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                env=self.env, capture_output=True, text=True)
            if r.returncode == 0 and "unix:" in r.stdout:
                return
            time.sleep(0.05)
        raise RuntimeError("the accessibility bus did not start")

    def launch(self, argv, extra_env=None, name="program"):
        env = dict(self.env)
        env["QT_QPA_PLATFORM"] = "xcb"
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env["QT_ACCESSIBILITY"] = "1"
        if extra_env:
            env.update(extra_env)
        log = open(os.path.join(self.tmp, f"{name}.log"), "wb")
        proc = subprocess.Popen(argv, env=env, stdout=log, stderr=subprocess.STDOUT,
                                start_new_session=True)
        self._procs.append((name, proc))
        self.app = proc
        return proc

    def program_log(self, name="program"):
        try:
            return open(os.path.join(self.tmp, f"{name}.log"), errors="replace").read()
        except OSError:
            return ""

    def close(self):
        for _name, proc in reversed(self._procs):
            if proc.poll() is None:
                try:
                    os.killpg(proc.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for _name, proc in reversed(self._procs):
            try:
                proc.wait(timeout=3)
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                proc.wait(timeout=3)
            # Whatever the process left in its own group (the accessibility bus
            # daemon and registry of the launcher) goes with it.
            try:
                os.killpg(proc.pid, signal.SIGKILL)
            except (ProcessLookupError, PermissionError):
                pass
            if proc.stdout:
                proc.stdout.close()
        self._procs = []
        shutil.rmtree(self.tmp, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    # ---- input: real X events through xdotool ---------------------------------------

    def xdo(self, *args):
        r = subprocess.run([XDOTOOL, *map(str, args)], env=self.env,
                           capture_output=True, text=True, timeout=30)
        if r.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(map(str, args))}: {r.stderr.strip()}")
        return r.stdout.strip()

    def key(self, *keys, delay=30):
        self.xdo("key", "--delay", delay, *keys)

    def type(self, text, delay=20):
        self.xdo("type", "--delay", delay, "--", text)

    def click(self, x, y):
        self.xdo("mousemove", "--sync", int(x), int(y))
        self.xdo("click", 1)

    def window_of(self, pid, timeout=15):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            r = subprocess.run([XDOTOOL, "search", "--onlyvisible", "--pid", str(pid)],
                               env=self.env, capture_output=True, text=True)
            ids = r.stdout.split()
            if ids:
                return ids[-1]
            time.sleep(0.05)
        raise RuntimeError("the program's window did not appear")

    def focus_window(self, wid):
        self.xdo("windowfocus", "--sync", wid)

    def window_geometry(self, wid):
        out = self.xdo("getwindowgeometry", "--shell", wid)
        g = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])

    def screenshot(self, path, crop=None):
        """Saves the root window as PNG; crop = (x, y, w, h) cuts out one window."""
        args = ["/usr/bin/import", "-display", self.display, "-window", "root"]
        if crop:
            x, y, w, h = crop
            args += ["-crop", f"{w}x{h}+{x}+{y}", "+repage"]
        subprocess.run(args + [path], env=self.env, check=True, timeout=60)

    # ---- reading: the accessibility bus ---------------------------------------------

    def atspi(self):
        """pyatspi, bound to this desktop's buses (import after start())."""
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.env["DBUS_SESSION_BUS_ADDRESS"]
        os.environ["DISPLAY"] = self.display
        import pyatspi  # noqa: E402  (needs the environment above)
        return pyatspi


def _exit_on_signal(signum, _frame):
    raise SystemExit(128 + signum)


def wait_for(predicate, timeout=5.0, interval=0.02, what="condition"):
    """Polls predicate until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = predicate()
            if value:
                return value
        except Exception as e:  # the tree may change under us while the window updates
            last_error = e
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise TimeoutError(f"timed out waiting for {what}{detail}")
        time.sleep(interval)
