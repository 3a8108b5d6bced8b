#!/usr/bin/env python3
"""Checks every #include under src/ against the layer table below.

A file in folder F may include its own folder's headers and those of the folders that the
table lists for F; anything else (an include that points up a layer or sideways where the
table allows none) is reported with its file and line. The core folders must not include Qt.
Exit status 0 when every edge is allowed, 1 otherwise.

Usage: check_layers.py SRC_DIR
"""

import pathlib
import re
import sys

# Layer by layer, bottom first: each folder and the folders it may include.
GROUND = {"logmath": set(), "progress": set(), "code": {"logmath"}}
BASE = {"logmath", "progress", "code"}
LAYERS = dict(GROUND)
LAYERS["interleavers"] = BASE
ENUMERATION = BASE | {"interleavers"}
LAYERS["enumerators"] = ENUMERATION
LAYERS["turbo"] = ENUMERATION | {"enumerators"}
LAYERS["distance"] = ENUMERATION | {"enumerators", "turbo"}
LAYERS["decoding"] = ENUMERATION | {"enumerators", "turbo"}
LAYERS["simulation"] = ENUMERATION | {"enumerators", "turbo", "decoding", "distance"}
LAYERS["bounds"] = BASE
LAYERS["report"] = ENUMERATION | {"enumerators", "turbo", "distance", "decoding",
                                  "simulation", "bounds"}
CORE = set(LAYERS)
LAYERS["run"] = CORE
CORE.add("run")
# The Qt pictures read what the run produced; the front ends sit on top of everything.
LAYERS["plot"] = CORE
LAYERS["cli"] = CORE | {"plot"}
LAYERS["ui"] = CORE | {"plot"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^Q[A-Za-z]*(/|$)|^Qt")


def violations(src: pathlib.Path):
    """Yields one line of text per include that breaks the table."""
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        folder = path.relative_to(src).parts[0]
        if folder not in LAYERS:
            yield f"{path}: folder '{folder}' has no row in the layer table"
            continue
        allowed = LAYERS[folder] | {folder}
        text = path.read_text(encoding="utf-8", errors="replace")
        for number, line in enumerate(text.splitlines(), start=1):
            match = INCLUDE.match(line)
            if not match:
                continue
            quote, target = match.groups()
            if quote == "<":
                if folder in CORE and QT_HEADER.match(target):
                    yield f"{path}:{number}: the core includes Qt <{target}>"
                continue
            parts = target.split("/")
            if len(parts) < 2 or not (src / parts[0]).is_dir():
                continue  # a header beside the file, or a generated one
            if parts[0] not in allowed:
                yield f"{path}:{number}: {folder}/ includes {target} ({parts[0]}/ is not below it)"


def main() -> int:
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    found = list(violations(pathlib.Path(sys.argv[1])))
    for line in found:
        print(line)
    print(f"{len(found)} include(s) against the layer table")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
