#!/usr/bin/env python3
"""Runs Windows programs under Wine for the tests and for `make run`.

A session is a private Wine prefix (booted once, then reused), a private Xvfb
display when none is given, and a persistent wineserver. Every program of the
prefix opens in one Wine virtual desktop, so the program under test, its test
driver and their test windows share hot keys and window lists.

    winerun.py --state-dir DIR start      start a session (idempotent)
    winerun.py --state-dir DIR stop       end it, stopping only what it started
    winerun.py --state-dir DIR run -- PROGRAM [ARGS...]
    winerun.py --state-dir DIR --dpi 96,120,144 run -- PROGRAM [ARGS...]

With --monitors, the session is one of three monitors instead: a private Xvfb
display split into three RandR monitors, which Wine reads through Xinerama
(MONITORS below gives them in Windows coordinates), and no virtual desktop,
which would show as one monitor. Give it a state folder of its own.

`run` uses the running session, or starts one for this program alone and ends
it afterwards. With --dpi it runs the program once at each DPI, with that DPI
as its last argument: the user's LogPixels is set and the session's wineserver
restarted (Wine reads the DPI when its server starts); afterwards, and also
when the program fails or this runner is interrupted, the session goes back to
96 DPI. A later `run` finds a session left at another DPI (a runner that was
killed) and puts it back to 96 first.

While the program runs, every line it prints that starts with "@@xdotool "
is a request to send input through the X server (keys injected
with SendInput are forgotten by Wine when the focus moves): the rest of the
line is passed to xdotool, and "@@done <exit status>" is written back on the
program's standard input. "@@screenshot PATH" saves the virtual desktop as an
image at the Unix path PATH and is answered the same way.
"""

import argparse
import json
import os
import shlex
import signal
import subprocess
import sys
import threading
import time

DESKTOP_SIZE = "1024x768"
STANDARD_DPI = 96
SCREEN = "1280x1024x24"
BOOT_DEADLINE_S = 180

# The session of three monitors: (name, width, height, left, top) in Windows
# coordinates, the primary first. Wine puts the primary monitor's origin at 0,0.
MONITORS = [
    ("PRIMARY", 1024, 768, 0, 0),
    ("LEFT", 1280, 1024, -1280, 0),
    ("ABOVE", 800, 600, 112, -600),
]


def log(message):
    print(f"winerun: {message}", file=sys.stderr, flush=True)


