"""End-to-end harness: the real program on a private X server.

Every test process gets its own Xvfb (display chosen by the server), its own session bus,
the accessibility bus, openbox as window manager and, where asked for, trayer as
notification area. Keys and clicks go through XTEST (xdotool); what the program shows is
read back through the accessibility tree (pyatspi).

Every process started here carries a tag in its environment, so whatever it spawned in
turn (bus activations included) is found and ended by process id, also after a failure.
"""

import atexit
import functools
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import uuid

TAG_VAR = "VELMORA_E2E_TAG"
TAG = uuid.uuid4().hex

# Deadlines are generous: the suite has to hold on a loaded two-core machine.
STARTUP_TIMEOUT = 30.0
WAIT_TIMEOUT = 10.0
POLL = 0.1
KEY_HOLD = 0.3

SELECTORS = ['Rechner %d ("F%d")' % (n, n) for n in range(1, 11)]
BUTTONS = ["Start", "Stopp", "Reset", "Info", "Anwendung in Tray minimieren", "Anwendung beenden"]
RATES = ["1,00", "1,25", "1,50", "1,75", "2,00", "2,25", "2,50", "2,75", "3,00"]
WEEKDAYS = ["Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"]
CLOCK_RE = re.compile(r"^ \d\d:\d\d:\d\d $")
DATE_RE = re.compile(r"^(%s), \d\d\.\d\d\.\d{4}$" % "|".join(WEEKDAYS))
TIME_RE = re.compile(r"^(\d\d+):(\d\d):(\d\d)$")


def selector(n):
    return SELECTORS[n - 1]


def time_field(n):
    return "Laufzeit Rechner %d" % n


def amount_field(n):
    return "Betrag Rechner %d" % n


def rate_list(n):
    return "Cent pro Minute Rechner %d" % n


def seconds_of(text):
    """The running time a time field shows, in seconds, or None for any other text."""
    m = TIME_RE.match(text or "")
    if not m:
        return None
    h, mi, s = (int(g) for g in m.groups())
    return h * 3600 + mi * 60 + s


class E2EFailure(AssertionError):
    pass


class ProgramEnded(E2EFailure):
    """The program is gone: no wait can succeed any more."""


def wait_until(condition, what, timeout=WAIT_TIMEOUT, seen=None):
    """Polls condition until it returns a true value; fails naming what was expected and,
    through seen(), what was there instead."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = condition()
            if value:
                return value
        except ProgramEnded:
            raise
        except Exception as e:  # the tree may change under our feet: poll on
            last_error = e
        if time.monotonic() >= deadline:
            break
        time.sleep(POLL)
    detail = ""
    if seen is not None:
        try:
            detail = "; seen: %s" % (seen(),)
        except Exception as e:
            detail = "; seen: <%s>" % e
    if last_error is not None:
        detail += "; last error: %r" % last_error
    raise E2EFailure("timed out after %.1f s waiting for %s%s" % (timeout, what, detail))


def hold_still(condition, what, duration, seen=None):
    """Fails if condition() stops holding at any poll within duration."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not condition():
            detail = ""
            if seen is not None:
                detail = "; seen: %s" % (seen(),)
            raise E2EFailure("expected %s to hold for %.1f s%s" % (what, duration, detail))
        time.sleep(POLL)


# --- processes ---------------------------------------------------------------------------


