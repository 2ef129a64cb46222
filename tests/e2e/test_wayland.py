"""The worksheet on a Wayland desktop: under a headless compositor of its own (weston) the
program starts as a native Wayland client, announces its application id, maps its window
and keeps running. Skipped, saying why, only where weston cannot start here.

    test_wayland.py PROGRAM
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

APP_ID = "org.tallyforge.Tallyforge"
SKIP = 77


def skip(why):
    print(f"SKIP: {why}")
    sys.exit(SKIP)


def wait_for(predicate, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(0.05)
    return predicate()


def stop(proc):
    if proc and proc.poll() is None:
        os.killpg(proc.pid, signal.SIGTERM)
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()


def main(program):
    weston_bin = shutil.which("weston") or "/usr/bin/weston"
    if not os.access(weston_bin, os.X_OK):
        skip("weston is not installed (scripts/install-deps installs it)")
    runtime = tempfile.mkdtemp(prefix="tf-wayland-")
    os.chmod(runtime, 0o700)
    socket = f"tf-wayland-{os.getpid()}"
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "WAYLAND_SOCKET")}
    env.update(XDG_RUNTIME_DIR=runtime, DBUS_SESSION_BUS_ADDRESS="disabled:")
    weston = app = None
    for sig in (signal.SIGTERM, signal.SIGHUP, signal.SIGINT):
        signal.signal(sig, lambda *_: sys.exit(1))
    failures = []
    checks = 0
    try:
        weston = subprocess.Popen(
            [weston_bin, "--backend=headless-backend.so", f"--socket={socket}", "--idle-time=0"],
            env=env, stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(runtime, "weston.log"), "wb"), start_new_session=True)
        if not wait_for(lambda: os.path.exists(os.path.join(runtime, socket)) or weston.poll() is not None, 15) \
                or weston.poll() is not None:
            with open(os.path.join(runtime, "weston.log"), errors="replace") as log:
                skip("weston could not start a headless compositor: " + log.read().strip()[-400:])

        # A Wayland session and nothing else: no X server to fall back on, no platform
        # chosen for the program.
        env.update(WAYLAND_DISPLAY=socket, WAYLAND_DEBUG="1", LC_ALL="en_US.UTF-8")
        log_path = os.path.join(runtime, "program.log")
        app = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                               stderr=open(log_path, "wb"), start_new_session=True)

        def protocol():
            with open(log_path, errors="replace") as log:
                return log.read()

        def mapped():
            # A buffer attached to a surface: "wl_surface@13.attach(wl_buffer@17, 0, 0)", or
            # "#" for "@" as libwayland writes objects from 1.23 on.
            text = protocol()
            return "ack_configure" in text and re.search(r"wl_surface[@#]\d+\.attach\(wl_buffer[@#]\d+", text)

        checks += 1
        if not wait_for(mapped, 15):
            failures.append("the window was not mapped (no configured surface with a buffer)")
        text = protocol()
        checks += 1
        if f'set_app_id("{APP_ID}")' not in text:
            ids = [l.strip() for l in text.splitlines() if "set_app_id" in l]
            failures.append(f"application id {APP_ID} not announced; got {ids or 'none'}")
        checks += 1
        if 'set_title("Cost Estimate Worksheet")' not in text:
            failures.append("the window's title was not announced")
        # Still there a while later, not ended by the compositor or a fallback.
        time.sleep(2)
        checks += 1
        if app.poll() is not None:
            failures.append(f"the program ended with status {app.returncode}:\n{text[-2000:]}")
    finally:
        stop(app)
        stop(weston)
        shutil.rmtree(runtime, ignore_errors=True)

    for f in failures:
        print(f"FAIL: {f}")
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
