"""Runs end-to-end cases (e2e_case.py) on an executable and judges what it did.

Each run gets a fresh working directory, removed afterwards, and runs within limits: a time
after which the program and every process it started are ended, a number of bytes on each of
standard output and standard error after which the same happens, and, where the system has
one, a limit on the memory it may reserve. The program may be anyone's, and wrong in every way:
whatever it does is a verdict on the case, never an error of the runner. This is no sandbox: a
program can still read and write every file its user can.

Runner.check(executable, case) gives a Result: passed, failed with its Findings, or skipped
because the case needs a facility this runner cannot give (see e2e_case.FACILITIES).
"""

import atexit
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
from dataclasses import dataclass, field
from typing import List, Optional

from differences import compare_stream
from e2e_case import FACILITIES, decode_windows_text

try:
    import resource
except ImportError:  # not a POSIX system
    resource = None

MIB = 1 << 20
SHELL = b"/bin/sh"

STREAM_NAMES = {"stdout": "standard output", "stderr": "standard error"}

PASSED = "passed"
FAILED = "failed"
SKIPPED = "skipped"

# What a signal that ended a program means, in the words a student would look up.
SIGNAL_MEANINGS = {
    "SIGSEGV": "segmentation fault",
    "SIGABRT": "aborted",
    "SIGFPE": "arithmetic error",
    "SIGBUS": "bus error",
    "SIGILL": "illegal instruction",
    "SIGKILL": "killed",
    "SIGTERM": "terminated",
    "SIGPIPE": "broken pipe",
    "SIGXCPU": "CPU time limit exceeded",
    "SIGXFSZ": "file size limit exceeded",
    "SIGTRAP": "trace or breakpoint trap",
    "SIGSYS": "bad system call",
}

# The exception codes with which Windows ends a program, as its exit status.
WINDOWS_EXCEPTIONS = {
    0x80000003: "breakpoint",
    0xC0000005: "access violation",
    0xC000001D: "illegal instruction",
    0xC000008C: "array bounds exceeded",
    0xC000008E: "floating-point division by zero",
    0xC0000094: "integer division by zero",
    0xC0000095: "integer overflow",
    0xC00000FD: "stack overflow",
    0xC0000135: "a DLL it needs was not found",
    0xC0000139: "an entry point in a DLL was not found",
    0xC0000374: "heap corruption",
    0xC0000409: "stack buffer overrun or fast fail",
}


@dataclass
class Limits:
    """What one run may take. memory_bytes None: no limit."""
    seconds: float = 10
    output_bytes: int = 64 * MIB  # on each of standard output and standard error
    memory_bytes: Optional[int] = 2048 * MIB


@dataclass
class Ending:
    """How a run ended and what it wrote."""
    status: Optional[int]  # negative: the signal that ended it; None: it was stopped
    stdout: Optional[bytes]  # None when it went to the case's stdout_path
    stderr: bytes
    timed_out: bool = False
    over_limit: Optional[str] = None  # the stream that passed its limit


@dataclass
class Finding:
    """One thing wrong with a run: a one-line summary and the lines that show it. A finding of
    the program's end (crash, time-out, output limit) is an error, the rest are failures."""
    summary: str
    details: List[str] = field(default_factory=list)
    error: bool = False


@dataclass
class Result:
    """The verdict on one case for one executable."""
    case: object
    verdict: str  # PASSED, FAILED or SKIPPED
    findings: List[Finding] = field(default_factory=list)
    skip_reason: str = ""
    seconds: float = 0.0
    memcheck: Optional[List[str]] = None  # memcheck's findings, [] for none; None: not run


class CannotRun(Exception):
    """The executable could not be started at all: a fault of the command line, not a run."""


def describe_status(status, windows):
    """How a program ended, in words: "exit status 1", "killed by signal 11 (segmentation
    fault)", or a Windows exception."""
    if status < 0:
        try:
            name = signal.Signals(-status).name
        except ValueError:
            return f"killed by signal {-status}"
        return f"killed by signal {-status} ({SIGNAL_MEANINGS.get(name, name)})"
    if windows and status in WINDOWS_EXCEPTIONS:
        return f"ended by exception 0x{status:08X} ({WINDOWS_EXCEPTIONS[status]})"
    return f"exit status {status}"


