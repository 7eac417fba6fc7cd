#!/usr/bin/env python3
"""Planted-change benchmark of the change report.

Takes a real class diagram (reader mode 12), plants renames, package moves, splits (half of a
class's members go to a new class), merges and member churn into a copy with shuffled node
numbers, records what was planted, matches the original against the copy with graphmat and
scores the change report it writes: precision and recall per kind, and how many untouched
classes were reported as changed.

Usage: bench/planted_changes.py [--build DIR] [--count N] [--seed S] DIAGRAM...
"""
import argparse
import json
import os
import random
import subprocess
import sys
import tempfile
import time

WEIGHTS = ["-d", "1", "-g", "1", "-e", "1", "-y", "1", "-c", "0.5"]
SUFFIXES = ["Impl", "Support", "Helper", "Base", "Core", "Util"]
KINDS = ["renamed", "moved", "split", "merged"]


class Diagram:
    """A mode-12 diagram: nodes (kind, text, extra fields) and arcs (source, target, label,
    extra fields), with containment read from the label-9 arcs."""

    def __init__(self, path):
        self.nodes = []  # [kind, text, tail]
        self.arcs = []   # [source, target, label, tail]
        with open(path, encoding="utf-8", errors="surrogateescape") as f:
            for line in f.read().splitlines()[1:]:
                line = line.rstrip("\r")
                kind = line[:2]
                if kind in ("p,", "c,"):
                    parts = line.split(",", 3)
                    self.nodes.append([kind[0], parts[2], parts[3] if len(parts) > 3 else None])
                elif kind in ("m,", "a,"):
                    parts = line.split(",", 2)
                    self.nodes.append([kind[0], parts[2], None])
                elif kind == "r,":
                    parts = line.split(",", 4)
                    self.arcs.append([int(parts[1]), int(parts[2]), parts[3],
                                      parts[4] if len(parts) > 4 else None])
        self.alive = [True] * len(self.nodes)
        self.parent = {}
        for s, t, label, _ in self.arcs:
            if label == "9":
                self.parent[t] = s

    def classes(self):
        return [i for i, n in enumerate(self.nodes) if n[0] == "c" and self.alive[i]]

    def packages(self):
        return [i for i, n in enumerate(self.nodes) if n[0] == "p" and n[1] != "."]

    def members(self, c):
        return [i for i, n in enumerate(self.nodes)
                if n[0] in "ma" and self.alive[i] and self.parent.get(i) == c]

    def add_node(self, kind, text, parent):
        self.nodes.append([kind, text, None])
        self.alive.append(True)
        i = len(self.nodes) - 1
        self.set_parent(i, parent)
        return i

    def set_parent(self, i, parent):
        self.arcs = [a for a in self.arcs if not (a[2] == "9" and a[1] == i)]
        self.arcs.append([parent, i, "9", None])
        self.parent[i] = parent

    def write(self, path, rng):
        # The root package stays node 0 (the reader names packages from it); the rest is
        # shuffled so that node numbers say nothing about the correspondence.
        keep = [i for i in range(len(self.nodes)) if self.alive[i]]
        rest = [i for i in keep if i != 0]
        rng.shuffle(rest)
        order = [0] + rest
        number = {old: new for new, old in enumerate(order)}
        arcs = [a for a in self.arcs if a[0] in number and a[1] in number]
        with open(path, "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write(f"{len(order)},{len(arcs)}\n")
            for old in order:
                kind, text, tail = self.nodes[old]
                f.write(f"{kind},{number[old]},{text}" + (f",{tail}" if tail else "") + "\n")
            for s, t, label, tail in arcs:
                f.write(f"r,{number[s]},{number[t]},{label}" + (f",{tail}" if tail else "") + "\n")


def method_parts(sig):
    parts = sig.split("@")
    return (["", *parts] if len(parts) == 3 else parts)


def retype(d, old, new):
    """Every member type written as the qualified name `old` becomes `new`."""
    for n in d.nodes:
        if n[0] == "m":
            p = method_parts(n[1])
            p[1] = new if p[1] == old else p[1]
            params = p[3][1:-1].split(",") if len(p[3]) > 2 else []
            p[3] = "(" + ",".join(new if x == old else x for x in params) + ")"
            n[1] = "@".join(p)
        elif n[0] == "a":
            p = n[1].split("@")
            if p[-2] == old:
                p[-2] = new
                n[1] = "@".join(p)


def plant(d, count, rng):
    """Plants `count` changes of each kind; returns the truth."""
    labels = {d.nodes[c][1] for c in d.classes()}
    pkg_of = {c: d.parent.get(c) for c in d.classes()}
    # Top-level classes without nested classes, so that a new name touches no other class.
    def top_level(c):
        label = d.nodes[c][1]
        p = pkg_of[c]
        return (p is not None and d.nodes[p][0] == "p" and
                "." not in label[len(d.nodes[p][1]) + 1:] and
                not any(x.startswith(label + ".") for x in labels))
    pool = [c for c in d.classes() if top_level(c) and len(d.members(c)) >= 2]
    rng.shuffle(pool)
    d.pool_size = len(pool)
    used = set()

    def take(n, cond=lambda c: True):
        out = [c for c in pool if c not in used and cond(c)][:n]
        used.update(out)
        return out

    truth = {k: [] for k in KINDS}
    truth["churn"] = []

    def rename(c, label):
        retype(d, d.nodes[c][1], label)
        labels.discard(d.nodes[c][1])
        labels.add(label)
        d.nodes[c][1] = label

    for c in take(count):
        old = d.nodes[c][1]
        new = old + rng.choice(SUFFIXES)
        if new in labels:
            continue
        rename(c, new)
        truth["renamed"].append([[old], [new]])
    packages = d.packages()
    for c in take(count):
        old = d.nodes[c][1]
        simple = old.rsplit(".", 1)[1]
        targets = [p for p in packages if p != pkg_of[c] and d.nodes[p][1] + "." + simple not in labels]
        if not targets:
            continue
        p = rng.choice(targets)
        new = d.nodes[p][1] + "." + simple
        rename(c, new)
        d.set_parent(c, p)
        truth["moved"].append([[old], [new]])
    for c in take(count, lambda c: len(d.members(c)) >= 6):
        label = d.nodes[c][1]
        part = label + "Part"
        if part in labels:
            continue
        labels.add(part)
        n = d.add_node("c", part, pkg_of[c])
        members = d.members(c)
        for m in members[len(members) // 2:]:
            d.set_parent(m, n)
        truth["split"].append([[label], sorted([label, part])])
    for _ in range(count):
        m = next(iter(take(1)), None)
        # The absorbed class comes from the same package where one is left, else any.
        others = sorted((c for c in pool if c not in used), key=lambda c: pkg_of[c] != pkg_of[m])
        if m is None or not others:
            break
        g = others[0]
        used.add(g)
        for x in d.members(g):
            d.set_parent(x, m)
        d.alive[g] = False
        truth["merged"].append([sorted([d.nodes[m][1], d.nodes[g][1]]), [d.nodes[m][1]]])
    for c in take(count, lambda c: len(d.members(c)) >= 3):
        methods = [x for x in d.members(c) if d.nodes[x][0] == "m"]
        if len(methods) < 2:
            continue
        d.alive[methods[0]] = False
        p = method_parts(d.nodes[methods[1]][1])
        p[3] = "(" + (p[3][1:-1] + "," if len(p[3]) > 2 else "") + "int)"
        d.nodes[methods[1]][1] = "@".join(p)
        d.add_node("m", "public@void@plantedMember@()", c)
        truth["churn"].append(d.nodes[c][1])
    return truth


def entry_key(e):
    return [sorted(e["before"]), sorted(e["after"])]


def score(truth, changes, untouched):
    rows = []
    reported = {k: [entry_key(e) for e in changes["classes"] if e["kind"] == k] for k in KINDS}
    # A move may also be reported as a rename the other way round when the simple names
    # coincide; renamed and moved are scored on their own kinds, as the targets ask.
    for k in KINDS:
        want = truth[k]
        got = reported[k]
        tp = sum(1 for x in got if x in want)
        found = sum(1 for x in want if x in got)
        p = tp / len(got) if got else 1.0
        r = found / len(want) if want else 1.0
        rows.append((k, len(want), len(got), p, r))
    kind_of = {}
    for e in changes["classes"]:
        for name in e["before"]:
            kind_of[name] = e["kind"]
    wrong = sorted(f"{n} ({kind_of.get(n)})" for n in untouched if kind_of.get(n) != "unchanged")
    return rows, wrong


def run_pair(build, original, planted, work):
    start = time.time()
    subprocess.run([os.path.join(build, "graphmat"), "-o", original, "-n", planted, *WEIGHTS],
                   cwd=work, stdout=subprocess.DEVNULL, check=True)
    seconds = time.time() - start
    results = os.path.join(work, "results")
    name = [f for f in os.listdir(results) if f.endswith(".changes.json")][0]
    with open(os.path.join(results, name), encoding="utf-8") as f:
        return json.load(f), seconds


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--build", default="build")
    ap.add_argument("--count", type=int, default=10, help="changes planted per kind")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--keep", help="keep the planted diagrams, truths and results in this folder")
    ap.add_argument("diagrams", nargs="+")
    a = ap.parse_args()
    build = os.path.abspath(a.build)
    print(f"{'diagram':<22} {'kind':<9} {'planted':>7} {'reported':>8} {'precision':>9} {'recall':>7}")
    failed = False
    for path in a.diagrams:
        if not os.path.exists(path):
            print(f"{path}: not found, skipped")
            continue
        rng = random.Random(a.seed)
        d = Diagram(path)
        before = {d.nodes[c][1]: sorted(d.nodes[m][1] for m in d.members(c)) for c in d.classes()}
        truth = plant(d, a.count, rng)
        after = {d.nodes[c][1]: sorted(d.nodes[m][1] for m in d.members(c)) for c in d.classes()}
        touched = set(truth["churn"])
        for k in KINDS:
            for b, af in truth[k]:
                touched.update(b + af)
        untouched = [n for n in before if n not in touched and after.get(n) == before[n]]
        with tempfile.TemporaryDirectory() as scratch:
            name = os.path.basename(path).rsplit(".", 1)[0]
            work = os.path.join(os.path.abspath(a.keep), name) if a.keep else scratch
            os.makedirs(work, exist_ok=True)
            planted = os.path.join(work, name + "-planted.txt")
            d.write(planted, rng)
            with open(os.path.join(work, "truth.json"), "w") as f:
                json.dump(truth, f)
            changes, seconds = run_pair(build, os.path.abspath(path), planted, work)
        rows, wrong = score(truth, changes, untouched)
        for k, n, got, p, r in rows:
            print(f"{name:<22} {k:<9} {n:>7} {got:>8} {p:>9.2f} {r:>7.2f}")
            failed |= p < 0.95 or r < 0.95
        print(f"{name:<22} {d.pool_size} classes could take a change; untouched classes "
              f"{len(untouched)}, reported as changed {len(wrong)}"
              f"{': ' + ', '.join(wrong[:5]) if wrong else ''}; matcher {seconds:.1f} s")
        failed |= bool(wrong)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
