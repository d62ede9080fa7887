"""The command line the build's drawing scripts share:

  SCRIPT OUT        draw the file, write it, then read it back and check it
  SCRIPT --check F  read a file and check it
"""

import sys


def run(argv, usage, draw, check):
    """draw() -> (bytes, expected), check(bytes, expected) -> a line describing the file; check
    raises ValueError for a file that is not what the script draws."""
    if len(argv) == 3 and argv[1] == "--check":
        with open(argv[2], "rb") as f:
            data = f.read()
        expected = None
    elif len(argv) == 2 and not argv[1].startswith("-"):
        data, expected = draw()
        with open(argv[1], "wb") as f:
            f.write(data)
    else:
        sys.stderr.write(usage)
        return 2
    try:
        described = check(data, expected)
    except ValueError as problem:
        sys.stderr.write("%s: %s\n" % (argv[-1], problem))
        return 1
    print("%s: %s, %d bytes" % (argv[-1], described, len(data)))
    return 0
