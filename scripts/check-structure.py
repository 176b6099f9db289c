#!/usr/bin/env python3
"""Checks the house's structure: the includes of src/ form no circle, neither between files nor
between folders (config, framework, engine, controls, ui, app); every folder uses only the folders
below it; and nothing under src/, scripts/ or bench/ takes code from the tests' own folders
(tests/e2e, tests/unit). Prints what it finds wrong and ends with 1, else ends with 0.

    scripts/check-structure.py [REPOSITORY]
"""

import os
import re
import sys

# Who may use whom: each folder uses only the folders listed for it.
ALLOWED = {
    "config": set(),
    "framework": {"config"},
    "engine": {"config"},
    "controls": {"framework", "config"},
    "ui": {"engine", "controls", "framework", "config"},
    "app": {"ui", "engine", "controls", "framework", "config"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
PYTHON_IMPORT = re.compile(r"tests[/\\.](e2e|unit)|sys\.path.*\b(e2e|unit)\b")


def sources(top):
    for folder, _, names in os.walk(top):
        for name in sorted(names):
            if name.endswith((".h", ".cpp")):
                yield os.path.join(folder, name)


def include_graph(src):
    """{file: [files it includes]}, paths relative to src, for includes of src's own files."""
    graph = {}
    for path in sources(src):
        relative = os.path.relpath(path, src).replace(os.sep, "/")
        with open(path, encoding="utf-8") as handle:
            text = handle.read()
        graph[relative] = [name for name in INCLUDE.findall(text)
                           if os.path.exists(os.path.join(src, name))]
    return graph


def find_cycle(graph):
    """One circle of the graph as a list of its nodes, or None."""
    state = {}
    stack = []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for target in graph.get(node, ()):
            if state.get(target) == "open":
                return stack[stack.index(target):] + [target]
            if target not in state:
                found = visit(target)
                if found:
                    return found
        stack.pop()
        state[node] = "done"
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node)
            if found:
                return found
    return None


def folder_of(path):
    return path.split("/", 1)[0]


def main(argv):
    top = os.path.abspath(argv[1] if len(argv) > 1 else
                          os.path.join(os.path.dirname(__file__), ".."))
    src = os.path.join(top, "src")
    problems = []

    graph = include_graph(src)
    cycle = find_cycle(graph)
    if cycle:
        problems.append("files include each other in a circle: " + " -> ".join(cycle))
    folders = {}
    for path, targets in graph.items():
        for target in targets:
            if folder_of(target) != folder_of(path):
                folders.setdefault(folder_of(path), set()).add(folder_of(target))
    cycle = find_cycle({folder: sorted(targets) for folder, targets in folders.items()})
    if cycle:
        problems.append("folders use each other in a circle: " + " -> ".join(cycle))
    for path, targets in sorted(graph.items()):
        for target in targets:
            user, used = folder_of(path), folder_of(target)
            if used != user and used not in ALLOWED.get(user, set()):
                problems.append("%s includes %s: %s may not use %s" % (path, target, user, used))

    for area in ("src", "scripts", "bench"):
        for folder, _, names in os.walk(os.path.join(top, area)):
            for name in sorted(names):
                if not name.endswith((".py", ".sh", ".h", ".cpp", ".txt")):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8", errors="replace") as handle:
                    for number, line in enumerate(handle, 1):
                        if ("import" in line or "sys.path" in line or "#include" in line) and \
                                PYTHON_IMPORT.search(line):
                            problems.append("%s:%d takes code from the tests: %s" % (
                                os.path.relpath(path, top), number, line.strip()))

    for problem in problems:
        print(problem)
    if not problems:
        print("structure: %d files of src, no circle, every folder uses only the ones below it,"
              " nothing taken from the tests" % len(graph))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
