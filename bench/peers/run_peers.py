#!/usr/bin/env python3
"""Start-up and idle memory of the reader against Debian's QuiteRSS, RSS Guard and Liferea, and
against a plain Qt Widgets window with the same menu and list.

Every program runs on one Xvfb without a window manager, each run with a fresh HOME, in rounds
that take the programs in a new order each time. For every run, mapwatch (beside this script)
reports the time from launch to the first mapped window of at least 400 x 300 pixels and the
process tree's memory 4 s after launch (PSS summed over the tree, RSS alongside). The medians and
the reader's ratios come last.

  bench/peers/run_peers.py [--rounds 7] [--build build] [--only reader,widgets] [--no-install]
                           [--also NAME=PROGRAM ...]   (say, an earlier build of the reader)

The peers are installed with apt-get when missing (as root, or through sudo).
"""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
PEERS = {"quiterss": "quiterss", "rssguard": "rssguard", "liferea": "liferea"}
MIN_W, MIN_H, SETTLE_MS = 400, 300, 4000


def install_peers():
    missing = [pkg for pkg, exe in PEERS.items() if not shutil.which(exe)]
    if not missing:
        return
    sudo = [] if os.geteuid() == 0 else ["sudo"]
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    subprocess.run(sudo + ["apt-get", "install", "-y", "-qq"] + missing, check=True, env=env)


def build_mapwatch(work):
    exe = os.path.join(work, "mapwatch")
    subprocess.run(["cc", "-O2", "-o", exe, os.path.join(HERE, "mapwatch.c"), "-lX11"], check=True)
    return exe


def start_xvfb():
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=(write_fd,), stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as f:
        display = f.readline().strip()
    if not display:
        sys.exit("Xvfb did not start")
    return xvfb, ":" + display


def start_session_bus(env):
    """One session bus for every program, so none of them pays for starting its own."""
    if not shutil.which("dbus-daemon"):
        return None
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, env=env)
    env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
    return bus


def programs(build, only):
    reader = os.path.join(build, "app", "zelmora")
    widgets = os.path.join(build, "bench", "bench_peers_WidgetsWindow")
    found = {"reader": [reader], "widgets": [widgets]}
    for name, exe in PEERS.items():
        if shutil.which(exe):
            found[name] = [exe]
    for name, cmd in list(found.items()):
        if not os.access(cmd[0], os.X_OK) and not shutil.which(cmd[0]):
            print(f"skipping {name}: {cmd[0]} not found", file=sys.stderr)
            del found[name]
    if only:
        found = {k: v for k, v in found.items() if k in only}
    return found


def run_once(mapwatch, cmd, base_env):
    home = tempfile.mkdtemp(prefix="peer-home-")
    env = dict(base_env, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_HOME=os.path.join(home, ".local/share"), XDG_CACHE_HOME=os.path.join(home, ".cache"),
               XDG_STATE_HOME=os.path.join(home, ".local/state"))
    try:
        out = subprocess.run([mapwatch, str(MIN_W), str(MIN_H), str(SETTLE_MS), "--"] + cmd, env=env,
                             cwd=home, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                             timeout=SETTLE_MS / 1000 + 30).stdout
    finally:
        shutil.rmtree(home, ignore_errors=True)
    fields = dict(kv.split("=", 1) for kv in out.split())
    return float(fields.get("map_ms", -1)), int(fields.get("pss_kib", 0)) / 1024, int(fields.get("rss_kib", 0)) / 1024


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--rounds", type=int, default=7)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--only", default="", help="comma-separated: reader,widgets,quiterss,rssguard,liferea")
    ap.add_argument("--no-install", action="store_true")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--also", action="append", default=[], metavar="NAME=PROGRAM")
    args = ap.parse_args()
    if not args.no_install:
        install_peers()
    work = tempfile.mkdtemp(prefix="peers-")
    mapwatch = build_mapwatch(work)
    progs = programs(args.build, set(filter(None, args.only.split(","))))
    for extra in args.also:
        name, _, program = extra.partition("=")
        progs[name] = [program]
    xvfb, display = start_xvfb()
    env = {k: v for k, v in os.environ.items() if not k.startswith(("XDG_", "DBUS_", "WAYLAND_"))}
    env.update(DISPLAY=display, LC_ALL="C.UTF-8", NO_AT_BRIDGE="1")
    # As the run script sets them where there is no GPU; the peers' own web engines read them too.
    env.setdefault("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu")
    if os.geteuid() == 0:
        env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
    bus = start_session_bus(env)
    results = {name: [] for name in progs}
    rng = random.Random(args.seed)
    try:
        # One unmeasured run each, so every program starts from a warm page cache.
        for cmd in progs.values():
            run_once(mapwatch, cmd, env)
        for round_no in range(args.rounds):
            order = list(progs)
            rng.shuffle(order)
            for name in order:
                results[name].append(run_once(mapwatch, progs[name], env))
                time.sleep(0.3)
            print(f"round {round_no + 1}/{args.rounds} done", file=sys.stderr)
    finally:
        if bus:
            bus.terminate()
        xvfb.terminate()
        shutil.rmtree(work, ignore_errors=True)
    report(results)


def report(results):
    med = {}
    print(f"{'program':10} {'first window ms':>24} {'PSS MiB at 4 s':>16} {'RSS MiB':>9}  runs")
    for name, runs in results.items():
        maps = [m for m, _, _ in runs if m >= 0]
        pss = [p for _, p, _ in runs]
        rss = [r for _, _, r in runs]
        if not maps:
            print(f"{name:10} no big window mapped")
            continue
        med[name] = (statistics.median(maps), statistics.median(pss), statistics.median(rss))
        print(f"{name:10} {med[name][0]:8.1f} ({min(maps):6.1f}-{max(maps):6.1f}) {med[name][1]:16.1f} "
              f"{med[name][2]:9.1f}  {len(maps)}/{len(runs)}")
    if "reader" not in med:
        return
    r = med["reader"]
    peers = {k: v for k, v in med.items() if k in PEERS}
    if peers:
        fastest = min(peers, key=lambda k: peers[k][0])
        lightest = min(peers, key=lambda k: peers[k][1])
        print(f"first window: reader / fastest peer ({fastest}) = {r[0] / peers[fastest][0]:.2f}")
        print(f"idle memory:  reader / lightest peer ({lightest}) = {r[1] / peers[lightest][1]:.2f} (PSS)")
    if "widgets" in med:
        print(f"first window: reader / plain Widgets window = {r[0] / med['widgets'][0]:.2f}")
        print(f"idle memory:  reader / plain Widgets window = {r[1] / med['widgets'][1]:.2f} (PSS)")


if __name__ == "__main__":
    main()
