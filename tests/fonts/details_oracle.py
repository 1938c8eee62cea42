#!/usr/bin/env python3
"""Checks `letterwell-cli info --details` against fontTools on every sfnt file
of the machine (each face of a collection on its own).

usage: details_oracle.py LETTERWELL_CLI [FONT_FOLDER]

Compared per face: the glyph count, the number of code points the best
Unicode cmap maps, fsType, the GSUB/GPOS feature and script tags, and the
variation axes and named instances. Exits 77 (skipped) without fontTools.
"""
import json
import math
import os
import subprocess
import sys

try:
    from fontTools.ttLib import TTCollection, TTFont
except ImportError:
    print("fontTools is not installed (python3-fonttools): skipped")
    sys.exit(77)

SFNT_SIGNATURES = {b"\x00\x01\x00\x00", b"OTTO", b"true", b"ttcf"}


def sfnt_files(root):
    for folder, _, names in os.walk(root):
        for name in sorted(names):
            path = os.path.join(folder, name)
            try:
                with open(path, "rb") as f:
                    if f.read(4) in SFNT_SIGNATURES:
                        yield path
            except OSError:
                pass


def faces(path):
    with open(path, "rb") as f:
        collection = f.read(4) == b"ttcf"
    if collection:
        return list(TTCollection(path, lazy=True).fonts)
    return [TTFont(path, lazy=True)]


def layout_tags(font):
    features, scripts = set(), set()
    for tag in ("GSUB", "GPOS"):
        if tag not in font:
            continue
        table = font[tag].table
        if table.FeatureList:
            features.update(r.FeatureTag for r in table.FeatureList.FeatureRecord)
        if table.ScriptList:
            scripts.update(r.ScriptTag for r in table.ScriptList.ScriptRecord)
    return sorted(features), sorted(scripts)


def mapped_code_points(font):
    # fontTools keeps the codes a subtable sends to glyph 0 (.notdef); such a
    # code shows the missing-glyph box, so the details do not count it.
    # fontTools drops a format 4 subtable's last segment whole, the details
    # only U+FFFF in it (no character); they differ only for a font whose
    # last segment starts before U+FFFF, which none here has.
    cmap = font.getBestCmap() or {}
    notdef = font.getGlyphOrder()[0]
    return sum(1 for code, glyph in cmap.items() if glyph != notdef and code != 0xFFFF)


def name_of(font, name_id):
    if "name" not in font:
        return ""
    return font["name"].getDebugName(name_id) or ""


def close(a, b):
    return math.isclose(a, b, abs_tol=1e-4)


def compare(ours, font):
    problems = []

    def differ(what, mine, theirs):
        if mine != theirs:
            problems.append(f"{what}: ours {mine!r}, fontTools {theirs!r}")

    differ("GlyphCount", ours["GlyphCount"], font["maxp"].numGlyphs if "maxp" in font else None)
    has_cmap = "cmap" in font and font.getBestCmap() is not None
    differ("CodePoints", ours["CodePoints"], mapped_code_points(font) if has_cmap else None)
    differ("FsType", ours["FsType"], font["OS/2"].fsType if "OS/2" in font else None)
    features, scripts = layout_tags(font)
    differ("Features", ours["Features"], features)
    differ("LayoutScripts", ours["LayoutScripts"], scripts)
    axes = font["fvar"].axes if "fvar" in font else []
    differ("axis tags", [a["Tag"] for a in ours["Axes"]], [a.axisTag for a in axes])
    for mine, theirs in zip(ours["Axes"], axes):
        limits = (theirs.minValue, theirs.defaultValue, theirs.maxValue)
        if not all(map(close, (mine["Min"], mine["Default"], mine["Max"]), limits)):
            problems.append(f"axis {theirs.axisTag}: ours {mine}, fontTools {limits}")
        differ(f"axis {theirs.axisTag} name", mine["Name"], name_of(font, theirs.axisNameID))
    instances = font["fvar"].instances if "fvar" in font else []
    differ("instance count", len(ours["Instances"]), len(instances))
    for mine, theirs in zip(ours["Instances"], instances):
        differ("instance name", mine["Name"], name_of(font, theirs.subfamilyNameID))
        coordinates = [theirs.coordinates[a.axisTag] for a in axes]
        if len(mine["Coordinates"]) != len(coordinates) or not all(
            map(close, mine["Coordinates"], coordinates)
        ):
            problems.append(f"instance {mine['Name']}: ours {mine['Coordinates']}, "
                            f"fontTools {coordinates}")
    return problems


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__)
        return 2
    cli = sys.argv[1]
    root = sys.argv[2] if len(sys.argv) == 3 else "/usr/share/fonts"
    files = list(sfnt_files(root))
    run = subprocess.run([cli, "info", "--details", *files], capture_output=True, check=False)
    lines = [json.loads(line) for line in run.stdout.decode("utf-8").splitlines()]
    by_file = {}
    for record in lines:
        by_file.setdefault(record["FileName"], []).append(record)
    failures = 0
    compared = 0
    variable = 0
    for path in files:
        ours = by_file.get(path, [])
        theirs = faces(path)
        if len(ours) != len(theirs):
            print(f"{path}: {len(ours)} faces, fontTools {len(theirs)}")
            failures += 1
            continue
        for index, (record, font) in enumerate(zip(ours, theirs)):
            compared += 1
            variable += 1 if record["Axes"] else 0
            for problem in compare(record, font):
                print(f"{path} face {index}: {problem}")
                failures += 1
    print(f"{len(files)} files, {compared} faces compared ({variable} variable), "
          f"{failures} differences")
    if compared == 0:
        print("no sfnt file found: nothing was compared")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
