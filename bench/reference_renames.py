#!/usr/bin/env python3
"""Reference renames on real version pairs, read from the change report.

For every consecutive pair of versions of a library in ../shared/data, runs graphmat on the
two mode-12 diagrams and checks that every reference class pair whose names differ
(ref_V1__V2.csv) appears in the change report as renamed, moved or moved-renamed with the
same before and after. Prints one row per pair and the misses.

Usage: bench/reference_renames.py [--build DIR] [--data DIR] LIBRARY...   (jsoup, jfreechart)
"""
import argparse
import glob
import json
import os
import subprocess
import sys
import tempfile
import time

WEIGHTS = ["-d", "1", "-g", "1", "-e", "1", "-y", "1", "-c", "0.5"]
NAME_CHANGES = {"renamed", "moved", "moved-renamed"}


def version_key(v):
    return [int(x) for x in v.split(".")]


def reference_renames(path):
    out = []
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines():
            parts = line.rstrip("\r").split(",")
            if len(parts) >= 4 and parts[2] != parts[3]:
                out.append((parts[2], parts[3]))
    return out


def check_pair(build, data, lib, v1, v2):
    with tempfile.TemporaryDirectory() as work:
        start = time.time()
        subprocess.run([os.path.join(build, "graphmat"),
                        "-o", os.path.join(data, f"{lib}-{v1}.txt"),
                        "-n", os.path.join(data, f"{lib}-{v2}.txt"), *WEIGHTS],
                       cwd=work, stdout=subprocess.DEVNULL, check=True)
        seconds = time.time() - start
        (path,) = glob.glob(os.path.join(work, "results", "*.changes.json"))
        with open(path, encoding="utf-8") as f:
            changes = json.load(f)
    found = {(e["before"][0], e["after"][0]): e["kind"] for e in changes["classes"]
             if e["kind"] in NAME_CHANGES}
    refs = reference_renames(os.path.join(data, f"ref_{v1}__{v2}.csv"))
    missed = [r for r in refs if r not in found]
    return refs, missed, found, seconds, changes["counts"]


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--build", default="build")
    ap.add_argument("--data", default=os.path.join("..", "shared", "data"))
    ap.add_argument("libraries", nargs="+")
    a = ap.parse_args()
    build = os.path.abspath(a.build)
    print(f"{'pair':<34} {'reference renames':>17} {'found':>5} {'name changes reported':>21} {'seconds':>7}")
    misses = 0
    for lib in a.libraries:
        data = os.path.abspath(os.path.join(a.data, lib))
        if not os.path.isdir(data):
            print(f"{data}: not found, skipped")
            continue
        versions = sorted((os.path.basename(p)[len(lib) + 1:-4]
                           for p in glob.glob(os.path.join(data, f"{lib}-*.txt"))
                           if not p.endswith(".k.txt")), key=version_key)
        for v1, v2 in zip(versions, versions[1:]):
            refs, missed, found, seconds, _ = check_pair(build, data, lib, v1, v2)
            print(f"{lib + ' ' + v1 + ' -> ' + v2:<34} {len(refs):>17} {len(refs) - len(missed):>5} "
                  f"{len(found):>21} {seconds:>7.1f}")
            for b, af in missed:
                print(f"    missed: {b} -> {af}")
            misses += len(missed)
    return 1 if misses else 0


if __name__ == "__main__":
    sys.exit(main())
