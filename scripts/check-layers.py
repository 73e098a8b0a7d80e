#!/usr/bin/env python3
"""Checks that the program's #include lines run one way through its layers, as the tree shows them:

    rank 0   shell/base/ (settings record, messages, geometry, platform table, monitor lookup, safe
             file replacement) and resources/
    rank 1   canvas/ and render/
    rank 2   session/
    rank 3   the rest of shell/ (entry, settings window, tray, launch)

A file may include its own rank and the ranks below it; the hook module only the base. It also fails
when modules (a .h with its .cpp) include each other in a circle. Prints every offending line as
file:line and exits 1; exits 0 with a one-line summary otherwise."""
import re
import sys
from pathlib import Path

# Folder, rank. The longest matching folder decides, so shell/base/ is below the rest of shell/.
LAYERS = [("shell/base", 0), ("resources", 0), ("canvas", 1), ("render", 1), ("session", 2), ("shell", 3),
          ("hook", 0)]
ONLY_BASE = {"hook"}  # folders that may include nothing but the base
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def module_of(path):
    return str(Path(path).with_suffix(""))


def folder_of(path):
    parent = str(Path(path).parent)
    matches = [f for f, _ in LAYERS if parent == f or parent.startswith(f + "/")]
    return max(matches, key=len) if matches else None


def main(root):
    root = Path(root)
    rank = dict(LAYERS)
    tops = sorted({f.split("/")[0] for f, _ in LAYERS})
    sources = [p for top in tops for p in sorted((root / top).rglob("*")) if p.suffix in (".h", ".cpp", ".rc")]
    problems = []
    edges = {}
    for path in sources:
        rel = str(path.relative_to(root))
        folder = folder_of(rel)
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            target = m.group(1)
            if "/" not in target:
                target = str(Path(rel).parent / target)
            target_folder = folder_of(target)
            if target_folder is None:
                continue
            if folder in ONLY_BASE:
                allowed = target_folder == folder or target_folder == "shell/base"
            else:
                allowed = target_folder not in ONLY_BASE and rank[target_folder] <= rank[folder]
            if not allowed:
                problems.append(f"{rel}:{number}: {folder}/ (rank {rank[folder]}) includes {target} "
                                f"({target_folder}/, rank {rank[target_folder]}), against the layers")
            if module_of(target) != module_of(rel):
                edges.setdefault(module_of(rel), {}).setdefault(module_of(target), f"{rel}:{number}")

    # Circles between modules: a depth-first search that reports each one by the lines that close it.
    state = {}
    stack = []

    def visit(module):
        state[module] = "open"
        stack.append(module)
        for nxt, where in sorted(edges.get(module, {}).items()):
            if state.get(nxt) == "open":
                circle = stack[stack.index(nxt):] + [nxt]
                lines = [edges[a][b] for a, b in zip(circle, circle[1:])]
                problems.append("circle: " + " -> ".join(circle) + " (" + ", ".join(lines) + ")")
            elif nxt not in state:
                visit(nxt)
        stack.pop()
        state[module] = "done"

    for module in sorted(edges):
        if module not in state:
            visit(module)

    for p in problems:
        print(p)
    if problems:
        print(f"layers: {len(problems)} problem(s)")
        return 1
    print(f"layers: {len(sources)} files, includes run one way, no circles")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent))
