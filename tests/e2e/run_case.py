#!/usr/bin/env python3
"""Runs one end-to-end case of a program and compares what it did, byte for byte, with the case's
expectations (see e2e_case.py for what a case folder holds).

Usage: run_case.py [--windows] [--emulator WORD]... PROGRAM CASE_DIR

PROGRAM is the path of the executable. --windows says that it was built for Windows, whose text
streams write CR LF for every newline; --emulator, once per word, gives the command that runs it
(such as wine). Exit status: 0 when the case passed, 1 when it failed, 77 when it was skipped
because a facility it requires is missing.

E2E_WRAPPER, when set, is a command prefix split at blanks (such as "valgrind -q") that runs the
program. The program still sees the case's argv0: the wrapper is handed that name, reached
through a private PATH entry for a bare name, or through a symbolic link at that path in the
working directory for a relative one. E2E_NO_ADDRESS_SPACE_LIMIT, when set, says that the build
cannot run within an address-space limit (its sanitizers reserve far more).
"""

import difflib
import itertools
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders
from e2e_case import (  # noqa: E402
    FACILITIES, Case, CaseError, argument_parser, decode_windows_text)

try:
    import resource
except ImportError:  # not a POSIX system
    resource = None

SKIPPED = 77
# Bounds a run that never ends; a run is never judged by how long it took.
RUN_TIMEOUT_SECONDS = 600
# Lines of a difference shown at most; the rest are counted.
DIFFERENCE_LINES = 40


class Runner:
    """Runs programs as the command line and the environment ask."""

    def __init__(self, windows, emulator):
        self.windows = windows
        self.emulator = emulator
        self.wrapper = os.environ.get("E2E_WRAPPER", "").split()

    def available(self, facility, case):
        """Whether this runner can give the case the facility."""
        if self.windows:  # Windows has none of them
            return False
        posix = os.name == "posix" and resource is not None
        if facility == "address-space-limit":
            return (sys.platform.startswith("linux") and posix and not self.wrapper
                    and not os.environ.get("E2E_NO_ADDRESS_SPACE_LIMIT"))
        if facility == "stack-limit":
            return posix
        if facility == "dev-full":
            return os.path.exists("/dev/full")
        if facility == "fifo":
            return hasattr(os, "mkfifo")
        if facility == "directory-stream":
            return posix
        if facility == "program-name":
            argv0 = case.argv0
            return posix and not self.emulator and not (
                self.wrapper and (argv0 == b"" or argv0.startswith(b"/")))
        raise AssertionError(facility)

    def command(self, program, case, work, scratch):
        """The command line that runs program as the case asks, and the file it is run from."""
        if self.emulator:
            return self.emulator + [program] + case.args, None
        argv0 = case.argv0
        if not self.wrapper:
            return [argv0] + case.args, program
        if b"/" in argv0:
            link = os.path.join(work, os.fsdecode(argv0))
            os.makedirs(os.path.dirname(link), exist_ok=True)
            os.symlink(program, link)
        else:
            bin_dir = os.path.join(scratch, "bin")
            os.mkdir(bin_dir)
            os.symlink(program, os.path.join(bin_dir, os.fsdecode(argv0)))
            os.environ["PATH"] = bin_dir + os.pathsep + os.environ["PATH"]
        return self.wrapper + [argv0] + case.args, None

    def run(self, program, case, work, scratch):
        """Runs the case; returns (status, stdout, stderr). The status is negative when a signal
        ended the program and None when it did not end; stdout is None when it was sent to the
        case's stdout_path."""
        command, executable = self.command(program, case, work, scratch)
        if os.name == "nt":  # Windows takes a command line of text
            command = [os.fsdecode(word) for word in command]
        stdin_path = case.text("stdin_path", "")
        if stdin_path:
            stdin = os.open(os.path.join(work, stdin_path), os.O_RDONLY)
        else:
            stdin = open_stdin(case, scratch)
        stdout_path = case.text("stdout_path", "")
        stdout = open(stdout_path, "wb") if stdout_path else subprocess.PIPE
        env = dict(os.environ, E2E_CASE=f"{case.program}.{case.name}")
        try:
            done = subprocess.run(command, executable=executable, cwd=work, stdin=stdin,
                                  stdout=stdout, stderr=subprocess.PIPE, env=env,
                                  preexec_fn=limits_of(case) if resource else None,
                                  timeout=RUN_TIMEOUT_SECONDS)
        except subprocess.TimeoutExpired:
            return None, b"", b""
        finally:
            if stdin_path:
                os.close(stdin)
            else:
                stdin.close()
            if stdout_path:
                stdout.close()
        return done.returncode, done.stdout, done.stderr


def open_stdin(case, scratch):
    """Standard input of the run: the case's stdin as a file, or the null device."""
    if not case.path("stdin"):
        return open(os.devnull, "rb")
    path = os.path.join(scratch, "stdin")
    with open(path, "wb") as out:
        out.write(case.bytes("stdin"))
    return open(path, "rb")


