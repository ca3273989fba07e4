#!/usr/bin/env bash
# Start-up of vorlith.exe under Wine against a bare Win32 window, in one run:
# launch to first painted frame (median of interleaved runs, after warm-up
# runs), peak resident memory, and the size of each program.
#
# Each run spawns `wine64 PROGRAM.exe` from a warm Wine (its wineserver and
# virtual desktop already up, as on a desktop where Windows is running),
# takes the clock before the spawn and when the program's "painted" line
# arrives (bench/win32/first_paint.h), and reads the process's peak
# resident memory (ru_maxrss, the whole Wine process) when it exits. Starts
# its own Xvfb (-noreset) when there is no DISPLAY, and a fresh Wine prefix.
#
# usage: startup.sh BUILD_DIR [RUNS]     (BUILD_DIR: a Windows build with
#                                        VORLITH_BUILD_BENCH=ON)
set -euo pipefail
build=$(realpath "$1")
runs=${2:-20}
cd "$(dirname "$0")/../.."
source scripts/lib/wine.sh
source scripts/lib/xsession.sh

trap 'wine_end; xsession_end' EXIT
[ -n "${DISPLAY:-}" ] || xsession_start
# Its wineserver and virtual desktop stay up between the runs.
wine_prefix x11

python3 - "$wine" "$runs" "$build/bench/win32/vorlith_first_paint.exe" \
    "$build/bench/win32/vorlith_bare_window.exe" "$build/app/vorlith.exe" <<'PY'
import os, statistics, subprocess, sys, time

wine, runs, vorlith, bare, exe = sys.argv[1], int(sys.argv[2]), *sys.argv[3:]

def run(program):
    start = time.monotonic_ns()
    child = subprocess.Popen([wine, program], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    line = child.stdout.readline()
    painted = time.monotonic_ns()
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = 0
    if line.strip() != b"painted" or status != 0:
        sys.exit(f"startup: {program} did not report its first frame ({line!r}, status {status})")
    return (painted - start) / 1e6, usage.ru_maxrss

programs = {"vorlith.exe": vorlith, "bare window": bare}
times = {name: [] for name in programs}
memory = {name: [] for name in programs}
for _ in range(3):  # warm-up: Wine's DLLs in the page cache
    for program in programs.values():
        run(program)
for _ in range(runs):
    for name, program in programs.items():
        ms, rss = run(program)
        times[name].append(ms)
        memory[name].append(rss)
med = {name: statistics.median(values) for name, values in times.items()}
rss = {name: statistics.median(values) for name, values in memory.items()}
print(f"{'program':<14}{'first paint (median of ' + str(runs) + ')':>30}{'peak RSS':>14}")
for name in programs:
    print(f"{name:<14}{med[name]:>25.1f} ms{rss[name] / 1024:>11.1f} MB")
print(f"ratio vorlith.exe / bare window: time {med['vorlith.exe'] / med['bare window']:.2f}, "
      f"memory {rss['vorlith.exe'] / rss['bare window']:.2f}")
print(f"vorlith.exe: {os.path.getsize(exe)} bytes as built")
PY
