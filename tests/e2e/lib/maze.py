#!/usr/bin/python3
"""Finds the wall grid a new maze prints to standard output.

  size LOG OFFSET   print "ROWS WIDTH" of the first complete wall grid (lines
                    of '#' and spaces) that starts after byte OFFSET of LOG;
                    exit 1 when no complete grid has been printed there yet
"""
import re
import sys

GRID_LINE = re.compile(r"^[# ]+$")


def first_grid(lines):
    rows = []
    for line in lines:
        if GRID_LINE.match(line) and "#" in line:
            rows.append(line)
        elif rows:
            return rows
    return None  # none yet, or still being printed


def grid_after(log, offset):
    with open(log, "rb") as f:
        f.seek(max(offset - 1, 0))
        text = f.read().decode("utf-8", "replace")
    lines = text.split("\n")
    # Unless OFFSET starts a line, the first piece ends a line printed before.
    return first_grid(lines if offset == 0 else lines[1:])


def main(argv):
    if len(argv) != 4 or argv[1] != "size":
        print(__doc__)
        return 2
    rows = grid_after(argv[2], int(argv[3]))
    if rows is None:
        return 1
    print(len(rows), max(len(r) for r in rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
