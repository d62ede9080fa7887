#!/usr/bin/env python3
"""Keeps the skin scenarios in step with the files that ship in data/.

A scenario cannot read the repository, so the skin scenarios include the shipped files as `file`
lines from tests/scenarios/common/shipped.inc. This script writes that file from data/: every
shipped file under data/Skins plus data/safeshutdown.htm, at its path in the program folder. A
quoted scenario argument is one line without double quotes, so line breaks become blanks and
double quotes become single quotes; the simulated browser reads ids and attributes in either
quote, and the XML files stay well formed. Pictures are created empty: the simulated browser
draws nothing.

  skin_scenario.py --data DIR --update INCLUDE      rewrite the include file
  skin_scenario.py --data DIR --check INCLUDE       fail when the include file is out of date
  skin_scenario.py --data DIR --output OUT          write a fresh include file to OUT
"""

import argparse
import os
import re
import sys

HEADER = "# The shipped files: written by scripts/skin_scenario.py from data/; do not edit"
TEXT_SUFFIXES = (".htm", ".html", ".hta", ".xml")


# Built from sources at build time; the bar only opens them, so the scenarios create them empty.
GENERATED = ("\\LarkspanLoading.avi", "\\windlock.chm")


def shipped_files(data_dir):
    """(program-folder path, local path) of every file the scenarios load, in a fixed order."""
    files = [(path, None) for path in GENERATED]
    files.append(("\\safeshutdown.htm", os.path.join(data_dir, "safeshutdown.htm")))
    skins_dir = os.path.join(data_dir, "Skins")
    for skin in sorted(os.listdir(skins_dir), key=str.lower):
        folder = os.path.join(skins_dir, skin)
        if not os.path.isdir(folder):
            continue
        for name in sorted(os.listdir(folder), key=str.lower):
            files.append(("\\Skins\\%s\\%s" % (skin, name), os.path.join(folder, name)))
    return files


def quotes_in_attributes(text):
    """Attribute values in double quotes that hold a single quote: they would end early."""
    outside_scripts = re.sub(r"(?is)<(script|style)\b.*?</\1\s*>", "", text)
    outside_scripts = re.sub(r"(?s)<!--.*?-->", "", outside_scripts)
    found = []
    for tag in re.findall(r"<[A-Za-z][^>]*>", outside_scripts):
        found += [value for value in re.findall(r'=\s*"([^"]*)"', tag) if "'" in value]
    return found


def scenario_text(path, local):
    if local is None or not local.lower().endswith(TEXT_SUFFIXES):
        return 'file "%s"' % path
    with open(local, encoding="ascii") as f:
        text = f.read()
    bad = quotes_in_attributes(text)
    if bad:
        raise ValueError("%s: attribute values with a single quote: %s" % (local, bad))
    one_line = " ".join(line.strip() for line in text.splitlines() if line.strip())
    return 'file "%s" "%s"' % (path, one_line.replace('"', "'"))


def include_lines(data_dir):
    return [HEADER] + [scenario_text(path, local) for path, local in shipped_files(data_dir)]


def read_lines(path):
    with open(path, encoding="utf-8") as f:
        return f.read().splitlines()


def write_lines(path, lines):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--data", required=True, help="the data/ folder")
    mode = parser.add_mutually_exclusive_group(required=True)
    mode.add_argument("--update", metavar="INCLUDE")
    mode.add_argument("--check", metavar="INCLUDE")
    mode.add_argument("--output", metavar="OUT")
    args = parser.parse_args()

    try:
        fresh = include_lines(args.data)
        if args.output:
            write_lines(args.output, fresh)
        elif args.update:
            if not os.path.exists(args.update) or read_lines(args.update) != fresh:
                write_lines(args.update, fresh)
                print("updated %s" % args.update)
        elif read_lines(args.check) != fresh:
            sys.stderr.write("%s: the shipped files changed; run scripts/skin_scenario.py "
                             "--data data --update %s\n" % (args.check, args.check))
            return 1
    except (OSError, ValueError) as problem:
        sys.stderr.write("skin_scenario.py: %s\n" % problem)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
