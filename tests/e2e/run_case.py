#!/usr/bin/env python3
"""Runs one end-to-end case of a program and compares what it did, byte for byte, with the case's
expectations (see e2e_case.py for what a case folder holds), as tools/check-program does for
every case: through the same runner, with the same report.

Usage: run_case.py [--windows] [--emulator WORD]... PROGRAM CASE_DIR

PROGRAM is the path of the executable. --windows says that it was built for Windows, whose text
streams write CR LF for every newline; --emulator, once per word, gives the command that runs it
(such as wine). Exit status: 0 when the case passed, 1 when it failed, 77 when it was skipped
because a facility it requires is missing.

E2E_NO_ADDRESS_SPACE_LIMIT, when set, says that the build cannot run within an address-space
limit (its sanitizers reserve far more).
"""

import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders
from case_runner import PASSED, SKIPPED, CannotRun, Limits, Runner  # noqa: E402
from e2e_case import Case, CaseError, argument_parser  # noqa: E402
from reports import case_lines  # noqa: E402

SKIPPED_STATUS = 77
# Bounds a run that never ends, under an emulator or a sanitizer too; a run is never judged by
# how long it took.
TIME_LIMIT_SECONDS = 600


def main():
    parser = argument_parser(__doc__)
    parser.add_argument("program")
    parser.add_argument("case_dir")
    options = parser.parse_args()
    sys.stdout.reconfigure(encoding="utf-8")  # the marks of a report, on every system
    program = os.path.abspath(options.program)
    name = os.path.basename(program)
    if name.lower().endswith(".exe"):
        name = name[:-4]
    runner = Runner(options.windows, options.emulator, Limits(seconds=TIME_LIMIT_SECONDS))
    try:
        result = runner.check(program, Case(name, options.case_dir, options.windows))
    except (CaseError, CannotRun) as error:
        print(f"FAIL: {error}")
        return 1
    print("\n".join(case_lines(result)))
    if result.verdict == SKIPPED:
        return SKIPPED_STATUS
    return 0 if result.verdict == PASSED else 1


if __name__ == "__main__":
    sys.exit(main())
