#!/usr/bin/env python3
"""Packs the end-to-end cases of each program for the page, at build time: for every case its
name, what it checks, its kind, and either what the page needs to run and compare it (arguments,
input files, standard input, expected outputs and status) or why the page cannot run it.

Usage: pack-cases.py OUTPUT_DIR ROOT

ROOT is the folder that holds tests/. Writes OUTPUT_DIR/PROGRAM.json for each program, a JSON
object {"cases": [...]}, each case {"name", "description", "kind", "extra", and "runnable":
{"args", "files", "stdin", "stdout", "stderr", "status"} or "unrunnable": the reason, a phrase
whose subject is the case ("needs a FIFO")}; bytes as base64. A case's generated inputs are made
here, by its setup.py, as the tests make them.
"""

import base64
import json
import os
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from e2e_case import CASE_SETS, FACILITIES, cases_of  # noqa: E402

# The page runs every program with its plain name as argv[0]; a case that names it otherwise,
# or needs any other facility, is not offered to run.
PAGE_FACILITIES = {"program-name"}
# A case whose inputs and expected outputs are larger than this, together, is not embedded.
LARGEST_CASE = 1 << 20


def encoded(data):
    return base64.b64encode(data).decode("ascii")


def unrunnable_reason(case):
    """Why the page cannot run the case, as its folder tells, or None."""
    missing = [f for f in case.requires if f not in PAGE_FACILITIES]
    if missing:
        return "needs " + "; ".join(FACILITIES[f] for f in missing)
    if case.path("argv0"):
        return "needs the program started under another name than its own"
    if case.path("stdout_path"):
        return f"needs standard output sent to {case.text('stdout_path', '')}"
    if case.path("stdout_filter.py"):
        return "has its output compared through a filter, not byte for byte"
    try:
        args = [arg.decode("utf-8") for arg in case.args]
    except UnicodeDecodeError:
        return "needs an argument that is not UTF-8 text"
    if any("\n" in arg for arg in args):
        return "needs an argument with a line end in it, which a line of the form cannot hold"
    return None


def packed_inputs(case, work):
    """The case's input files and standard input as the page takes them, from its prepared
    working directory work; or the reason they cannot be."""
    files = {}
    size = 0
    for entry in sorted(os.scandir(work), key=lambda entry: entry.name):
        if not entry.is_file(follow_symlinks=False):
            kind = "a folder" if entry.is_dir(follow_symlinks=False) else "no plain file"
            return None, f"needs {entry.name} to be {kind}, where the page gives files only"
        with open(entry.path, "rb") as data:
            files[entry.name] = data.read()
        size += len(files[entry.name])
    stdin_path = case.text("stdin_path", "")
    if stdin_path:
        if stdin_path not in files:
            return None, "needs standard input read from something other than a file"
        stdin = files[stdin_path]
    else:
        stdin = case.bytes("stdin")
    size += len(stdin) + len(case.expected("stdout")) + len(case.expected("stderr"))
    if size > LARGEST_CASE:
        return None, f"has inputs and outputs of {size:,} bytes, too large to embed in the page"
    return {"args": [arg.decode("utf-8") for arg in case.args],
            "files": {name: encoded(data) for name, data in files.items()},
            "stdin": encoded(stdin)}, None


def packed(case):
    entry = {"name": case.name, "description": case.description, "kind": case.kind,
             "extra": case.extra_reason}
    reason = unrunnable_reason(case)
    if reason is None:
        with tempfile.TemporaryDirectory(prefix="pack-case-") as work:
            case.prepare(work)
            runnable, reason = packed_inputs(case, work)
    if reason is not None:
        entry["unrunnable"] = reason
        return entry
    runnable.update(stdout=encoded(case.expected("stdout")),
                    stderr=encoded(case.expected("stderr")), status=case.expected_status)
    entry["runnable"] = runnable
    return entry


def main():
    output_dir, root = sys.argv[1:]
    os.makedirs(output_dir, exist_ok=True)
    for program in CASE_SETS:
        cases = [packed(case) for case in cases_of(program, root)]
        with open(os.path.join(output_dir, f"{program}.json"), "w", encoding="utf-8") as out:
            json.dump({"cases": cases}, out, separators=(",", ":"))


if __name__ == "__main__":
    main()
