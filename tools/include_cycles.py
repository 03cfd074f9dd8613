#!/usr/bin/env python3
"""Include circles among the files below a folder.

A header and its source file are one unit (a.h with a.cpp); a header the
build generates (a form's design) is in no unit. Unit A depends on unit B when a file of A includes a header of B.
Every strongly connected group of two or more units is one circle; the
script prints each with its units and the total.

Usage: include_cycles.py [FOLDER] [--root REPO]   (default app/forms)
"""
import argparse
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def unit_of(path):
    return os.path.splitext(path)[0]


def scan(root, folder):
    units, files = {}, {}
    top = os.path.join(root, folder)
    for dirpath, _, names in os.walk(top):
        for name in names:
            if not name.endswith((".h", ".cpp")):
                continue
            full = os.path.join(dirpath, name)
            rel = os.path.relpath(full, root)
            with open(full, encoding="utf-8", errors="replace") as f:
                text = f.read()
            deps = units.setdefault(unit_of(rel), set())
            files.setdefault(unit_of(rel), []).append(rel)
            for inc in INCLUDE.findall(text):
                if inc.startswith(folder.rstrip("/") + "/"):
                    deps.add(unit_of(inc))
    for deps in units.values():
        deps.intersection_update(units.keys())
    return units, files


def circles(graph):
    # Tarjan's strongly connected components, iterative.
    index, low, stack, on, out = {}, {}, [], set(), []
    counter = [0]
    for start in graph:
        if start in index:
            continue
        work = [(start, iter(sorted(graph.get(start, ()))))]
        index[start] = low[start] = counter[0]
        counter[0] += 1
        stack.append(start)
        on.add(start)
        while work:
            node, it = work[-1]
            advanced = False
            for nxt in it:
                if nxt not in graph:
                    continue
                if nxt not in index:
                    index[nxt] = low[nxt] = counter[0]
                    counter[0] += 1
                    stack.append(nxt)
                    on.add(nxt)
                    work.append((nxt, iter(sorted(graph.get(nxt, ())))))
                    advanced = True
                    break
                if nxt in on:
                    low[node] = min(low[node], index[nxt])
            if advanced:
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                group = []
                while True:
                    w = stack.pop()
                    on.discard(w)
                    group.append(w)
                    if w == node:
                        break
                if len(group) > 1:
                    out.append(sorted(group))
    return out


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder", nargs="?", default="app/forms")
    parser.add_argument("--root", default=".")
    args = parser.parse_args()
    graph, files = scan(args.root, args.folder)
    found = circles(graph)
    for group in sorted(found, key=len, reverse=True):
        print(f"circle of {len(group)} units:")
        for unit in group:
            print("  " + unit)
    units = sum(len(g) for g in found)
    count = sum(len(files[u]) for g in found for u in g)
    print(f"{len(found)} circles, {units} units ({count} files) in them")
    return 0


if __name__ == "__main__":
    sys.exit(main())
