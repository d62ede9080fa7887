#!/usr/bin/env python3
"""Checks every #include under a source folder against its layer rules.

Usage: check_includes.py RULES SOURCE_DIR

RULES is an INI file with one section per folder (relative to SOURCE_DIR): `include` lists the
folders it may include besides its own, `system` is `std` (only C++ standard library headers
between angle brackets) or `any`. Exits 1 and names each offending line when a rule is broken,
when the rules themselves form a loop, or when a folder that holds code has no rules.
"""

import configparser
import pathlib
import re
import sys

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".in"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')

# The C++20 standard library, with the C library headers in their C++ form.
STANDARD_HEADERS = set(
    """
    algorithm any array atomic barrier bit bitset charconv chrono codecvt compare complex
    concepts condition_variable coroutine deque exception execution filesystem format
    forward_list fstream functional future initializer_list iomanip ios iosfwd iostream istream
    iterator latch limits list locale map memory memory_resource mutex new numbers numeric
    optional ostream queue random ranges ratio regex scoped_allocator semaphore set
    shared_mutex source_location span sstream stack stdexcept stop_token streambuf string
    string_view syncstream system_error thread tuple type_traits typeindex typeinfo
    unordered_map unordered_set utility valarray variant vector version
    cassert cctype cerrno cfenv cfloat cinttypes climits clocale cmath csetjmp csignal cstdarg
    cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype
    """.split()
)


def load_rules(path):
    parser = configparser.ConfigParser()
    parser.read(path, encoding="utf-8")
    rules = {}
    for folder in parser.sections():
        section = parser[folder]
        system = section.get("system", "std")
        if system not in ("std", "any"):
            raise SystemExit(f"{path}: [{folder}] system must be std or any, not {system}")
        rules[folder] = {"include": set(section.get("include", "").split()), "system": system}
    return rules


def find_loop(rules):
    """A list of folders that include each other in a circle, or None."""
    state = {}

    def visit(folder, trail):
        if state.get(folder) == "done":
            return None
        if state.get(folder) == "open":
            return trail[trail.index(folder):] + [folder]
        state[folder] = "open"
        for target in sorted(rules.get(folder, {}).get("include", ())):
            loop = visit(target, trail + [folder])
            if loop:
                return loop
        state[folder] = "done"
        return None

    for folder in sorted(rules):
        loop = visit(folder, [])
        if loop:
            return loop
    return None


def owning_folder(relative, rules):
    """The deepest folder with rules that holds the file, else the file's own folder."""
    parent = relative.parent
    for candidate in [parent, *parent.parents]:
        if candidate.as_posix() in rules:
            return candidate.as_posix()
    return parent.as_posix()


def check(rules_path, source_dir):
    rules = load_rules(rules_path)
    problems = []
    loop = find_loop(rules)
    if loop:
        problems.append(f"{rules_path}: the rules form a loop: {' -> '.join(loop)}")

    for path in sorted(source_dir.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        relative = path.relative_to(source_dir)
        folder = owning_folder(relative, rules)
        rule = rules.get(folder)
        if rule is None:
            problems.append(f"{relative}: the folder {folder} has no rules in {rules_path}")
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        for number, line in enumerate(text.splitlines(), start=1):
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, header = match.groups()
            where = f"{relative}:{number}"
            if bracket == "<":
                if rule["system"] == "std" and header not in STANDARD_HEADERS:
                    problems.append(f"{where}: includes <{header}>, not a standard header")
                continue
            target = owning_folder(pathlib.PurePosixPath(header), rules)
            if target != folder and target not in rule["include"]:
                problems.append(f'{where}: includes "{header}": {folder} may not include {target}')
    return problems


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    problems = check(pathlib.Path(argv[1]), pathlib.Path(argv[2]))
    for problem in problems:
        print(problem)
    if problems:
        print(f"include rules: {len(problems)} broken")
        return 1
    print("include rules: kept")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
