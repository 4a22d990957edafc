#!/usr/bin/env python3
"""Writes CellWidthTable.inc beside this script: the code points that take no cell or two.

The editor's grid gives every character the cells its Unicode properties give it:
  - none for the combining marks (general categories Mn and Me, which include the variation
    selectors) and the zero-width joiner and non-joiner: they are drawn with the character
    before them;
  - two for the East Asian wide and fullwidth characters (East_Asian_Width W and F, which
    include the emoji shown as pictures and the unassigned code points of the ideograph blocks);
  - one for everything else.
A mark that is also wide (the ideographic tone marks) takes none.

Reads the Unicode data files of Debian's unicode-data package (or the folder given as the
first argument) and records their version in the table. Run it again when the Unicode data
changes; the build uses the committed table.
"""

import os
import re
import sys

JOINERS = [(0x200C, 0x200D)]  # zero-width non-joiner and joiner
RANGE = re.compile(r"^([0-9A-F]+)(?:\.\.([0-9A-F]+))?\s*;\s*(\w+)")
MISSING = re.compile(r"^#\s*@missing:\s*([0-9A-F]+)\.\.([0-9A-F]+)\s*;\s*(\w+)")


def read_ranges(path, values, with_missing=False):
    """The ranges of the file whose property value is one of values, in file order."""
    ranges = []
    with open(path, encoding="utf-8") as data:
        for line in data:
            match = RANGE.match(line)
            if not match and with_missing:
                match = MISSING.match(line)
            if match and match.group(3) in values:
                first = int(match.group(1), 16)
                last = int(match.group(2), 16) if match.group(2) else first
                ranges.append((first, last))
    return ranges


def version_of(path):
    with open(path, encoding="utf-8") as data:
        match = re.search(r"-(\d+\.\d+\.\d+)\.txt", data.readline())
    return match.group(1) if match else "unknown"


def merged(ranges):
    result = []
    for first, last in sorted(ranges):
        if result and first <= result[-1][1] + 1:
            result[-1] = (result[-1][0], max(result[-1][1], last))
        else:
            result.append((first, last))
    return result


def without(ranges, removed):
    """ranges less every code point of removed (both merged)."""
    result = []
    for first, last in ranges:
        for cut_first, cut_last in removed:
            if cut_last < first or cut_first > last:
                continue
            if cut_first > first:
                result.append((first, cut_first - 1))
            first = cut_last + 1
            if first > last:
                break
        if first <= last:
            result.append((first, last))
    return result


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/unicode"
    categories = os.path.join(folder, "extracted", "DerivedGeneralCategory.txt")
    widths = os.path.join(folder, "extracted", "DerivedEastAsianWidth.txt")
    zero = merged(read_ranges(categories, {"Mn", "Me"}) + JOINERS)
    # The blocks whose unassigned code points default to wide come first, as @missing lines;
    # the explicit lines that follow give every assigned code point its own value.
    wide_values = {"W", "F", "Wide", "Fullwidth"}
    wide = merged(read_ranges(widths, wide_values, with_missing=True))
    narrow = merged(read_ranges(widths, {"N", "Na", "A", "H"}))
    wide = without(merged(without(wide, narrow)), zero)
    version = version_of(widths)

    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "CellWidthTable.inc")
    with open(out, "w", encoding="ascii") as table:
        table.write("// Code points that take no cell or two, from the Unicode %s data files;\n" % version)
        table.write("// written by make_cell_widths.py beside this file (do not edit by hand).\n")
        table.write("constexpr const char* cellWidthUnicodeVersion = \"%s\";\n" % version)
        for name, ranges in (("zeroCellRanges", zero), ("twoCellRanges", wide)):
            table.write("constexpr CodePointRange %s[] = {\n" % name)
            for first, last in ranges:
                table.write("    {0x%04X, 0x%04X},\n" % (first, last))
            table.write("};\n")
    print("%s: %d ranges of no cell, %d of two (Unicode %s)" % (out, len(zero), len(wide), version))


if __name__ == "__main__":
    main()
