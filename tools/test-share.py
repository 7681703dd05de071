#!/usr/bin/env python3
"""How much of the code is tests: non-blank, non-comment lines of C++, QML,
JavaScript, Python and shell tracked by git, under tests/ against the whole.

  python3 tools/test-share.py            # the share and the largest folders
  python3 tools/test-share.py --files    # every test file, largest first
"""
import argparse
import re
import subprocess
import sys
from collections import Counter
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
C_LIKE = {".cpp", ".h", ".hpp", ".qml", ".js"}
HASH_COMMENTED = {".py", ".sh"}
LIMIT = 0.34


def code_lines(path):
    text = path.read_text(errors="replace")
    if path.suffix in C_LIKE:
        # Strings first, so a "//" inside a literal is not taken for a comment.
        text = re.sub(r'"(?:\\.|[^"\\\n])*"', '""', text)
        text = re.sub(r"/\*.*?\*/", "", text, flags=re.DOTALL)
        text = re.sub(r"//[^\n]*", "", text)
        return sum(1 for line in text.splitlines() if line.strip())
    return sum(1 for line in text.splitlines() if line.strip() and not line.lstrip().startswith("#"))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--files", action="store_true", help="list every test file by size")
    args = parser.parse_args()

    tracked = subprocess.run(["git", "ls-files"], capture_output=True, text=True, check=True, cwd=ROOT).stdout
    sizes = {}
    for name in tracked.splitlines():
        path = ROOT / name
        if path.suffix in C_LIKE | HASH_COMMENTED and path.is_file():
            sizes[name] = code_lines(path)

    tests = {name: n for name, n in sizes.items() if name.startswith("tests/")}
    if args.files:
        for name, n in sorted(tests.items(), key=lambda item: -item[1]):
            print(f"{n:6} {name}")
    folders = Counter()
    for name, n in sizes.items():
        folders["/".join(name.split("/")[:2])] += n
    for folder, n in folders.most_common(12):
        print(f"{n:6} {folder}")
    share = sum(tests.values()) / max(sum(sizes.values()), 1)
    print(f"tests: {sum(tests.values())} of {sum(sizes.values())} lines = {100 * share:.1f} % "
          f"({'within' if share <= LIMIT else 'over'} {100 * LIMIT:.0f} %)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
