#!/usr/bin/env python3
"""Runs `tallix --json` on projects with every combination of the two counting options, and
compares each member's counts with vb_reference.

Usage: cross_check.py --tallix PATH --examples DIR --fixtures DIR [--seed N] [--random N]
       cross_check.py --tallix PATH --corpus DIR

The first form checks the examples, the fixtures (whose totals are also pinned, as worked
out by hand in tests/fixtures/README.md) and random projects. The second checks the real
projects of the corpus; where there is none it exits with SKIPPED, which CTest reports as a
skip.
"""

import argparse
import contextlib
import itertools
import json
import os
import subprocess
import sys
import tempfile

import random_projects
import vb_reference

CORPUS_PROJECTS = [
    ("vb6-cairo-imagelist/CSImageList.vbp", "vb6"),
    ("vb6-dinohopper/DinoHopper.vbp", "vb6"),
    ("vb6-getsslib/GetssLib/GetSSLIBx.vbp", "vb6"),
    ("net-remote-client/Client.vbproj", "vbnet"),
    ("net-xscj-chinese/XsCjMagemnt.vbproj", "vbnet"),
]
EXAMPLE_PROJECTS = [("vb6/Inventory.vbp", "vb6"), ("vbnet/Inventory.vbproj", "vbnet")]
OPTION_SETS = list(itertools.product([False, True], repeat=2))  # (skip_blank, skip_comments)
# Each fixture with its totals by (skip_blank, skip_comments).
FIXTURE_PROJECTS = [
    ("vb6-lf/Hopper.vbp", "vb6",
     {(False, False): 26, (True, False): 22, (False, True): 22, (True, True): 18}),
    ("vb6-chinese/App/Reader.vbp", "vb6",
     {(False, False): 23, (True, False): 19, (False, True): 20, (True, True): 16}),
    ("vbnet-bom/Grades.vbproj", "vbnet",
     {(False, False): 31, (True, False): 29, (False, True): 27, (True, True): 25}),
]
SKIPPED = 77  # CTest's SKIP_RETURN_CODE for this script
MEMBER_FIELDS = ("name", "lines", "code", "comment", "blank")
MAX_DIFFS_SHOWN = 12


@contextlib.contextmanager
def working_directory(path):
    previous = os.getcwd()
    os.chdir(path)
    try:
        yield
    finally:
        os.chdir(previous)


def command_line(tallix, project, kind, skip_blank, skip_comments):
    args = [tallix, "--json", "--" + kind]
    if skip_blank:
        args.append("--skip-blank")
    if skip_comments:
        args.append("--skip-comments")
    return args + [project]


def expected_member(member):
    return {"name": member.name, "lines": member.lines, "code": member.tally.code,
            "comment": member.tally.comment, "blank": member.tally.blank,
            "error": member.unreadable}


def member_diffs(index, mine, theirs):
    label = f"member #{index} {mine['name']!r}"
    diffs = [f"{label}: {field} tallix={theirs.get(field)!r} reference={mine[field]!r}"
             for field in MEMBER_FIELDS if theirs.get(field) != mine[field]]
    if bool(theirs.get("error")) != mine["error"]:
        diffs.append(f"{label}: error tallix={theirs.get('error')!r} "
                     f"reference={'unreadable' if mine['error'] else 'none'}")
    return diffs


def result_diffs(expected, returncode, stdout):
    unreadable = any(m.unreadable for m in expected["members"])
    diffs = []
    if returncode != (3 if unreadable else 0):
        diffs.append(f"exit status tallix={returncode} reference={3 if unreadable else 0}")
    try:
        actual = json.loads(stdout)
    except ValueError as error:
        return diffs + [f"output is not JSON ({error}): {stdout[:200]!r}"]
    mine = [expected_member(m) for m in expected["members"]]
    theirs = actual.get("members", [])
    if len(theirs) != len(mine):
        diffs.append(f"member count tallix={len(theirs)} reference={len(mine)}; "
                     f"tallix names={[m.get('name') for m in theirs]!r} "
                     f"reference names={[m['name'] for m in mine]!r}")
    for index, (m, t) in enumerate(zip(mine, theirs)):
        diffs += member_diffs(index, m, t)
    for key in ("found_lines", "total"):
        if str(actual.get(key)) != expected[key]:
            diffs.append(f"{key} tallix={actual.get(key)!r} reference={expected[key]!r}")
    return diffs