class Session:
    def __init__(self, state_dir, monitors=False):
        self.monitors = monitors
        self.state_dir = os.path.abspath(state_dir)
        self.prefix = os.path.join(self.state_dir, "prefix")
        self.state_file = os.path.join(self.state_dir, "session.json")
        self.dpi_file = os.path.join(self.state_dir, "dpi")

    def env(self, display):
        env = dict(os.environ)
        shims = self.loader_shims()
        if shims:
            env["PATH"] = shims + os.pathsep + env.get("PATH", "")
            env["WINELOADER"] = WINE64_LOADER
        env["WINEPREFIX"] = self.prefix
        env["WINEDEBUG"] = env.get("ZEPHTAB_WINEDEBUG", "-all")
        env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winemenubuilder.exe=d"
        env["DISPLAY"] = display
        return env

    def loader_shims(self):
        """Where the kernel cannot run 32-bit Linux programs, the wine32 loader
        that Debian's `wine` script prefers fails with "Exec format error": put
        `wine` scripts that use the 64-bit loader first on the PATH."""
        if can_run_32bit():
            return None
        shims = os.path.join(self.state_dir, "bin")
        os.makedirs(shims, exist_ok=True)
        for name in ("wine", "wine-stable"):
            path = os.path.join(shims, name)
            if not os.path.exists(path):
                with open(path, "w") as f:
                    f.write(f'#!/bin/sh\nexec {WINE64_LOADER} "$@"\n')
                os.chmod(path, 0o755)
        return shims

    def load(self):
        try:
            with open(self.state_file) as f:
                state = json.load(f)
        except (OSError, ValueError):
            return None
        pid = state.get("xvfb_pid")
        if pid and not pid_alive(pid):
            return None
        return state

    def start(self):
        state = self.load()
        if state:
            return state, False
        os.makedirs(self.state_dir, exist_ok=True)
        display = os.environ.get("DISPLAY", "")
        xvfb_pid = None
        if self.monitors:
            display, xvfb_pid = start_monitors_xvfb()
        elif not display or os.environ.get("ZEPHTAB_PRIVATE_DISPLAY"):
            display, xvfb_pid = start_xvfb()
        state = {"display": display, "xvfb_pid": xvfb_pid}
        env = self.env(display)
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            log(f"booting a new Wine prefix in {self.prefix} (once)")
            subprocess.run(["wineboot", "-i"], env=env, check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=BOOT_DEADLINE_S)
            subprocess.run(["wineserver", "-w"], env=env, check=False, timeout=BOOT_DEADLINE_S)
            self.configure_prefix(env)
        self.start_server(env)
        self.save(state)
        self.use_dpi(state, STANDARD_DPI)
        return state, True

    def start_server(self, env):
        # A persistent wineserver keeps each program start fast, and Wine's
        # services, started here with no pipe of anyone's, stay up with it.
        subprocess.Popen(["wineserver", "-p"], env=env,
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).wait()
        subprocess.run(["wine", "cmd", "/c", "exit"], env=env, check=False,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=BOOT_DEADLINE_S)

    def save(self, state):
        with open(self.state_file, "w") as f:
            json.dump(state, f)

    def configure_prefix(self, env):
        if self.monitors:
            # Wine 8 takes monitors from Xinerama only when told not to use XRandR,
            # whose view of this display is the one output that spans it.
            reg = [["HKCU\\Software\\Wine\\X11 Driver", "UseXRandR", "REG_SZ", "N"]]
        else:
            reg = [
                ["HKCU\\Software\\Wine\\Explorer", "Desktop", "REG_SZ", "Default"],
                ["HKCU\\Software\\Wine\\Explorer\\Desktops", "Default", "REG_SZ", DESKTOP_SIZE],
            ]
        reg += [
            # No window manager decorations or grabs from the X side.
            ["HKCU\\Software\\Wine\\X11 Driver", "Managed", "REG_SZ", "N"],
            ["HKCU\\Software\\Wine\\X11 Driver", "Decorated", "REG_SZ", "N"],
            # No crash dialog: a crashing test must end, not wait for a click.
            ["HKCU\\Software\\Wine\\WineDbg", "ShowCrashDialog", "REG_DWORD", "0"],
        ]
        for key, name, kind, value in reg:
            subprocess.run(["wine", "reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f"],
                           env=env, check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=env, check=False)

    def prefix_dpi(self):
        """The DPI the prefix is set to: a file records any other than 96 from
        before it is set until it is back, so that a runner killed halfway, even
        with its session stopped since, is noticed by the next one."""
        try:
            with open(self.dpi_file) as f:
                return int(f.read())
        except (OSError, ValueError):
            return STANDARD_DPI

    def use_dpi(self, state, dpi):
        """Sets the user's LogPixels and restarts the wineserver, which reads it
        when it starts; nothing when the prefix is at that DPI already. Every
        program of the session ends."""
        if self.prefix_dpi() == dpi:
            return
        env = self.env(state["display"])
        if dpi != STANDARD_DPI:
            with open(self.dpi_file, "w") as f:
                f.write(str(dpi))
        subprocess.run(["wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels",
                        "/t", "REG_DWORD", "/d", str(dpi), "/f"], env=env, check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=BOOT_DEADLINE_S)
        subprocess.run(["wineserver", "-k"], env=env, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=env, check=False, timeout=BOOT_DEADLINE_S)
        self.start_server(env)
        if dpi == STANDARD_DPI:
            os.remove(self.dpi_file)

    def stop(self):
        state = self.load()
        display = state["display"] if state else os.environ.get("DISPLAY", ":0")
        subprocess.run(["wineserver", "-k"], env=self.env(display), check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if state and state.get("xvfb_pid"):
            stop_pid(state["xvfb_pid"])
        try:
            os.remove(self.state_file)
        except OSError:
            pass

    def run(self, argv, dpis=None):
        state, started_here = self.start()
        env = self.env(state["display"])
        try:
            if not dpis:
                self.use_dpi(state, STANDARD_DPI)
                return run_serving_input(argv, env)
            status = 0
            for dpi in dpis:
                self.use_dpi(state, dpi)
                log(f"at {dpi} DPI")
                status = run_serving_input(argv + [str(dpi)], env) or status
            return status
        finally:
            if dpis:
                self.use_dpi(state, STANDARD_DPI)
            if started_here:
                self.stop()


WINE32_LOADER = "/usr/lib/wine/wine"
WINE64_LOADER = "/usr/lib/wine/wine64"


def can_run_32bit():
    """Whether 32-bit Windows programs can run here (the kernel must run 32-bit ELF)."""
    if not os.access(WINE32_LOADER, os.X_OK):
        return False
    try:
        return subprocess.run([WINE32_LOADER, "--version"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0
    except OSError:
        return False


def pid_alive(pid):
    try:
        os.kill(pid, 0)
        return True
    except OSError:
        return False


def stop_pid(pid, deadline_s=5):
    try:
        os.kill(pid, signal.SIGTERM)
    except OSError:
        return
    end = time.monotonic() + deadline_s
    while time.monotonic() < end and pid_alive(pid):
        try:
            os.waitpid(pid, os.WNOHANG)
        except ChildProcessError:
            pass
        time.sleep(0.05)
    if pid_alive(pid):
        os.kill(pid, signal.SIGKILL)


def start_monitors_xvfb():
    """One X screen holding the monitors where Windows has them, shifted so that
    the leftmost and topmost edges are at 0; each becomes a RandR monitor, which
    the server's Xinerama reports as a head. -noreset keeps them when the last
    client leaves."""
    left = min(m[3] for m in MONITORS)
    top = min(m[4] for m in MONITORS)
    width = max(m[3] + m[1] for m in MONITORS) - left
    height = max(m[4] + m[2] for m in MONITORS) - top
    display, pid = start_xvfb(f"{width}x{height}x24", ["-noreset"])
    env = dict(os.environ, DISPLAY=display)
    for index, (name, w, h, x, y) in enumerate(MONITORS):
        # Sizes in millimetres as at 96 DPI; the primary takes the screen's one output.
        mm_w, mm_h = w * 254 // 960, h * 254 // 960
        spec = f"{w}/{mm_w}x{h}/{mm_h}+{x - left}+{y - top}"
        name = "*" + name if index == 0 else name
        result = subprocess.run(
            ["xrandr", "--setmonitor", name, spec, "screen" if index == 0 else "none"],
            env=env, check=False, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        if result.returncode != 0:
            stop_pid(pid)
            raise RuntimeError(f"xrandr --setmonitor failed: {result.stderr.decode().strip()}")
    return display, pid


def start_xvfb(screen=SCREEN, options=()):
    read_fd, write_fd = os.pipe()
    process = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", screen, "-nolisten", "tcp",
         *options],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        start_new_session=True)
    os.close(write_fd)
    number = b""
    with os.fdopen(read_fd, "rb") as pipe:
        while not number.endswith(b"\n"):
            chunk = pipe.read(1)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
    return ":" + number.decode().strip(), process.pid


def run_serving_input(argv, env):
    program = argv[0]
    command = ["wine", program] + argv[1:]
    # Standard error goes through a pipe of ours too: Wine's own services,
    # started by the first program of a session, and programs that a test left
    # running inherit it, and must not keep our caller's pipe open.
    child = subprocess.Popen(command, env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, bufsize=0)
    reader = threading.Thread(target=serve_output, args=(child, env), daemon=True)
    crashed = threading.Event()
    errors = threading.Thread(target=forward_errors, args=(child, crashed), daemon=True)
    reader.start()
    errors.start()
    status = child.wait()
    # Do not wait for the end of file that such a left-over program would hold
    # back: only for the rest of the output.
    reader.join(timeout=2)
    errors.join(timeout=1)
    # Wine's debugger can end a crashed program with status 0: a crash is a failure.
    if crashed.is_set() and status == 0:
        log("the program crashed")
        return 3
    return status


def forward_errors(child, crashed):
    for raw in iter(child.stderr.readline, b""):
        line = raw.decode("utf-8", "replace")
        if line.startswith("wine: Unhandled"):
            crashed.set()
        sys.stderr.write(line)
        sys.stderr.flush()


def serve_output(child, env):
    for raw in iter(child.stdout.readline, b""):
        line = raw.decode("utf-8", "replace").rstrip("\r\n")
        request = None
        if line.startswith("@@xdotool "):
            request = ["xdotool"] + shlex.split(line[len("@@xdotool "):])
        elif line.startswith("@@screenshot "):
            path = line[len("@@screenshot "):].strip()
            request = ["import", "-window", "root", "-crop", DESKTOP_SIZE + "+0+0", path]
        if request:
            result = subprocess.run(request, env=env, check=False,
                                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
            try:
                child.stdin.write(f"@@done {result.returncode}\n".encode())
                child.stdin.flush()
            except (BrokenPipeError, ValueError):
                pass
            continue
        sys.stdout.write(line + "\n")
        sys.stdout.flush()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--state-dir", default=os.environ.get("ZEPHTAB_WINE_DIR", "build/wine"))
    parser.add_argument("--monitors", action="store_true",
                        help="a session of three monitors (see MONITORS)")
    parser.add_argument("--dpi", help="run: comma-separated DPIs to run the program at, in turn")
    parser.add_argument("action", choices=["start", "stop", "run", "display", "can-run-32"])
    parser.add_argument("program", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    if args.action == "can-run-32":
        return 0 if can_run_32bit() else 1
    session = Session(args.state_dir, args.monitors)
    if args.action == "start":
        state, _ = session.start()
        print(state["display"])
        return 0
    if args.action == "display":
        state = session.load()
        print(state["display"] if state else "")
        return 0 if state else 1
    if args.action == "stop":
        session.stop()
        return 0
    program = args.program[1:] if args.program[:1] == ["--"] else args.program
    if not program:
        parser.error("run needs a program")
    dpis = [int(value) for value in args.dpi.split(",")] if args.dpi else None
    return session.run(program, dpis)


if __name__ == "__main__":
    sys.exit(main())