def limits_of(case):
    """A function that sets the case's limits in the child before it runs the program."""
    stack_kib = case.text("stack_kib", "")
    address_space_kib = case.text("address_space_kib", "")

    def set_limits():
        if stack_kib:
            limit = int(stack_kib) * 1024
            resource.setrlimit(resource.RLIMIT_STACK, (limit, limit))
        if address_space_kib:
            limit = int(address_space_kib) * 1024
            resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
    return set_limits


def visible(line):
    """A line of bytes as cat -A shows it: control characters as ^X, bytes above 127 as M-x and
    the line end as $, so that blanks at a line's end and a missing last line end show."""
    shown = []
    for byte in line:
        prefix = ""
        if byte >= 128:
            prefix, byte = "M-", byte - 128
        if byte == 10:
            shown.append("$")
        elif byte < 32:
            shown.append(prefix + "^" + chr(byte + 64))
        elif byte == 127:
            shown.append(prefix + "^?")
        else:
            shown.append(prefix + chr(byte))
    return "".join(shown)


def difference(expected, actual):
    """The lines that differ, each expected line above the actual line in its place."""
    expected_lines = expected.splitlines(keepends=True)
    actual_lines = actual.splitlines(keepends=True)
    # The lines both share at the start and at the end are left out before the comparison, so
    # that a long output costs nothing where it agrees.
    start = 0
    while (start < min(len(expected_lines), len(actual_lines))
           and expected_lines[start] == actual_lines[start]):
        start += 1
    end = 0
    while (end < min(len(expected_lines), len(actual_lines)) - start
           and expected_lines[-1 - end] == actual_lines[-1 - end]):
        end += 1
    window = 4 * DIFFERENCE_LINES
    expected_rest = expected_lines[start:len(expected_lines) - end][:window]
    actual_rest = actual_lines[start:len(actual_lines) - end][:window]
    shown = []
    matcher = difflib.SequenceMatcher(None, expected_rest, actual_rest, autojunk=False)
    for tag, e1, e2, a1, a2 in matcher.get_opcodes():
        if tag == "equal":
            continue
        pairs = itertools.zip_longest(range(e1, e2), range(a1, a2))
        for e, a in pairs:
            if e is not None:
                shown.append(f"  expected line {start + e + 1}: {visible(expected_rest[e])}")
            else:
                shown.append("  expected: no line here")
            if a is not None:
                shown.append(f"  actual   line {start + a + 1}: {visible(actual_rest[a])}")
            else:
                shown.append("  actual:   no line here")
    if len(shown) > DIFFERENCE_LINES:
        shown[DIFFERENCE_LINES:] = [f"  [{len(shown) - DIFFERENCE_LINES} more lines]"]
    return "\n".join(shown)


def verdict_of(case, run, windows, work):
    """The failures of the run, as lines to show; none when the case passed."""
    status, stdout, stderr = run
    if status is None:
        return [f"FAIL: no end within {RUN_TIMEOUT_SECONDS} s"]
    failures = []
    streams = [("stderr", stderr)] + ([("stdout", stdout)] if stdout is not None else [])
    for stream, actual in sorted(streams, reverse=True):
        if windows:
            actual, complaint = decode_windows_text(actual)
            if complaint:
                failures.append(f"FAIL: {stream}: {complaint}, as no Windows text stream writes")
                continue
        if stream == "stdout":
            actual = case.filter_stdout(actual, work)
        expected = case.expected(stream)
        if actual != expected:
            failures.append(f"FAIL: {stream} differs from expected_{stream}:")
            failures.append(difference(expected, actual))
    if status != case.expected_status:
        ended = f"signal {-status}" if status < 0 else f"exit status {status}"
        failures.append(f"FAIL: {ended}, expected exit status {case.expected_status}")
    return failures


def main():
    parser = argument_parser(__doc__)
    parser.add_argument("program")
    parser.add_argument("case_dir")
    options = parser.parse_args()
    program = os.path.abspath(options.program)
    if not os.path.isfile(program):
        sys.exit(f"FAIL: no executable program at {options.program}")
    name = os.path.basename(program)
    if name.lower().endswith(".exe"):
        name = name[:-4]
    runner = Runner(options.windows, options.emulator)
    try:
        case = Case(name, options.case_dir, options.windows)
        missing = [f for f in case.requires if not runner.available(f, case)]
        if missing:
            print("SKIP: needs " + "; ".join(FACILITIES[f] for f in missing))
            return SKIPPED
        scratch = tempfile.mkdtemp(prefix="e2e-")
        try:
            work = os.path.join(scratch, "work")
            os.mkdir(work)
            case.prepare(work)
            failures = verdict_of(case, runner.run(program, case, work, scratch),
                                  options.windows, work)
        finally:
            shutil.rmtree(scratch, ignore_errors=True)
    except CaseError as error:
        failures = [f"FAIL: {error}"]
    print("\n".join(failures) if failures else "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
