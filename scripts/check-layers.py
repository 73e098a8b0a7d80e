#!/usr/bin/env python3
"""Checks that the program's #include lines run one way through its layers:

    base       shell/ settings record, messages, geometry, default palette, monitor lookup, platform,
               safe file replacement
    resources  resources/
    drawing    canvas/ and render/
    session    session/
    top        the rest of shell/ (entry, settings window, tray, launch, files)

A file may include its own layer and the layers below it; the hook module only the base. It also
fails when modules (a .h with its .cpp) include each other in a circle. Prints every offending line
as file:line and exits 1; exits 0 with a one-line summary otherwise."""
import re
import sys
from pathlib import Path

BASE = {"shell/settings", "shell/messages", "shell/geometry", "shell/default_palette", "shell/monitor",
        "shell/platform", "shell/safe_file"}
RANK = {"base": 0, "resources": 0, "drawing": 1, "session": 2, "top": 3, "hook": 0}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def module_of(path):
    return str(Path(path).with_suffix(""))


def layer_of(path):
    module = module_of(path)
    top = module.split("/")[0]
    if module in BASE:
        return "base"
    return {"resources": "resources", "canvas": "drawing", "render": "drawing", "session": "session",
            "shell": "top", "hook": "hook"}.get(top)


def main(root):
    root = Path(root)
    sources = [p for p in sorted(root.glob("*/*")) if p.suffix in (".h", ".cpp", ".rc")
               and layer_of(str(p.relative_to(root)))]
    problems = []
    edges = {}
    for path in sources:
        rel = str(path.relative_to(root))
        layer = layer_of(rel)
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            target = m.group(1)
            if "/" not in target:
                target = str(Path(rel).parent / target)
            target_layer = layer_of(target)
            if target_layer is None:
                continue
            allowed = (target_layer == "base") if layer == "hook" else RANK[target_layer] <= RANK[layer]
            if target_layer == "hook" and layer != "hook":
                allowed = False
            if not allowed:
                problems.append(f"{rel}:{number}: {layer} includes {target} ({target_layer}), against the layers")
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
