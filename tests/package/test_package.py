#!/usr/bin/python3
"""Builds the Debian package, unpacks it and checks what it installs; then starts the
packaged program under Xvfb and waits for its window.

usage: test_package.py BUILD_DIR
"""
import os
import signal
import struct
import subprocess
import sys
import tempfile
import time

EXPECTED = [
    "usr/bin/velmora",
    "usr/share/applications/velmora.desktop",
] + ["usr/share/icons/hicolor/%dx%d/apps/velmora.png" % (s, s) for s in (32, 48, 64, 128, 256)]


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        fail("%s is not a PNG" % path)
    return struct.unpack(">II", head[16:24])


def build_package(build, out):
    subprocess.run(["cpack", "-G", "DEB", "-B", out, "--config",
                    os.path.join(build, "CPackConfig.cmake")],
                   check=True, stdout=subprocess.DEVNULL)
    debs = [f for f in os.listdir(out) if f.endswith(".deb")]
    if len(debs) != 1:
        fail("expected one .deb in %s, found %s" % (out, debs))
    return os.path.join(out, debs[0])


def check_contents(deb, root):
    fields = subprocess.run(["dpkg-deb", "-f", deb, "Package", "Depends"], check=True,
                            capture_output=True, text=True).stdout
    if "Package: velmora" not in fields:
        fail("package name: %s" % fields)
    for needed in ("libqt6widgets6", "fonts-liberation2"):
        if needed not in fields:
            fail("Depends lacks %s: %s" % (needed, fields))
    subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
    for path in EXPECTED:
        if not os.path.isfile(os.path.join(root, path)):
            fail("missing in package: /" + path)
    if not os.access(os.path.join(root, "usr/bin/velmora"), os.X_OK):
        fail("/usr/bin/velmora is not executable")
    for s in (32, 48, 64, 128, 256):
        size = png_size(os.path.join(root, "usr/share/icons/hicolor/%dx%d/apps/velmora.png" % (s, s)))
        if size != (s, s):
            fail("icon %dx%d has size %s" % (s, s, size))
    with open(os.path.join(root, "usr/share/applications/velmora.desktop"), encoding="utf-8") as f:
        entry = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
    wanted = {"Type": "Application", "Name": "Velmora", "Exec": "velmora", "Icon": "velmora"}
    for key, value in wanted.items():
        if entry.get(key) != value:
            fail("desktop entry %s=%r, expected %r" % (key, entry.get(key), value))
    if "Office" not in entry.get("Categories", "") or not entry.get("Comment"):
        fail("desktop entry lacks a category or comment: %s" % entry)


def start_packaged(root):
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=(write_fd,),
                            stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(write_fd)
    program = None
    try:
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        if not number.endswith(b"\n"):
            fail("Xvfb did not start")
        env = dict(os.environ, DISPLAY=":" + number.decode().strip(),
                   XDG_RUNTIME_DIR=tempfile.mkdtemp(), LC_ALL="C.UTF-8")
        program = subprocess.Popen([os.path.join(root, "usr/bin/velmora")], env=env,
                                   start_new_session=True, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Velmora$"],
                                   env=env, capture_output=True, text=True).stdout.split()
            if found:
                return
            if program.poll() is not None:
                fail("packaged program ended with status %s" % program.returncode)
            time.sleep(0.1)
        fail("packaged program showed no window 'Velmora' within 20 s")
    finally:
        os.close(read_fd)
        for p in (program, xvfb):
            if p is not None and p.poll() is None:
                os.killpg(p.pid, signal.SIGTERM)
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    os.killpg(p.pid, signal.SIGKILL)
                    p.wait()


def main():
    build = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as out, tempfile.TemporaryDirectory() as root:
        deb = build_package(build, out)
        check_contents(deb, root)
        start_packaged(root)
    print("package ok")


if __name__ == "__main__":
    main()