def judge(case, ending, work, windows, limits):
    """The findings on the ending of a run of the case in work; none when it passed. Raises
    CaseError when the case's output filter fails."""
    findings = []
    if ending.timed_out:
        findings.append(Finding(f"timed out after {limits.seconds:g} s", error=True))
    elif ending.over_limit:
        stream = STREAM_NAMES[ending.over_limit]
        findings.append(Finding(
            f"output limit: more than {limits.output_bytes:,} bytes on {stream}; the run was "
            "stopped", error=True))
    elif ending.status is None:
        findings.append(Finding("did not end", error=True))
    elif ending.status != case.expected_status:
        crashed = ending.status < 0 or (windows and ending.status in WINDOWS_EXCEPTIONS)
        findings.append(Finding(f"{describe_status(ending.status, windows)}, expected exit "
                                f"status {case.expected_status}", error=crashed))
    streams = [("stdout", ending.stdout), ("stderr", ending.stderr)]
    for stream, actual in streams:
        if actual is None or stream == ending.over_limit:  # no end to compare
            continue
        if windows:
            actual, complaint = decode_windows_text(actual)
            if complaint:
                findings.append(Finding(f"{STREAM_NAMES[stream]}: {complaint}, as no Windows "
                                        "text stream writes"))
                continue
        name = STREAM_NAMES[stream]
        if stream == "stdout" and case.path("stdout_filter.py"):
            actual = case.filter_stdout(actual, work)
            name += " (as the case's filter reduces it)"
        found = compare_stream(name, case.expected(stream), actual)
        if found:
            findings.append(Finding(*found))
    return findings


def failure_lines(case, status, stdout, stderr, work):
    """What is wrong with a run of the case that another runner made (in a browser): it ended
    with status (None: it did not end) and wrote stdout and stderr, in work. Lines to show; none
    when it passed."""
    findings = judge(case, Ending(status, stdout, stderr), work, False, Limits())
    return [line for finding in findings
            for line in [finding.summary] + ["  " + detail for detail in finding.details]]