class Process:
    """A child in a process group of its own; stop() ends the whole group."""

    def __init__(self, name, argv, env, **kwargs):
        self.name = name
        self.argv = argv
        try:
            self.popen = subprocess.Popen(argv, env=env, start_new_session=True,
                                          stdin=subprocess.DEVNULL, **kwargs)
        finally:
            # The child holds its own copies of the log files.
            for stream in (kwargs.get("stdout"), kwargs.get("stderr")):
                if hasattr(stream, "close"):
                    stream.close()
        self.pid = self.popen.pid

    def alive(self):
        return self.popen.poll() is None

    def returncode(self):
        return self.popen.poll()

    def wait(self, timeout):
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self, grace=3.0):
        for sig, wait in ((signal.SIGTERM, grace), (signal.SIGKILL, 5.0)):
            if self.alive():
                try:
                    os.killpg(self.pid, sig)
                except ProcessLookupError:
                    pass
                self.wait(wait)
        # The group may outlive its leader.
        try:
            os.killpg(self.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            pass
        self.wait(1.0)


def tagged_pids():
    """Processes that carry this run's tag: ours and everything they spawned."""
    pids = []
    needle = ("%s=%s" % (TAG_VAR, TAG)).encode()
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open("/proc/%s/environ" % entry, "rb") as f:
                if needle in f.read().split(b"\0"):
                    pids.append(int(entry))
        except OSError:
            continue
    return pids


def kill_tagged():
    for sig in (signal.SIGTERM, signal.SIGKILL):
        pids = tagged_pids()
        if not pids:
            return
        for pid in pids:
            try:
                os.kill(pid, sig)
            except OSError:
                pass
        deadline = time.monotonic() + 2.0
        while time.monotonic() < deadline and tagged_pids():
            time.sleep(0.05)


def read_line_from_fd(fd, timeout, what):
    deadline = time.monotonic() + timeout
    data = b""
    while b"\n" not in data:
        remaining = deadline - time.monotonic()
        if remaining <= 0:
            raise E2EFailure("timed out after %.0f s waiting for %s" % (timeout, what))
        ready, _, _ = select.select([fd], [], [], remaining)
        if ready:
            chunk = os.read(fd, 256)
            if not chunk:
                break
            data += chunk
    line = data.split(b"\n", 1)[0].decode().strip()
    if not line:
        raise E2EFailure("%s: nothing was reported" % what)
    return line


# --- the X session ---------------------------------------------------------------------------


# Click to focus, as on any desktop. Nothing is bound in the "Frame" context: it covers the
# client area too, and a plain button binding there swallows the program's own clicks.
OPENBOX_RC = """<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
  <keyboard>
    <keybind key="A-F4"><action name="Close"/></keybind>
  </keyboard>
  <mouse>
    <context name="Client">
      <mousebind button="Left" action="Press">
        <action name="Focus"/><action name="Raise"/>
      </mousebind>
      <mousebind button="Middle" action="Press">
        <action name="Focus"/><action name="Raise"/>
      </mousebind>
      <mousebind button="Right" action="Press">
        <action name="Focus"/><action name="Raise"/>
      </mousebind>
    </context>
    <context name="Titlebar">
      <mousebind button="Left" action="Press">
        <action name="Focus"/><action name="Raise"/>
      </mousebind>
      <mousebind button="Left" action="Drag"><action name="Move"/></mousebind>
    </context>
    <context name="Close">
      <mousebind button="Left" action="Press">
        <action name="Focus"/><action name="Raise"/>
      </mousebind>
      <mousebind button="Left" action="Click"><action name="Close"/></mousebind>
    </context>
  </mouse>
</openbox_config>
"""


class Session:
    """Xvfb, session bus, accessibility bus, window manager and, on request, a tray."""

    def __init__(self, program, artifacts, name):
        self.program = os.path.abspath(program)
        self.artifacts = artifacts
        self.name = name
        self.processes = []
        self.tmp = tempfile.mkdtemp(prefix="velmora-e2e-")
        self.env = None
        self.tray = None
        self.app = None
        self._desktop = None
        self._shots = 0

    # Start and stop.

    def start(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "NO_AT_BRIDGE",
                            "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "DISPLAY",
                            "XAUTHORITY", "SESSION_MANAGER")}
        env[TAG_VAR] = TAG
        env["LC_ALL"] = "C.UTF-8"
        for var, sub in (("XDG_CONFIG_HOME", "config"), ("XDG_CACHE_HOME", "cache"),
                         ("XDG_DATA_HOME", "data"), ("XDG_RUNTIME_DIR", "runtime")):
            path = os.path.join(self.tmp, sub)
            os.makedirs(path, mode=0o700, exist_ok=True)
            env[var] = path
        self.env = env

        # The X server picks a free display and tells us which.
        rfd, wfd = os.pipe()
        try:
            self._spawn("Xvfb", ["Xvfb", "-displayfd", str(wfd), "-screen", "0", "1280x1024x24",
                                 "-nolisten", "tcp", "-noreset"],
                        pass_fds=(wfd,), stdout=subprocess.DEVNULL, stderr=self._log("xvfb"))
            os.close(wfd)
            wfd = -1
            display = read_line_from_fd(rfd, STARTUP_TIMEOUT, "Xvfb to report its display")
        finally:
            os.close(rfd)
            if wfd >= 0:
                os.close(wfd)
        env["DISPLAY"] = ":" + display
        wait_until(lambda: self.run(["xdpyinfo"], check=False).returncode == 0,
                   "the X server %s to accept clients" % env["DISPLAY"], STARTUP_TIMEOUT)

        rfd, wfd = os.pipe()
        try:
            self._spawn("dbus-daemon", ["dbus-daemon", "--session", "--nofork",
                                        "--print-address=%d" % wfd],
                        pass_fds=(wfd,), stdout=subprocess.DEVNULL, stderr=self._log("dbus"))
            os.close(wfd)
            wfd = -1
            env["DBUS_SESSION_BUS_ADDRESS"] = read_line_from_fd(
                rfd, STARTUP_TIMEOUT, "the session bus to report its address")
        finally:
            os.close(rfd)
            if wfd >= 0:
                os.close(wfd)

        self._spawn("at-spi-bus-launcher", ["/usr/libexec/at-spi-bus-launcher",
                                            "--launch-immediately"],
                    stdout=subprocess.DEVNULL, stderr=self._log("at-spi"))
        wait_until(self._a11y_bus_up, "the accessibility bus (org.a11y.Bus)", STARTUP_TIMEOUT)

        rc = os.path.join(self.tmp, "openbox-rc.xml")
        with open(rc, "w") as f:
            f.write(OPENBOX_RC)
        self._spawn("openbox", ["openbox", "--config-file", rc, "--sm-disable"],
                    stdout=subprocess.DEVNULL, stderr=self._log("openbox"))
        wait_until(lambda: "window id" in self.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False).stdout,
            "openbox to manage the screen", STARTUP_TIMEOUT)

        # Our own reader speaks to the same buses.
        for var in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", TAG_VAR):
            os.environ[var] = env[var]
        return self

    def _a11y_bus_up(self):
        r = self.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                      "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                      "string:org.a11y.Bus"], check=False)
        return "boolean true" in r.stdout

    def _log(self, name):
        return open(os.path.join(self.tmp, name + ".log"), "ab")

    def _spawn(self, name, argv, env=None, **kwargs):
        p = Process(name, argv, env if env is not None else self.env, **kwargs)
        self.processes.append(p)
        return p

    def stop(self):
        if self.app is not None:
            self.app.stop()
            self.app = None
        for p in reversed(self.processes):
            p.stop()
        self.processes = []
        kill_tagged()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def run(self, argv, check=True, timeout=WAIT_TIMEOUT):
        r = subprocess.run(argv, env=self.env, stdin=subprocess.DEVNULL, capture_output=True,
                           text=True, timeout=timeout)
        if check and r.returncode != 0:
            raise E2EFailure("%s failed with %d: %s" % (" ".join(argv), r.returncode,
                                                        r.stderr.strip()))
        return r

    def screenshot(self, label):
        if self.env is None or "DISPLAY" not in self.env:
            return None
        self._shots += 1
        safe = re.sub(r"[^A-Za-z0-9_.-]+", "_", label)
        path = os.path.join(self.artifacts, "%s-%s-%d.png" % (self.name, safe, self._shots))
        try:
            self.run(["import", "-window", "root", path], check=False, timeout=20)
        except Exception:
            return None
        return path if os.path.exists(path) else None

    # Tray.

    def start_tray(self):
        self.tray = self._spawn("trayer", ["trayer", "--edge", "top", "--align", "right",
                                           "--widthtype", "pixel", "--width", "100",
                                           "--height", "24", "--SetDockType", "true",
                                           "--expand", "false"],
                                stdout=subprocess.DEVNULL, stderr=self._log("trayer"))
        wait_until(self.tray_window, "trayer's panel window", STARTUP_TIMEOUT)
        return self.tray

    def stop_tray(self):
        if self.tray is not None:
            self.tray.stop()
            self.processes.remove(self.tray)
            self.tray = None

    def tray_window(self):
        if self.tray is None:
            return None
        ids = self.xdotool_search(["--pid", str(self.tray.pid), "--onlyvisible", "--class",
                                   "trayer"])
        if not ids:
            ids = self.xdotool_search(["--pid", str(self.tray.pid), "--onlyvisible", "--name",
                                       "."])
        return ids[0] if ids else None

    def tray_icons(self, pid):
        """The icons of process pid embedded in the tray, as {window: (x, y, w, h)}."""
        panel = self.tray_window()
        if panel is None:
            return {}
        owned = set(self.xdotool_search(["--pid", str(pid), "--class", "."]))
        tree = self.run(["xwininfo", "-tree", "-id", str(panel)], check=False).stdout
        icons = {}
        for m in re.finditer(r"^\s*(0x[0-9a-f]+) .*?(\d+)x(\d+)[+-]-?\d+[+-]-?\d+\s+"
                             r"\+(-?\d+)\+(-?\d+)\s*$", tree, re.M):
            wid = int(m.group(1), 16)
            if wid in owned and self.is_viewable(wid):
                w, h, x, y = (int(m.group(i)) for i in range(2, 6))
                icons[wid] = (x, y, w, h)
        return icons

    # Windows.

    def xdotool_search(self, args):
        r = self.run(["xdotool", "search"] + args, check=False)
        return [int(x) for x in r.stdout.split()]

    def window_name(self, wid):
        r = self.run(["xdotool", "getwindowname", str(wid)], check=False)
        return r.stdout.rstrip("\n") if r.returncode == 0 else None

    def window_geometry(self, wid):
        """Position of the window's client area on the screen, and its size."""
        r = self.run(["xwininfo", "-id", str(wid)], check=False)
        vals = {}
        for key, label in (("x", "Absolute upper-left X"), ("y", "Absolute upper-left Y"),
                           ("w", "Width"), ("h", "Height")):
            m = re.search(r"%s:\s+(-?\d+)" % label, r.stdout)
            if m:
                vals[key] = int(m.group(1))
        return vals

    def frame_geometry(self, wid):
        """Outer position and size of a managed window, its window manager's frame included."""
        g = self.window_geometry(wid)
        r = self.run(["xprop", "-id", str(wid), "_NET_FRAME_EXTENTS"], check=False)
        m = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", r.stdout)
        left, right, top, bottom = (int(v) for v in m.groups()) if m else (0, 0, 0, 0)
        return {"x": g["x"] - left, "y": g["y"] - top, "w": g["w"] + left + right,
                "h": g["h"] + top + bottom}

    def is_viewable(self, wid):
        r = self.run(["xwininfo", "-id", str(wid)], check=False)
        return "IsViewable" in r.stdout

    def active_window(self):
        r = self.run(["xdotool", "getactivewindow"], check=False)
        return int(r.stdout.strip()) if r.returncode == 0 and r.stdout.strip() else None

    def open_other_window(self):
        """Another application's window, mapped and holding the keyboard focus."""
        other = self._spawn("xmessage", ["xmessage", "-center", "-title", "Andere Anwendung",
                                         "Andere Anwendung"],
                            stdout=subprocess.DEVNULL, stderr=self._log("xmessage"))
        wid = wait_until(lambda: (self.xdotool_search(["--pid", str(other.pid), "--onlyvisible",
                                                       "--name", "Andere Anwendung"]) or [None])[0],
                         "the other application's window", STARTUP_TIMEOUT)
        self.activate(wid)
        return other, wid

    def activate(self, wid):
        def active():
            if self.active_window() == wid:
                return True
            self.run(["xdotool", "windowactivate", str(wid)], check=False)
            return False
        wait_until(active, "window %d to hold the focus" % wid,
                   seen=lambda: "active window %s" % self.active_window())

    def close_process(self, process):
        process.stop()
        if process in self.processes:
            self.processes.remove(process)

    def start_app(self):
        self.app = App(self)
        return self.app

    # Input.

    def key(self, keysym, hold=KEY_HOLD):
        """Presses a key through XTEST; the default hold is long enough for the program's
        100 ms key poll to see it."""
        self.run(["xdotool", "keydown", keysym])
        time.sleep(hold)
        self.run(["xdotool", "keyup", keysym])

    def move_to(self, x, y):
        # Not "mousemove --sync": it waits for ever when the pointer is there already.
        self.run(["xdotool", "mousemove", str(x), str(y)])
        wait_until(lambda: re.match(r"x:%d y:%d " % (x, y), self.run(
            ["xdotool", "getmouselocation"], check=False).stdout),
            "the pointer at (%d, %d)" % (x, y))

    def click_at(self, x, y, button=1):
        self.move_to(x, y)
        self.run(["xdotool", "mousedown", str(button)])
        time.sleep(0.05)
        self.run(["xdotool", "mouseup", str(button)])

    # Accessibility.

    def listen(self):
        """Starts recording focus events: the one way to reach popup menus, which Qt
        leaves out of the application's tree."""
        import pyatspi
        if not hasattr(self, "_events"):
            self._events = []

            def record(event):
                try:
                    if event.detail1:
                        self._events.append(event.source)
                except Exception:
                    pass
            self._listener = record
            pyatspi.Registry.registerEventListener(record, "object:state-changed:focused")

    def focused_since(self, mark):
        """Accessibles that took the focus since mark (a length of the event list)."""
        from gi.repository import GLib
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass
        return self._events[mark:]

    def event_mark(self):
        self.listen()
        return len(self._events)

    def desktop(self):
        import pyatspi  # only once the buses are known
        if self._desktop is None:
            self._desktop = pyatspi.Registry.getDesktop(0)
        return self._desktop


