#!/usr/bin/env python3
"""Measures how many small faults the tests catch.

Picks a seeded sample of single-token mutations (a flipped comparison, `&&`
for `||`, a constant off by one, an early return removed) spread evenly over
the folders below, then for each one: applies it, rebuilds, runs the tests of
every test program the rebuild relinked, and puts the source back. A
mutation is killed when a test fails. The same seed gives the same sample, so
a run before and after a change of the tests compares like with like.

  python3 tools/mutation-sample.py --list            # the sample only
  python3 tools/mutation-sample.py --out kills.tsv   # build and test each
  python3 tools/mutation-sample.py --replay kills.tsv --out after.tsv

The "mutation" preset leaves out debug info and links with gold, which cuts
the relinking that dominates each round to a fraction.
"""
import argparse
import json
import random
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FOLDERS = ["core/session", "core/sync", "core/api", "core/json", "app/presentation", "app/tray"]

# Each rule: a pattern over one line of code and what each match becomes.
FLIPS = {"==": "!=", "!=": "==", "<=": "<", ">=": ">", "<": "<=", ">": ">=", "&&": "||", "||": "&&"}
RULES = [
    ("comparison", re.compile(r"(?<=[\w)\]] )(==|!=|<=|>=|<|>)(?= [\w(!-])"), lambda m: FLIPS[m.group(1)]),
    ("logic", re.compile(r"(?<= )(&&|\|\|)(?= )"), lambda m: FLIPS[m.group(1)]),
    ("constant", re.compile(r"(?<![\w.])(\d+)(?![\w.'])"), lambda m: str(int(m.group(1)) + 1)),
    # The return of an `if` with no braces, on its own line below it.
    ("early return", re.compile(r"^\s*(return;|co_return;)\s*$"), lambda m: "{}"),
]


def code_part(line):
    """The line without its comment and with string literals blanked, or None for a line to leave alone."""
    stripped = line.strip()
    if not stripped or stripped.startswith(("//", "*", "/*", "#")):
        return None
    blanked = re.sub(r'"(?:\\.|[^"\\])*"', lambda m: '"' + " " * (len(m.group(0)) - 2) + '"', line)
    blanked = re.sub(r"'(?:\\.|[^'\\])'", "' '", blanked)
    comment = blanked.find("//")
    return blanked if comment < 0 else blanked[:comment]


def sites(folder):
    """Every place in the folder's sources where a rule applies: (file, line number, column span, kind, new text)."""
    found = []
    for path in sorted((ROOT / folder).glob("*.cpp")):
        previous = ""
        for number, line in enumerate(path.read_text().splitlines(), start=1):
            code = code_part(line)
            if code is None or "template" in code:
                continue
            for kind, pattern, replace in RULES:
                if kind == "early return" and not previous.lstrip().startswith("if ("):
                    continue
                for match in pattern.finditer(code):
                    found.append((path.relative_to(ROOT).as_posix(), number, match.span(1), kind, replace(match)))
            previous = code
    return found


def sample(seed, count):
    """`count` sites drawn in turn from each folder, the same ones for the same seed."""
    rng = random.Random(seed)
    pools = {}
    for folder in FOLDERS:
        # Shuffled, then dealt kind by kind, so every kind of fault gets its turn.
        by_kind = {}
        for site in sites(folder):
            by_kind.setdefault(site[3], []).append(site)
        for group in by_kind.values():
            rng.shuffle(group)
        dealt = []
        while any(by_kind.values()):
            for kind in sorted(by_kind):
                if by_kind[kind]:
                    dealt.append(by_kind[kind].pop())
        pools[folder] = dealt[::-1]
    chosen = []
    while len(chosen) < count and any(pools.values()):
        for folder in FOLDERS:
            if pools[folder] and len(chosen) < count:
                chosen.append(pools[folder].pop())
    return chosen


def replayed(results):
    """The mutations of an earlier run's results, found again by the text of their line, so that code moved
    since (a line added above) still gets the same faults."""
    by_folder = {}
    chosen = []
    for row in Path(results).read_text().splitlines():
        location, kind, outcome, before, after = row.split("\t")[:5]
        path, number = location.rsplit(":", 1)
        folder = Path(path).parent.as_posix()
        if folder not in by_folder:
            by_folder[folder] = sites(folder)
        same = [site for site in by_folder[folder] if site[0] == path and site[3] == kind
                and mutated(site[0], site[1], site[2], site[4])[1:] == (before, after)]
        if not same:
            print(f"no longer in the code: {location}\t{before}", file=sys.stderr)
            continue
        killers = outcome[len("killed by "):].split(",") if outcome.startswith("killed by ") else []
        chosen.append((min(same, key=lambda site: abs(site[1] - int(number))), [k for k in killers if k != "?"]))
    return chosen


def mutated(path, number, span, replacement):
    lines = (ROOT / path).read_text().splitlines(keepends=True)
    line = lines[number - 1]
    start, end = span
    lines[number - 1] = line[:start] + replacement + line[end:]
    return "".join(lines), line.strip(), lines[number - 1].strip()