class Runner:
    """Runs cases on executables, several at once if asked: check() may be called from many
    threads. windows: the executables write Windows' text; emulator: the words of a command
    that runs them (such as wine); memcheck: a memcheck.Memcheck to run them under, or None."""

    def __init__(self, windows=False, emulator=(), limits=None, memcheck=None):
        self.windows = windows
        self.emulator = list(emulator)
        self.limits = limits or Limits()
        self.memcheck = memcheck
        # A build whose sanitizers reserve shadow memory far beyond any limit on the address
        # space says so, and runs without one.
        self.no_address_limit = bool(os.environ.get("E2E_NO_ADDRESS_SPACE_LIMIT"))
        self._running = set()
        self._prepared = {}  # the PreparedCase of each case folder
        self._lock = threading.Lock()

    def available(self, facility, case):
        """Whether this runner can give the case the facility."""
        if self.windows:  # Windows has none of them
            return False
        posix = os.name == "posix" and resource is not None
        if facility == "address-space-limit":
            return (sys.platform.startswith("linux") and posix and not self.memcheck
                    and not self.emulator and not self.no_address_limit)
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
                self.memcheck and (argv0 == b"" or argv0.startswith(b"/")))
        if facility == "executable-script":
            return posix
        raise AssertionError(facility)

    def check(self, executable, case):
        """Runs the case on executable (an absolute path) and judges the run. Raises CannotRun
        when the executable cannot be started, CaseError when the case cannot be prepared."""
        missing = [f for f in case.requires if not self.available(f, case)]
        if missing:
            return Result(case, SKIPPED,
                          skip_reason="needs " + "; ".join(FACILITIES[f] for f in missing))
        scratch = tempfile.mkdtemp(prefix="case-")
        try:
            work = os.path.join(scratch, "work")
            os.mkdir(work)
            self._prepare(case, work)
            started = time.monotonic()
            ending = self._run(executable, case, work, scratch)
            seconds = time.monotonic() - started
            findings = judge(case, ending, work, self.windows, self.limits)
            memcheck = self.memcheck.findings(scratch) if self.memcheck else None
        finally:
            remove_tree(scratch)
        return Result(case, FAILED if findings else PASSED, findings, seconds=seconds,
                      memcheck=memcheck)

    def _prepare(self, case, work):
        """Fills work as case.prepare does. The inputs a case's setup.py makes are the same for
        every run, so they are made once and copied for each run; but a FIFO comes with a
        process that writes into it, which serves one run only."""
        if "fifo" in case.requires:
            case.prepare(work)
            return
        with self._lock:
            prepared = self._prepared.get(case.case_dir)
            if prepared is None:
                prepared = self._prepared[case.case_dir] = PreparedCase(case)
        prepared.copy_to(work)

    def stop_all(self):
        """Ends every run in progress, with every process it started."""
        with self._lock:
            for process in list(self._running):
                end_tree(process)

    def _command(self, executable, case, work, scratch, env):
        """The command line that runs the executable as the case asks, within the limits; the
        file it is started from (None: the command's first word); and a function that sets the
        limits in the child before the program starts, or None."""
        argv0 = case.argv0
        started_from = None
        if self.emulator:
            words = self.emulator + [executable] + case.args
        elif resource is None or argv0 == b"" or argv0.startswith(b"/"):
            # A name that no path in the working directory can be: exec gives it itself.
            words, started_from = [argv0] + case.args, executable
        else:
            reach_by_name(argv0, executable, work, scratch, env)
            words = (self.memcheck.command(scratch) if self.memcheck else []) + [argv0] + case.args
        if resource is None:
            return words, started_from, None
        limits = self._limits_of(case)
        if started_from:
            return words, started_from, lambda: set_limits(limits)
        # A shell sets the limits and execs the program: a function run between fork and exec
        # would make Python fork itself, several times slower than the whole run of a short case.
        return [SHELL, b"-c", ulimit_script(limits)] + words, None, None

    def _run(self, executable, case, work, scratch):
        env = dict(os.environ)
        command, started_from, preexec = self._command(executable, case, work, scratch, env)
        if os.name == "nt":  # Windows takes a command line of text
            command = [os.fsdecode(word) for word in command]
        stdin_path = case.text("stdin_path", "")
        if stdin_path:
            stdin = os.open(os.path.join(work, stdin_path), os.O_RDONLY)
        else:
            stdin = open_stdin(case, scratch)
        stdout_path = case.text("stdout_path", "")
        stdout = open(stdout_path, "wb") if stdout_path else subprocess.PIPE
        try:
            process = subprocess.Popen(command, executable=started_from, cwd=work, stdin=stdin,
                                       stdout=stdout, stderr=subprocess.PIPE, env=env,
                                       preexec_fn=preexec, start_new_session=os.name == "posix")
        except OSError as error:
            raise CannotRun(f"cannot run {executable}: {error.strerror or error}") from None
        finally:
            if stdin_path:
                os.close(stdin)
            else:
                stdin.close()
            if stdout_path:
                stdout.close()
        with self._lock:
            self._running.add(process)
        try:
            ending = self._wait(process)
        finally:
            with self._lock:
                self._running.discard(process)
        if ending.status in (126, 127) and ending.stderr.startswith(SHELL + b": "):
            # The shell that sets the limits could not exec the program.
            message = ending.stderr.decode(errors="replace").strip().split("\n")[-1]
            raise CannotRun(f"cannot run {executable}: {message}")
        return ending

    def _wait(self, process):
        """Collects what the process writes until it ends, within the limits."""
        deadline = time.monotonic() + self.limits.seconds
        readers = {name: StreamReader(pipe, self.limits.output_bytes,
                                      lambda: end_tree(process))
                   for name, pipe in (("stdout", process.stdout), ("stderr", process.stderr))
                   if pipe is not None}
        # The output ends with the program, or with the last process it started that holds it.
        for reader in readers.values():
            reader.join(max(0.0, deadline - time.monotonic()))
        timed_out = any(reader.is_alive() for reader in readers.values())
        if not timed_out:
            try:  # it may have closed its output and gone on
                process.wait(max(0.0, deadline - time.monotonic()))
            except subprocess.TimeoutExpired:
                timed_out = True
        if timed_out:
            end_tree(process)
            for reader in readers.values():
                reader.join()
        process.wait()
        over = [name for name, reader in readers.items() if reader.over]
        stdout = readers["stdout"].data() if "stdout" in readers else None
        return Ending(None if timed_out or over else process.returncode, stdout,
                      readers["stderr"].data(), timed_out=timed_out and not over,
                      over_limit=over[0] if over else None)

    def _limits_of(self, case):
        """The run's limits: (resource, value, ulimit's option and unit, whether the run must
        not go on without it)."""
        limits = [(resource.RLIMIT_CORE, 0, "-c", 512, True),  # no core files from a crash
                  # Files the program writes are bounded as its output is.
                  (resource.RLIMIT_FSIZE, self.limits.output_bytes, "-f", 512, True)]
        stack_kib = case.text("stack_kib", "")
        if stack_kib:
            limits.append((resource.RLIMIT_STACK, int(stack_kib) * 1024, "-s", 1024, True))
        address_space_kib = case.text("address_space_kib", "")
        if address_space_kib:
            limits.append((resource.RLIMIT_AS, int(address_space_kib) * 1024, "-v", 1024, True))
        elif (self.limits.memory_bytes and not self.emulator and not self.memcheck
              and not self.no_address_limit):
            # Only some systems take it (Linux does); elsewhere the run goes on without.
            limits.append((resource.RLIMIT_AS, self.limits.memory_bytes, "-v", 1024, False))
        return limits