def check(tallix, project, kind, cwd, totals=None):
    """Runs one project with all four option sets; returns the number of failing runs.
    totals, when given, pins the total of each option set."""
    failures = 0
    for skip_blank, skip_comments in OPTION_SETS:
        args = command_line(tallix, project, kind, skip_blank, skip_comments)
        proc = subprocess.run(args, cwd=cwd, capture_output=True)
        with working_directory(cwd):
            expected = vb_reference.analyse(project, kind, skip_blank, skip_comments)
        diffs = result_diffs(expected, proc.returncode, proc.stdout.decode("utf-8", "replace"))
        if totals is not None and expected["total"] != str(totals[skip_blank, skip_comments]):
            diffs.append(f"total reference={expected['total']} "
                         f"worked out by hand={totals[skip_blank, skip_comments]}")
        if diffs:
            failures += 1
            print(f"MISMATCH (cwd {cwd}): {' '.join(args[1:])}")
            for line in diffs[:MAX_DIFFS_SHOWN]:
                print("    " + line)
            if len(diffs) > MAX_DIFFS_SHOWN:
                print(f"    ... and {len(diffs) - MAX_DIFFS_SHOWN} more")
            if proc.returncode not in (0, 3) and proc.stderr:
                print("    stderr: " + proc.stderr.decode("utf-8", "replace")[:500])
    return failures


def random_runs(root, seed, count):
    """(project, kind, cwd) for each random project; some are also run with the wrong
    reader and some through relative paths, including one without any folder part."""
    runs = []
    for index, (project, kind) in enumerate(random_projects.make_projects(root, seed, count)):
        runs.append((project, kind, root))
        if index % 5 == 1:
            runs.append((project, "vbnet" if kind == "vb6" else "vb6", root))
        if index % 7 == 3:
            runs.append((os.path.basename(project), kind, os.path.dirname(project)))
        if index % 7 == 5:
            runs.append((os.path.relpath(project, root), kind, root))
    return runs


def corpus_runs(corpus, root):
    """The real projects, or None when this machine has no corpus."""
    if not os.path.isfile(os.path.join(corpus, "MANIFEST.md")):
        return None
    return [(os.path.join(corpus, p), k, root, None) for p, k in CORPUS_PROJECTS]


def local_runs(examples, fixtures, root, seed, count):
    runs = [(os.path.join(examples, p), k, root, None) for p, k in EXAMPLE_PROJECTS]
    runs += [(os.path.join(fixtures, p), k, root, t) for p, k, t in FIXTURE_PROJECTS]
    runs += [run + (None,) for run in random_runs(root, seed, count)]
    return runs


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tallix", required=True)
    parser.add_argument("--corpus")
    parser.add_argument("--examples")
    parser.add_argument("--fixtures")
    parser.add_argument("--seed", type=int, default=20240607)
    parser.add_argument("--random", type=int, default=40)
    args = parser.parse_args()
    if (args.corpus is None) == (args.examples is None or args.fixtures is None):
        parser.error("give either --corpus, or --examples and --fixtures")
    tallix = os.path.abspath(args.tallix)

    with tempfile.TemporaryDirectory(prefix="tallix-reference-") as root:
        if args.corpus is not None:
            corpus = os.path.abspath(args.corpus)
            runs = corpus_runs(corpus, root)
            if runs is None:
                print(f"no corpus at {corpus}: its projects are not checked")
                return SKIPPED
        else:
            runs = local_runs(os.path.abspath(args.examples), os.path.abspath(args.fixtures),
                              root, args.seed, args.random)
        failures = sum(check(tallix, project, kind, cwd, totals)
                       for project, kind, cwd, totals in runs)
    total = len(runs) * len(OPTION_SETS)
    print(f"{total - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