def tests_by_program(preset):
    listing = subprocess.run(["ctest", "--preset", preset, "--show-only=json-v1"], capture_output=True,
                             text=True, check=True, cwd=ROOT)
    by_program = {}
    for index, test in enumerate(json.loads(listing.stdout)["tests"], start=1):
        # The program may come after a wrapper such as xvfb-run.
        for part in test.get("command") or []:
            if "/tests/" in part:
                by_program.setdefault(Path(part).name, []).append(index)
                break
    return by_program


def fails(name, preset, session):
    """Whether the test of that name exists and fails (a name no longer there finds no test, which is no catch)."""
    result = subprocess.run(["bash", session, "ctest", "--preset", preset, "--timeout", "180", "-R",
                             "^" + re.escape(name) + "$"], capture_output=True, text=True, cwd=ROOT)
    return re.search(r"\b[1-9]\d* tests? failed out of", result.stdout) is not None


def run(mutation, preset, by_program, session, suspects):
    path, number, span, kind, replacement = mutation
    original = (ROOT / path).read_text()
    text, before, after = mutated(path, number, span, replacement)
    try:
        (ROOT / path).write_text(text)
        build = subprocess.run(["cmake", "--build", "--preset", preset, "-j2"], capture_output=True, text=True, cwd=ROOT)
        if build.returncode != 0:
            return "not built", before, after
        relinked = set(re.findall(r"Linking CXX executable \S*?([\w-]+)\n", build.stdout))
        numbers = sorted(n for program in relinked for n in by_program.get(program, []))
        if not numbers:
            return "no test ran", before, after
        # The tests that caught this fault in an earlier run go first: a catch is then one short run.
        caught = [name for name in suspects if fails(name, preset, session)]
        if caught:
            return "killed by " + ",".join(caught), before, after
        # A test that fails only now and then under load would pass for a catch, and would stop the run
        # before the tests that really catch the fault: a catch counts when the failed test fails again,
        # and the run goes on without a test that did not.
        stumbled = []
        while True:
            command = ["bash", session, "ctest", "--preset", preset, "-j2", "--stop-on-failure", "--timeout", "180",
                       "-I", "0,0,0," + ",".join(map(str, numbers))]
            if stumbled:
                command += ["-E", "^(" + "|".join(map(re.escape, stumbled)) + ")$"]
            tests = subprocess.run(command, capture_output=True, text=True, cwd=ROOT)
            if tests.returncode == 0:
                return "survived" + (f" (failed once: {','.join(stumbled)})" if stumbled else ""), before, after
            # ctest lists the failed tests as "  12 - Suite.Name (Failed)".
            failed = re.findall(r"^\s*\d+ - (\S+) \(", tests.stdout, re.MULTILINE)
            if not failed:
                return "killed by ?", before, after
            confirmed = [name for name in failed if fails(name, preset, session)]
            if confirmed:
                return "killed by " + ",".join(confirmed), before, after
            stumbled += failed
    finally:
        (ROOT / path).write_text(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--seed", type=int, default=20261208)
    parser.add_argument("--count", type=int, default=48)
    parser.add_argument("--preset", default="mutation")
    parser.add_argument("--skip", type=int, default=0, help="go on from this many mutations of the sample already run")
    parser.add_argument("--replay", metavar="RESULTS", help="run the mutations of an earlier --out file instead")
    parser.add_argument("--list", action="store_true", help="print the sample and stop")
    parser.add_argument("--out", help="tab-separated results, one mutation a line")
    args = parser.parse_args()

    chosen = replayed(args.replay) if args.replay else [(mutation, []) for mutation in sample(args.seed, args.count)]
    if args.list:
        for (path, number, span, kind, replacement), _ in chosen:
            _, before, after = mutated(path, number, span, replacement)
            print(f"{path}:{number}\t{kind}\t{before}  =>  {after}")
        return 0

    subprocess.run(["cmake", "--build", "--preset", args.preset, "-j2"], check=True, cwd=ROOT, capture_output=True)
    by_program = tests_by_program(args.preset)
    session = str(ROOT / "tools/test-session.sh")
    outcomes = []
    out = open(args.out, "w") if args.out else None
    for index, (mutation, suspects) in enumerate(chosen, start=1):
        if index <= args.skip:
            continue
        outcome, before, after = run(mutation, args.preset, by_program, session, suspects)
        outcomes.append(outcome)
        row = f"{mutation[0]}:{mutation[1]}\t{mutation[3]}\t{outcome}\t{before}\t{after}"
        print(f"[{index}/{len(chosen)}] {row}", flush=True)
        if out:
            out.write(row + "\n")
            out.flush()
    # Put the build back in step with the sources.
    subprocess.run(["cmake", "--build", "--preset", args.preset, "-j2"], cwd=ROOT, capture_output=True)
    judged = [o for o in outcomes if o.startswith(("killed", "survived"))]
    killed = sum(o.startswith("killed") for o in judged)
    print(f"killed {killed} of {len(judged)} built mutations ({100.0 * killed / max(len(judged), 1):.0f} %); "
          f"{outcomes.count('not built')} did not build, {outcomes.count('no test ran')} reached no test")
    return 0


if __name__ == "__main__":
    sys.exit(main())