class Control:
    """One accessible object of the program, read afresh on every call."""

    def __init__(self, acc):
        self.acc = acc

    def _fresh(self):
        try:
            self.acc.clearCache()
        except Exception:
            pass
        return self.acc

    @property
    def name(self):
        return self._fresh().name

    @property
    def role(self):
        return self._fresh().getRoleName()

    def states(self):
        return self._fresh().getState()

    def has_state(self, state):
        return self.states().contains(state)

    @property
    def checked(self):
        import pyatspi
        return self.has_state(pyatspi.STATE_CHECKED)

    @property
    def focused(self):
        import pyatspi
        return self.has_state(pyatspi.STATE_FOCUSED)

    @property
    def text(self):
        acc = self._fresh()
        try:
            t = acc.queryText()
            return t.getText(0, -1)
        except NotImplementedError:
            return None

    def extents(self):
        import pyatspi
        e = self._fresh().queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return (e.x, e.y, e.width, e.height)

    def click(self, session, button=1):
        x, y, w, h = self.extents()
        session.click_at(x + w // 2, y + h // 2, button)


def walk(acc, depth=0, limit=12):
    yield acc, depth
    if depth >= limit:
        return
    try:
        count = acc.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            yield from walk(child, depth + 1, limit)


class App:
    """The program under test, with its own runtime directory."""

    def __init__(self, session):
        self.session = session
        runtime = tempfile.mkdtemp(prefix="runtime-", dir=session.tmp)
        os.chmod(runtime, 0o700)
        env = dict(session.env)
        env.update({"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "QT_ACCESSIBILITY": "1",
                    "LC_ALL": "C.UTF-8", "XDG_RUNTIME_DIR": runtime})
        self.log_path = os.path.join(session.tmp, "velmora-%s.log" % os.path.basename(runtime))
        self.process = Process("velmora", [session.program], env,
                               stdout=subprocess.DEVNULL, stderr=open(self.log_path, "ab"))
        self._app_acc = None
        self._controls = {}
        self.wid = None

    @property
    def pid(self):
        return self.process.pid

    def log(self):
        try:
            with open(self.log_path, errors="replace") as f:
                return f.read()[-2000:]
        except OSError:
            return ""

    def stop(self):
        self.process.stop()

    def sanitizer_report(self):
        """What AddressSanitizer or UBSan said, when the program is a sanitized build."""
        try:
            with open(self.log_path, errors="replace") as f:
                text = f.read()
        except OSError:
            return ""
        for marker in ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"):
            at = text.find(marker)
            if at >= 0:
                return text[max(0, at - 200):at + 1500]
        return ""

    def ensure_alive(self):
        if not self.process.alive():
            raise ProgramEnded("velmora ended unexpectedly with status %s; its output: %s" %
                             (self.process.returncode(), self.log()))

    # Windows of the program.

    def windows(self, title, visible=True):
        """The program's X windows with exactly this title (xdotool matches without case)."""
        args = ["--pid", str(self.pid)]
        if visible:
            args.append("--onlyvisible")
        found = self.session.xdotool_search(args + ["--name", "^%s$" % re.escape(title)])
        return [w for w in found if self.session.window_name(w) == title]

    def wait_main_window(self, timeout=STARTUP_TIMEOUT):
        def find():
            self.ensure_alive()
            ids = self.windows("Velmora")
            return ids[0] if ids else None
        self.wid = wait_until(find, 'the window "Velmora" to be mapped', timeout)
        return self.wid

    def wait_ready(self):
        """Main window mapped, its controls in the accessibility tree, first paint done."""
        self.wait_main_window()
        self.wait_controls()
        wait_until(lambda: self.control(time_field(1)).text == "inaktiv",
                   'the first paint (time field 1 reading "inaktiv")',
                   seen=lambda: repr(self.control(time_field(1)).text))
        return self

    # Accessibility tree.

    def app_accessible(self):
        if self._app_acc is not None:
            try:
                if self._app_acc.get_process_id() == self.pid:
                    return self._app_acc
            except Exception:
                pass
            self._app_acc = None
        desktop = self.session.desktop()
        for i in range(desktop.childCount):
            try:
                a = desktop.getChildAtIndex(i)
                if a is not None and a.name == "velmora" and a.get_process_id() == self.pid:
                    self._app_acc = a
                    return a
            except Exception:
                continue
        return None

    def top_levels(self):
        app = self.app_accessible()
        if app is None:
            return []
        try:
            app.clearCache()
        except Exception:
            pass
        return [app.getChildAtIndex(i) for i in range(app.childCount)]

    def top_level(self, name):
        for w in self.top_levels():
            if w is not None and w.name == name:
                return w
        return None

    def main_frame(self):
        # The one with the controls: a popup of ours may carry the same title.
        frames = [w for w in self.top_levels() if w is not None and w.name == "Velmora"]
        return max(frames, key=lambda w: w.childCount, default=None)

    def controls(self):
        """The main window's controls, by accessible name."""
        frame = self.main_frame()
        if frame is None:
            return {}
        found = {}
        for i in range(frame.childCount):
            acc = frame.getChildAtIndex(i)
            if acc is not None:
                found.setdefault(acc.name, Control(acc))
        return found

    def child_count(self):
        frame = self.main_frame()
        return frame.childCount if frame is not None else 0

    def wait_controls(self):
        wanted = SELECTORS + BUTTONS + ["Uhrzeit", "Datum"] + \
            [f(n) for n in range(1, 11) for f in (time_field, amount_field, rate_list)]

        def all_there():
            self.ensure_alive()
            got = self.controls()
            missing = [w for w in wanted if w not in got]
            if not missing:
                self._controls = got
                return True
            self._missing = missing
            return False
        self._missing = wanted
        wait_until(all_there, "the program's controls in the accessibility tree",
                   STARTUP_TIMEOUT, seen=lambda: "missing %s" % self._missing[:6])

    def control(self, name):
        c = self._controls.get(name)
        if c is None:
            self._controls = self.controls()
            c = self._controls.get(name)
        if c is None:
            raise E2EFailure("no control named %r in the accessibility tree" % name)
        return c

    # Reading.

    def marked(self):
        """Numbers of the stations whose selector carries the check mark."""
        return [n for n in range(1, 11) if self.control(selector(n)).checked]

    def time_text(self, n):
        return self.control(time_field(n)).text

    def amount_text(self, n):
        return self.control(amount_field(n)).text

    def rate_text(self, n):
        return self.control(rate_list(n)).text

    def focused_name(self):
        for name, c in self._controls.items():
            try:
                if c.focused:
                    return name
            except Exception:
                continue
        return None

    # Acting.

    def click(self, name, button=1):
        """A real click on the control, at its label for radio buttons."""
        c = self.control(name)
        x, y, w, h = c.extents()
        if c.role in ("radio button", "check box"):
            # The indicator and the start of the caption, not the wide empty right side.
            px, py = x + min(8, w // 2), y + h // 2
        else:
            px, py = x + w // 2, y + h // 2
        self.session.click_at(px, py, button)

    def wait_second_steps(self, count=1):
        """Waits until the clock has been rewritten count times: that many second steps
        of the tick have run since the call."""
        clock = self.control("Uhrzeit")
        for i in range(count):
            shown = clock.text
            wait_until(lambda: clock.text != shown, "a second step (the clock to move on)",
                       seen=lambda: repr(clock.text))

    def pick_rate(self, n, rate):
        """Opens station n's rate list with a click and clicks the entry."""
        import pyatspi
        box = self.control(rate_list(n))
        self.click(rate_list(n))
        entries = box.acc.getChildAtIndex(0)

        def entry_showing():
            for i in range(entries.childCount):
                item = entries.getChildAtIndex(i)
                if item.name == rate and Control(item).has_state(pyatspi.STATE_SHOWING):
                    return Control(item)
            return None
        item = wait_until(entry_showing, "the entry %r of the opened rate list %d" % (rate, n))
        x, y, w, h = item.extents()
        self.session.click_at(x + min(w // 2, 20), y + h // 2)
        wait_until(lambda: self.rate_text(n) == rate, "rate list %d showing %r" % (n, rate),
                   seen=lambda: repr(self.rate_text(n)))

    def message_box(self):
        """The open message box as (accessible, X window), or None."""
        box = self.top_level("velmora")
        wids = self.windows("velmora")
        return (box, wids[0]) if box is not None and wids else None

    def wait_marked(self, stations, timeout=WAIT_TIMEOUT):
        wait_until(lambda: self.marked() == stations,
                   "the check marks on stations %s" % stations, timeout,
                   seen=lambda: "marked %s" % self.marked())

    def run_station(self, n):
        """Selects station n with a click, starts it and waits for its first second."""
        self.click(selector(n))
        self.wait_marked([n])
        self.click("Start")
        wait_until(lambda: seconds_of(self.time_text(n)), "station %d to run" % n,
                   seen=lambda: self.time_text(n))


# --- the test base ---------------------------------------------------------------------------


_sessions = []
_sessions_started = []


def _become_subreaper():
    # Orphans of our children (a bus's activated services) come to us, not to init: they
    # stay traceable and we reap them at the end.
    try:
        import ctypes
        ctypes.CDLL(None, use_errno=True).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER
    except Exception:
        pass


def _reap():
    while True:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            return


def _cleanup_all():
    for s in list(_sessions):
        try:
            s.stop()
        except Exception:
            pass
    kill_tagged()
    _reap()


def _end_now(signum, frame):
    # Not an exception: unittest would take it for a test error and go on with the next.
    _cleanup_all()
    os._exit(128 + signum)


atexit.register(_cleanup_all)
for _sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
    signal.signal(_sig, _end_now)


class Config:
    program = None
    artifacts = None


class E2ETestCase(unittest.TestCase):
    """One private session per test class; each test starts a fresh program. pyatspi binds
    to the first accessibility bus it meets, so a test file holds one such class only."""

    session = None

    @classmethod
    def setUpClass(cls):
        if _sessions_started:
            raise RuntimeError("one session per test process: pyatspi cannot change buses")
        _sessions_started.append(cls)
        name = re.sub(r"[^A-Za-z0-9]+", "_", os.path.splitext(
            os.path.basename(sys.modules[cls.__module__].__file__ or "e2e"))[0])
        cls.session = Session(Config.program, Config.artifacts, name)
        _sessions.append(cls.session)
        try:
            cls.session.start()
        except BaseException:
            cls.session.screenshot("setup")
            cls.session.stop()
            _sessions.remove(cls.session)
            raise

    @classmethod
    def tearDownClass(cls):
        if cls.session is not None:
            cls.session.stop()
            if cls.session in _sessions:
                _sessions.remove(cls.session)
            cls.session = None

    def run(self, result=None):
        # A failing test leaves a screenshot of the screen as it was.
        method = getattr(self, self._testMethodName)

        @functools.wraps(method)
        def guarded():
            try:
                return method()
            except BaseException as e:
                shot = self.session.screenshot(self._testMethodName) if self.session else None
                if shot and isinstance(e, AssertionError):
                    raise type(e)("%s\n(screenshot: %s)" % (e, shot)) from e
                raise
        setattr(self, self._testMethodName, guarded)
        return super().run(result)

    def prepare_session(self):
        """Runs before the program starts, for tests that change the session."""

    def setUp(self):
        self.app = None
        self.prepare_session()
        self.app = self.session.start_app()
        self.app.wait_ready()

    def tearDown(self):
        app = self.session.app
        if app is not None:
            app.stop()
            self.session.app = None
            report = app.sanitizer_report()
            if report:
                self.fail("the program reported a memory or undefined-behaviour fault:\n" + report)


TOOLS = ["Xvfb", "dbus-daemon", "dbus-send", "/usr/libexec/at-spi-bus-launcher", "openbox",
         "trayer", "xdotool", "xdpyinfo", "xwininfo", "xprop", "xmessage", "import"]
SKIP = 77
# The whole file gets this long; then it cleans up and fails rather than being killed.
BUDGET_SECONDS = 150


def missing_tools():
    import importlib.util
    missing = [t for t in TOOLS if shutil.which(t) is None]
    # Found, not imported: it must not meet a bus before ours exist.
    if importlib.util.find_spec("pyatspi") is None:
        missing.append("pyatspi for %s" % sys.executable)
    return missing


def _over_budget(signum, frame):
    sys.stderr.write("\nthe test file ran over its %d s budget; ending it\n" % BUDGET_SECONDS)
    for s in list(_sessions):
        s.screenshot("over-budget")
    _cleanup_all()
    sys.stderr.flush()
    os._exit(1)


def main():
    """Entry point of a test file: test.py <path of velmora> [<artifact dir>]."""
    if len(sys.argv) < 2:
        sys.stderr.write("usage: %s <velmora> [<artifact dir>] [unittest args]\n" % sys.argv[0])
        sys.exit(2)
    missing = missing_tools()
    if missing:
        sys.stderr.write("skipped: missing %s\n" % ", ".join(missing))
        sys.exit(SKIP)
    _become_subreaper()
    signal.signal(signal.SIGALRM, _over_budget)
    signal.alarm(BUDGET_SECONDS)
    Config.program = sys.argv[1]
    Config.artifacts = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else os.getcwd()
    os.makedirs(Config.artifacts, exist_ok=True)
    if not os.access(Config.program, os.X_OK):
        sys.stderr.write("not an executable: %s\n" % Config.program)
        sys.exit(2)
    try:
        # pyatspi's own deprecation notices would bury the test output.
        unittest.main(module="__main__", argv=[sys.argv[0]] + sys.argv[3:], verbosity=2,
                      warnings="ignore")
    finally:
        _cleanup_all()