def ulimit_script(limits):
    """A shell script that sets the limits, then execs its arguments."""
    optional = [f"ulimit {option} {value // unit} 2>/dev/null; "
                for _, value, option, unit, needed in limits if not needed]
    needed = [f"ulimit {option} {value // unit} && "
              for _, value, option, unit, needed in limits if needed]
    return "".join(optional + needed) + 'exec "$0" "$@"'


def set_limits(limits):
    """Sets the limits in a child between fork and exec, where only such calls are safe."""
    for which, value, _, _, needed in limits:
        try:
            resource.setrlimit(which, (value, value))
        except (OSError, ValueError):
            if needed:
                os._exit(125)


def reach_by_name(argv0, executable, work, scratch, env):
    """Makes the name argv0 lead to the executable, as exec looks a name up: a bare name through
    a folder of scratch put first on env's PATH, a relative path through a symbolic link at that
    path in work."""
    if b"/" in argv0:
        link = os.path.join(work, os.fsdecode(argv0))
        os.makedirs(os.path.dirname(link), exist_ok=True)
    else:
        bin_dir = os.path.join(scratch, "bin")
        os.mkdir(bin_dir)
        link = os.path.join(bin_dir, os.fsdecode(argv0))
        env["PATH"] = bin_dir + os.pathsep + env.get("PATH", "")
    os.symlink(executable, link)


class PreparedCase:
    """A case's working directory made once, in a folder of its own, to be copied for each run.
    The folder is removed when the process ends."""

    def __init__(self, case):
        self._case = case
        self._folder = None
        self._lock = threading.Lock()

    def copy_to(self, work):
        """Fills the empty folder work. Raises CaseError when the case cannot be prepared."""
        with self._lock:
            if self._folder is None:
                folder = tempfile.mkdtemp(prefix="prepared-")
                atexit.register(remove_tree, folder)
                self._case.prepare(folder)
                self._folder = folder
        shutil.copytree(self._folder, work, symlinks=True, dirs_exist_ok=True)


class StreamReader(threading.Thread):
    """Reads a pipe to its end, keeping at most limit bytes; past them it calls over() once
    and reads no more."""

    def __init__(self, pipe, limit, over):
        super().__init__(daemon=True)
        self.pipe = pipe
        self.limit = limit
        self.on_over = over
        self.over = False
        self._chunks = []
        self.start()

    def run(self):
        size = 0
        with self.pipe:
            while True:
                chunk = os.read(self.pipe.fileno(), 1 << 16)
                if not chunk:
                    return
                if size + len(chunk) > self.limit:
                    self._chunks.append(chunk[:self.limit - size])
                    self.over = True
                    self.on_over()
                    return
                self._chunks.append(chunk)
                size += len(chunk)

    def data(self):
        """What was read. REQUIRES: the reader has ended."""
        return b"".join(self._chunks)


def end_tree(process):
    """Ends the process and every process it started (those that stayed in its group)."""
    if os.name == "posix":
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            pass
    else:
        subprocess.run(["taskkill", "/F", "/T", "/PID", str(process.pid)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def open_stdin(case, scratch):
    """Standard input of the run: the case's stdin as a file, or the null device."""
    if not case.path("stdin"):
        return open(os.devnull, "rb")
    path = os.path.join(scratch, "stdin")
    with open(path, "wb") as out:
        out.write(case.bytes("stdin"))
    return open(path, "rb")


def remove_tree(path):
    """Removes the folder whatever a program left in it, folders it made unwritable included."""
    shutil.rmtree(path, ignore_errors=True)
    if os.path.exists(path):
        os.chmod(path, 0o700)
        for folder, subfolders, _ in os.walk(path):  # each made readable before it is listed
            for subfolder in subfolders:
                if not os.path.islink(os.path.join(folder, subfolder)):
                    os.chmod(os.path.join(folder, subfolder), 0o700)
        shutil.rmtree(path, ignore_errors=True)
