#!/usr/bin/env python3
"""Planted faults: does the suite notice a one-line slip in a rule?

Each fault in tools/planted-faults.txt (beside this script) names a file, a piece of one of its
lines (found exactly once in the file) and what it becomes. The script copies the tree as it is
on disk (tracked and new files, no build folders) into a private folder (/tmp/saroko-planted-
faults, or --work), builds it once, then for each fault in turn: changes that one line, builds
the test programs of the fault's area (ccache, nice, -j2), runs them as ctest would (with TZ set,
Asia/Tokyo; --zones both adds Europe/Berlin), and puts the line back. A fault whose programs
all pass went unnoticed; the list of those ends the output, and the exit status is 1 when there
are any. Your own worktree's files are never written.

Run by hand, not in CI (a full run takes half an hour and more on two cores):
  tools/planted-faults.py                 every fault
  tools/planted-faults.py --area chain    the faults of one area (repeatable)
  tools/planted-faults.py --only 3 17     faults by their number (as --list prints them)
  tools/planted-faults.py --rev HEAD~3    the suite of an older commit against today's faults
  tools/planted-faults.py --list          the faults with their numbers, nothing built
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DATA = Path(__file__).resolve().with_name("planted-faults.txt")
ZONES = {"one": ["Asia/Tokyo"], "both": ["Asia/Tokyo", "Europe/Berlin"]}
# Programs a test program runs, built with it.
HELPERS = {"test_cli": ["saroko-cli"], "test_integration": ["saroko-cli", "km41-sim"],
           "test_ui_app": ["saroko", "saroko-cli"]}


def parse(path):
    """Areas (name -> test programs) and faults ({n, area, file, find, repl, line})."""
    areas, faults, cur = {}, [], None
    for no, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw.rstrip("\n")
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("area "):
            name, _, progs = line[5:].partition(":")
            areas[name.strip()] = progs.split()
        elif line.startswith("["):
            area, _, file = line[1:].partition("]")
            cur = {"n": len(faults) + 1, "area": area.strip(), "file": file.strip(), "line": no}
            faults.append(cur)
        elif line.startswith("- ") and cur is not None:
            cur["find"] = line[2:]
        elif line.startswith("+ ") or line == "+":
            cur["repl"] = line[2:]
        else:
            sys.exit(f"{path}:{no}: not an area, a [area] file, a '- ' or a '+ ' line")
    for f in faults:
        if "find" not in f or "repl" not in f or f["area"] not in areas:
            sys.exit(f"{path}:{f['line']}: a fault needs a known area, a '- ' and a '+ ' line")
    return areas, faults


def copy_tree(dest, rev=None):
    """The worktree's files as they are on disk (or as commit `rev` has them); unchanged ones
    keep their time stamps, files the source does not have are removed."""
    if rev:
        names = subprocess.run(["git", "ls-tree", "-r", "-z", "--name-only", rev], cwd=ROOT,
                               check=True, capture_output=True).stdout
        blobs = {}
        with tempfile.TemporaryDirectory() as tmp:
            archive = subprocess.run(["git", "archive", rev], cwd=ROOT, check=True,
                                     capture_output=True).stdout
            subprocess.run(["tar", "-x", "-C", tmp], input=archive, check=True)
            for rel in filter(None, names.decode().split("\0")):
                f = Path(tmp) / rel
                if f.is_file() and not f.is_symlink():
                    blobs[rel] = (f.read_bytes(), f.stat().st_mode)
    else:
        names = subprocess.run(["git", "ls-files", "-z", "--cached", "--others",
                                "--exclude-standard"], cwd=ROOT, check=True,
                               capture_output=True).stdout
        blobs = {rel: ((ROOT / rel).read_bytes(), (ROOT / rel).stat().st_mode)
                 for rel in filter(None, names.decode().split("\0")) if (ROOT / rel).is_file()}
    for rel, (data, mode) in blobs.items():
        dst = dest / rel
        if dst.is_file() and dst.read_bytes() == data:
            continue
        dst.parent.mkdir(parents=True, exist_ok=True)
        dst.write_bytes(data)
        os.chmod(dst, mode & 0o777)
    for f in dest.rglob("*"):
        rel = f.relative_to(dest).as_posix()
        if f.is_file() and not rel.startswith("build/") and rel not in blobs:
            f.unlink()


def run(cmd, env=None, timeout=None, cwd=None):
    try:
        p = subprocess.run(cmd, env=env, timeout=timeout, cwd=cwd,
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        return p.returncode, p.stdout.decode(errors="replace")
    except subprocess.TimeoutExpired:
        return "timeout", ""


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--work", default="/tmp/saroko-planted-faults")
    ap.add_argument("--area", action="append", default=[])
    ap.add_argument("--only", nargs="+", type=int, default=[])
    ap.add_argument("--zones", choices=ZONES, default="one")
    ap.add_argument("--rev", help="test the tree of this commit instead of the files on disk")
    ap.add_argument("--list", action="store_true")
    args = ap.parse_args()
    areas, faults = parse(DATA)
    chosen = [f for f in faults if (not args.area or f["area"] in args.area)
              and (not args.only or f["n"] in args.only)]
    if args.list:
        for f in faults:
            print(f"{f['n']:3}  [{f['area']}] {f['file']}: {f['find'].strip()}  ->  {f['repl'].strip()}")
        return 0

    work = Path(args.work)
    tree, build = work / "tree", work / "tree" / "build" / "release"
    copy_tree(tree, args.rev)
    # The copy's paths relative to its build folder are the worktree's: ccache shares objects.
    env = dict(os.environ, CMAKE_CXX_COMPILER_LAUNCHER="ccache",
               CMAKE_C_COMPILER_LAUNCHER="ccache", CCACHE_BASEDIR=str(tree))
    if not (build / "build.ninja").exists():
        rc, log = run(["cmake", "-S", str(tree), "-B", str(build), "-G", "Ninja",
                       "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DSAROKO_WERROR=ON"], env=env)
        if rc != 0:
            sys.exit("configure failed:\n" + log)

    def build_for(progs):
        progs = [p.partition("=")[0] for p in progs]
        targets = list(dict.fromkeys(progs + [h for p in progs for h in HELPERS.get(p, [])]))
        return run(["nice", "-n", "10", "cmake", "--build", str(build), "-j2", "--target"] + targets,
                   env=env)

    def tests_pass(progs):
        """None when every program passes, else what failed first."""
        for entry in progs:
            prog, _, only = entry.partition("=")
            for tz in ZONES[args.zones]:
                rc, log = run(["nice", "-n", "10", str(build / "bin" / prog), "--gtest_brief=1"]
                              + (["--gtest_filter=" + only] if only else []),
                              env=dict(os.environ, TZ=tz), timeout=300, cwd=str(build))
                if rc != 0:
                    failed = [l.split("] ", 1)[1].split(" (")[0] for l in log.splitlines()
                              if l.startswith("[  FAILED  ]") and "] " in l and "," not in l]
                    return f"{prog} ({tz}): " + (failed[0] if failed else str(rc))
        return None

    needed = sorted({p.partition("=")[0] for f in chosen for p in areas[f["area"]]})
    rc, log = build_for(needed)
    if rc != 0:
        sys.exit("the unchanged copy does not build:\n" + log[-4000:])
    for prog in needed:
        if (why := tests_pass([prog])) is not None:
            sys.exit(f"the unchanged copy fails its tests: {why}")

    unnoticed, broken = [], []
    for f in chosen:
        path = tree / f["file"]
        text = path.read_text(encoding="utf-8")
        if text.count(f["find"]) != 1:
            broken.append(f)
            print(f"{f['n']:3} [{f['area']}] {f['file']}: the piece is found "
                  f"{text.count(f['find'])} times, not once", flush=True)
            continue
        t0 = time.monotonic()
        path.write_text(text.replace(f["find"], f["repl"]), encoding="utf-8")
        try:
            rc, log = build_for(areas[f["area"]])
            if rc != 0:
                broken.append(f)
                verdict = "does not build"
            else:
                why = tests_pass(areas[f["area"]])
                verdict = "noticed: " + why if why else "UNNOTICED"
                if not why:
                    unnoticed.append(f)
        finally:
            path.write_text(text, encoding="utf-8")
        print(f"{f['n']:3} [{f['area']}] {f['file']}: {verdict} ({time.monotonic() - t0:.0f} s)",
              flush=True)
    build_for(needed) # the copy back as it was, for the next run

    print(f"\n{len(chosen)} faults, {len(chosen) - len(unnoticed) - len(broken)} noticed, "
          f"{len(unnoticed)} unnoticed, {len(broken)} not applied or not building")
    for f in unnoticed:
        print(f"  unnoticed {f['n']:3} [{f['area']}] {f['file']}: {f['find'].strip()}  ->  "
              f"{f['repl'].strip()}")
    for f in broken:
        print(f"  not tried {f['n']:3} [{f['area']}] {f['file']}: {f['find'].strip()}")
    return 1 if unnoticed or broken else 0


if __name__ == "__main__":
    sys.exit(main())
