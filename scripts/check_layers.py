#!/usr/bin/env python3
"""Fails when a source file includes a header from a room it may not depend on.

The program's rooms depend downward only:
    app -> exercises, games -> reader -> book -> ui -> sound
Inside games, each game's folder may use games/common (and the result window), never another
game's folder.

The studio (studio/) sits beside the program and on top of the content tool: studio/model, the
book without widgets, may include the content tool's headers and, of the program's rooms, only
the headers the tool itself includes. Nothing in src/ or content/ includes the studio. (The
model's CMake target links Qt Core and Gui only, so a widget header does not even compile there.)
Run from anywhere; prints each offending include with its file and line.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')

# Room -> rooms whose headers it may include (besides its own).
PROGRAM_ALLOWED = {
    "sound": set(),
    "ui": {"sound"},
    "book": {"ui", "sound"},
    "reader": {"book", "ui", "sound"},
    "games": {"book", "ui", "sound"},
    "exercises": {"reader", "book", "ui", "sound"},
    "app": {"reader", "exercises", "games", "book", "ui", "sound"},
}


def room_of(path: pathlib.Path, top: pathlib.Path):
    parts = path.relative_to(top).parts
    return parts[0] if len(parts) > 1 else None


def check_program(errors):
    src = ROOT / "src"
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        room = room_of(path, src)
        allowed = PROGRAM_ALLOWED.get(room)
        if allowed is None:
            errors.append(f"{path.relative_to(ROOT)}: folder '{room}' is not in the room table")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match or "/" not in match.group(1):
                continue
            target = match.group(1).split("/")[0]
            if target == room or target in allowed:
                if room == "games" and target == "games":
                    check_game_folders(path, number, match.group(1), errors)
                continue
            if target in PROGRAM_ALLOWED:
                errors.append(f"{path.relative_to(ROOT)}:{number}: {room} may not include "
                              f"{match.group(1)} ({room} -> {target} goes against the layers)")


def check_game_folders(path, number, header, errors):
    own = path.relative_to(ROOT / "src" / "games").parts[0]
    target = header.split("/")[1]
    if target in (own, "common", "result"):
        return
    errors.append(f"{path.relative_to(ROOT)}:{number}: games/{own} may not include {header} "
                  f"(a game uses games/common, not another game)")


# Studio folder -> studio folders whose headers it may include (besides its own). The studio's
# headers are included from its root: "model/book_document.h".
STUDIO_ALLOWED = {
    "model": set(),
    "voice": set(),
    "editor": {"model", "voice"},
    "main": {"editor", "model", "voice"},
}


# Studio folder -> the program's rooms it may use besides what the content tool uses: the
# editor plays takes and lines through the program's own sound room.
STUDIO_PROGRAM_ROOMS = {
    "editor": {"sound"},
    "main": {"sound"},
}


def includes(path):
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        match = INCLUDE.match(line)
        if match and "/" in match.group(1):
            yield number, match.group(1)


def sources_under(top):
    return sorted(p for p in top.rglob("*") if p.suffix in (".h", ".cpp"))


def program_headers_of_tool():
    """The program's headers the content tool includes (its WAV reader, its book file)."""
    used = set()
    for path in sources_under(ROOT / "content" / "tool"):
        for _, header in includes(path):
            if header.split("/")[0] in PROGRAM_ALLOWED:
                used.add(header)
    return used


def check_studio(errors):
    tool_folders = {p.name for p in (ROOT / "content" / "tool").iterdir() if p.is_dir()}
    through_tool = program_headers_of_tool()
    studio = ROOT / "studio"
    for path in sources_under(studio):
        folder = room_of(path, studio)
        allowed = STUDIO_ALLOWED.get(folder)
        if allowed is None:
            errors.append(f"{path.relative_to(ROOT)}: studio folder '{folder}' is not in the "
                          f"studio table")
            continue
        for number, header in includes(path):
            target = header.split("/")[0]
            if target == folder or target in allowed or target in tool_folders:
                continue
            if header in through_tool or target in STUDIO_PROGRAM_ROOMS.get(folder, ()):
                continue
            where = f"{path.relative_to(ROOT)}:{number}"
            if target in PROGRAM_ALLOWED:
                errors.append(f"{where}: studio/{folder} may not include {header} (of the "
                              f"program's rooms only what the content tool uses: "
                              f"{', '.join(sorted(through_tool))})")
            elif target in STUDIO_ALLOWED:
                errors.append(f"{where}: studio/{folder} may not include {header} "
                              f"(studio/{folder} -> studio/{target} goes against the layers)")


def check_nothing_includes_studio(errors):
    for top in ("src", "content"):
        for path in sources_under(ROOT / top):
            for number, header in includes(path):
                if header.split("/")[0] in set(STUDIO_ALLOWED) | {"studio"}:
                    errors.append(f"{path.relative_to(ROOT)}:{number}: {top}/ may not include "
                                  f"{header} (the studio sits on top of the program and the "
                                  f"tool)")


def check_acyclic(table, name, errors):
    # The tables themselves must not let two rooms include each other, directly or round about.
    def reaches(start, goal, seen):
        for nxt in table.get(start, ()):
            if nxt == goal or (nxt not in seen and reaches(nxt, goal, seen | {nxt})):
                return True
        return False

    for room in table:
        if reaches(room, room, {room}):
            errors.append(f"{name}: room '{room}' can reach itself")


def main():
    errors = []
    check_acyclic(PROGRAM_ALLOWED, "program rooms", errors)
    check_acyclic(STUDIO_ALLOWED, "studio folders", errors)
    check_program(errors)
    check_studio(errors)
    check_nothing_includes_studio(errors)
    for error in errors:
        print(error)
    if errors:
        print(f"layering check: {len(errors)} include(s) against the room table")
        return 1
    print("layering check: every include follows the room table")
    return 0


if __name__ == "__main__":
    sys.exit(main())
