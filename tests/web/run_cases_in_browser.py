#!/usr/bin/env python3
"""Runs end-to-end cases of a program in headless Chromium, through the page's window.runProgram,
and compares what each did, byte for byte, with its expectations, as tests/e2e/run_case.py does
for the native program. The files of a case's working directory (files/ and what setup.py makes)
are handed to runProgram as its files, the arguments as strings.

Usage: run_cases_in_browser.py SITE VERDICT_DIR PROGRAM CASE_DIR...

SITE is the folder of the built page, PROGRAM the plain name of the program. The cases share one
browser, as starting one takes seconds and a run milliseconds. Each case's verdict goes to
VERDICT_DIR/CASE, emptied first: a first line "passed", "failed" or "skipped", then the lines
that show why, which the CTest test of the case prints (tests/web/CMakeLists.txt). Prints the
counts; exits with status 1 only when the browser could not run the cases. A case is skipped when
it needs what the page cannot give: a facility a case may require (a page's run has no process
limits, no /dev/full, FIFO or directory stream; it gives argv[0] as runProgram's argv0), a folder
in the working directory, standard output sent elsewhere, or an argument or argv[0] that is not
UTF-8 text.
"""

import base64
import os
import shutil
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from e2e_case import FACILITIES, Case, CaseError  # noqa: E402
from case_runner import failure_lines  # noqa: E402
import browser  # noqa: E402

# Bytes cross between Python and the page in base64.
RUN = """
const [program, args, argv0, files, stdin, done] = arguments;
const bytes = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
const text = (bytes) => btoa(Array.from(bytes, (byte) => String.fromCharCode(byte)).join(""));
const given = {};
for (const [name, contents] of Object.entries(files)) {
  given[name] = bytes(contents);
}
window.runProgram(program, args, given, bytes(stdin), {argv0}).then(
  (run) => done({stdout: text(run.stdout), stderr: text(run.stderr), status: run.status}),
  (error) => done({error: error.message}));
"""


def skip_reason(case):
    """Why the case cannot run through runProgram, as far as its folder tells, or None."""
    missing = [facility for facility in case.requires if facility != "program-name"]
    if missing:
        return "needs " + "; ".join(FACILITIES[facility] for facility in missing)
    if case.text("stdout_path", ""):
        return "needs standard output sent to " + case.text("stdout_path", "")
    try:
        [arg.decode() for arg in [case.argv0] + case.args]
    except UnicodeDecodeError:
        return "needs an argument or argv[0] that is not UTF-8 text"
    return None


def run_case(driver, case, work):
    """Runs the case in the empty folder work; returns (verdict, lines to show)."""
    reason = skip_reason(case)
    if reason:
        return "skipped", [reason]
    case.prepare(work)
    files = {}
    for entry in os.scandir(work):
        if not entry.is_file(follow_symlinks=False):
            return "skipped", [f"needs {entry.name}, no regular file, in the working directory"]
        with open(entry.path, "rb") as data:
            files[entry.name] = base64.b64encode(data.read()).decode()
    stdin_path = case.text("stdin_path", "")
    stdin = files[stdin_path] if stdin_path else base64.b64encode(case.bytes("stdin")).decode()
    run = driver.execute_async_script(RUN, case.program, [arg.decode() for arg in case.args],
                                      case.argv0.decode(), files, stdin)
    if "error" in run:
        return "failed", [run["error"]]
    failures = failure_lines(case, run["status"], base64.b64decode(run["stdout"]),
                             base64.b64decode(run["stderr"]), work)
    return ("failed", failures) if failures else ("passed", [])


def main():
    site, verdict_dir, program, *case_dirs = sys.argv[1:]
    shutil.rmtree(verdict_dir, ignore_errors=True)
    os.makedirs(verdict_dir)
    counts = {"passed": 0, "failed": 0, "skipped": 0}
    with browser.page(site) as driver:
        for case_dir in case_dirs:
            try:
                with tempfile.TemporaryDirectory(prefix="browser-case-") as work:
                    verdict, lines = run_case(driver, Case(program, case_dir), work)
            except CaseError as error:
                verdict, lines = "failed", [str(error)]
            counts[verdict] += 1
            with open(os.path.join(verdict_dir, os.path.basename(case_dir)), "w") as out:
                out.write("\n".join([verdict] + lines) + "\n")
    print(f"{program} in the browser: " + ", ".join(f"{n} {v}" for v, n in counts.items()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
