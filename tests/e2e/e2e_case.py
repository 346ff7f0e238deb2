"""End-to-end cases: folders of data that say how to run a program and what it must do.

A case is a folder; every file in it but description is optional:
  description        one line: what the case checks, shown in reports
  extra              present when the case asks more than every correct program must do: a fault
                     these programs mend, a choice each program makes for itself, or a facility
                     of the platform; its one line says which. A case without it is required.
  files/             copied into the fresh working directory before the run
  setup.py           Python run in the working directory before the run (generated inputs)
  args               the command-line arguments, one per line (an empty line is an empty argument)
  argv0              the name the program is invoked by (default: the program's plain name)
  stdin              standard input (default: empty)
  stdin_path         a path, relative to the working directory, to redirect standard input from
  stack_kib          the stack limit of the run, in KiB
  address_space_kib  the address-space limit of the run, in KiB
  stdout_path        a path to send standard output to instead of capturing it (such as
                     /dev/full); standard output is then not compared
  stdout_filter.py   Python run in the working directory with standard output as its input;
                     what it writes is compared instead
  expected_stdout    expected standard output (default: empty)
  expected_stderr    expected standard error (default: empty)
  expected_status    expected exit status (default: 0)
  requires           the facilities the case needs beyond running a program, one per line
                     (see FACILITIES); where one is missing the case is skipped
  fixture            the name of a folder of fixtures/, beside the folder of the case set, that
                     holds files of the kinds above shared by several cases

Every file but files/ and fixture may also be given for one program only, as FILE.PROGRAM with
the plain name of the program under test, so that one case set serves two programs that differ
in a few outputs, and for Windows only, as FILE.windows, where its text conventions make a case
differ. On Windows a file is looked for as FILE.windows first. Then it is looked for as
FILE.PROGRAM, then FILE, in the case folder and then in its fixture; the fixture's files/ is
copied before the case's own.

Expected outputs are written with a bare newline at each line end. A program built for Windows
writes CR LF there instead (decode_windows_text); every other byte is the same.
"""

import argparse
import os
import shutil
import subprocess
import sys

# The case set of each program: the folder of tests/ that holds its e2e/ and fixtures/.
CASE_SETS = {
    "go_shopping": "store",
    "bst_driver": "bst",
    "word_count_driver": "wordcount",
    "word_count_solution": "wordcount",
    "roster_test": "roster",
}

# What a case may require, with the words a skip gives for it.
FACILITIES = {
    "address-space-limit": "a limit on the address space of the run (setrlimit on Linux)",
    "stack-limit": "a limit on the stack of the run (setrlimit)",
    "dev-full": "the device /dev/full",
    "fifo": "a FIFO (mkfifo)",
    "directory-stream": "a directory opened as a stream",
    "program-name": "a program name of the runner's choosing (argv[0] set by exec)",
    "executable-script": "a script run as a program by its #! line (POSIX)",
}

# The files that only a facility gives meaning to: a case holding one must require it.
FILE_FACILITIES = {
    "address_space_kib": "address-space-limit",
    "stack_kib": "stack-limit",
    "argv0": "program-name",
}

REQUIRED = "required"
EXTRA = "extra"


class CaseError(Exception):
    """A case folder that cannot be run as it stands."""


class Case:
    """The case in case_dir, read for the program named program (its plain name, without a
    folder or an .exe ending). Raises CaseError when the folder is damaged: no description, an
    unknown facility, a missing fixture, an exit status that is no number."""

    def __init__(self, program, case_dir, windows=False):
        self.program = program
        self.case_dir = os.path.abspath(case_dir)
        self.name = os.path.basename(self.case_dir)
        self.windows = windows
        self.fixture_dir = None
        fixture = os.path.join(self.case_dir, "fixture")
        if os.path.isfile(fixture):
            name = read_bytes(fixture).decode().strip()
            set_dir = os.path.dirname(self.case_dir)
            self.fixture_dir = os.path.join(os.path.dirname(set_dir), "fixtures", name)
            if not os.path.isdir(self.fixture_dir):
                raise CaseError(f"no fixture folder {self.fixture_dir}")
        self.description = self.text("description", "").strip()
        if not self.description:
            raise CaseError("no description")
        # Why the case asks more than every correct program must do; None for a required one.
        self.extra_reason = None
        if self.path("extra"):
            self.extra_reason = self.text("extra", "").strip()
            if not self.extra_reason:
                raise CaseError("extra says not why")
        self.requires = self.text("requires", "").split()
        for facility in self.requires:
            if facility not in FACILITIES:
                raise CaseError(f"unknown facility {facility} in requires")
        for name, facility in FILE_FACILITIES.items():
            if self.path(name) and facility not in self.requires:
                raise CaseError(f"{name} needs {facility} among the requirements")
        try:
            self.expected_status = int(self.text("expected_status", "0"))
        except ValueError:
            raise CaseError("expected_status holds no number") from None

    @property
    def kind(self):
        """REQUIRED or EXTRA."""
        return EXTRA if self.extra_reason else REQUIRED

    def path(self, name):
        """The path of the case's file name for this program, or None."""
        suffixes = ([".windows"] if self.windows else []) + ["." + self.program, ""]
        for folder in filter(None, (self.case_dir, self.fixture_dir)):
            for suffix in suffixes:
                candidate = os.path.join(folder, name + suffix)
                if os.path.isfile(candidate):
                    return candidate
        return None

    def bytes(self, name, default=b""):
        """The contents of the case's file name, or default."""
        found = self.path(name)
        return read_bytes(found) if found else default

    def text(self, name, default):
        """The first line of the case's file name, or default."""
        found = self.path(name)
        return read_bytes(found).decode().split("\n")[0] if found else default

    @property
    def args(self):
        """The command-line arguments, as bytes."""
        return self.bytes("args").split(b"\n")[:-1] if self.path("args") else []

    @property
    def argv0(self):
        """The name the program is to see as argv[0], as bytes."""
        found = self.path("argv0")
        return read_bytes(found).split(b"\n")[0] if found else os.fsencode(self.program)

    def expected(self, stream):
        """The expected bytes of stream, "stdout" or "stderr"."""
        return self.bytes("expected_" + stream)

    def prepare(self, work_dir):
        """Fills the empty folder work_dir as the run's working directory: files/ of the fixture
        and of the case, then whatever setup.py makes. Raises CaseError when setup.py fails."""
        for folder in filter(None, (self.fixture_dir, self.case_dir)):
            files = os.path.join(folder, "files")
            if os.path.isdir(files):
                shutil.copytree(files, work_dir, dirs_exist_ok=True)
        setup = self.path("setup.py")
        if setup:
            done = run_script(setup, work_dir, b"")
            if done.returncode != 0:
                raise CaseError(f"setup.py failed: {done.stderr.decode(errors='replace')}")

    def filter_stdout(self, stdout, work_dir):
        """Standard output as it is compared: through stdout_filter.py, where there is one."""
        script = self.path("stdout_filter.py")
        if not script:
            return stdout
        done = run_script(script, work_dir, stdout)
        if done.returncode != 0:
            raise CaseError(f"stdout_filter.py failed: {done.stderr.decode(errors='replace')}")
        return done.stdout


def cases_of(program, root, windows=False, names=None):
    """The cases of program (one of CASE_SETS) below root, the folder that holds tests/, in the
    order of their names; only those named in names, where names is given. Raises CaseError for
    a damaged folder, a missing or empty case set, or a name that is no case."""
    set_dir = os.path.join(root, "tests", CASE_SETS[program], "e2e")
    if not os.path.isdir(set_dir):
        raise CaseError(f"no case folder {set_dir}")
    folders = sorted(entry.name for entry in os.scandir(set_dir) if entry.is_dir())
    if not folders:
        raise CaseError(f"no cases in {set_dir}")
    unknown = sorted(set(names or []) - set(folders))
    if unknown:
        raise CaseError(f"no case {unknown[0]} among the cases of {program}")
    cases = []
    for folder in folders:
        if names and folder not in names:
            continue
        try:
            cases.append(Case(program, os.path.join(set_dir, folder), windows))
        except CaseError as error:
            raise CaseError(f"case folder {os.path.join(set_dir, folder)}: {error}") from None
    return cases


def read_bytes(path):
    with open(path, "rb") as data:
        return data.read()


def run_script(script, work_dir, stdin):
    """Runs the Python script in work_dir with stdin as its input. The scripts need only the
    standard library, so the interpreter starts without site packages, in a third of the time."""
    return subprocess.run([sys.executable, "-S", script], cwd=work_dir, input=stdin,
                          capture_output=True)


def argument_parser(doc):
    """An argparse parser for a runner whose docstring is doc, with the options by which the
    build says how its programs run (PROGRAM_RUN_OPTIONS of tests/CMakeLists.txt)."""
    parser = argparse.ArgumentParser(description=doc.split("\n")[0])
    add_run_options(parser)
    return parser


def add_run_options(parser):
    """Adds to parser the options that say how the programs run: --windows and --emulator."""
    parser.add_argument("--windows", action="store_true", default=os.name == "nt",
                        help="the programs were built for Windows and write its text "
                             "(the default on Windows)")
    parser.add_argument("--emulator", action="append", default=[], metavar="WORD",
                        help="a word of the command that runs the programs, once per word "
                             "(such as wine)")


def decode_windows_text(output):
    """Output that a Windows text stream wrote, as the same program writes it elsewhere: every
    CR LF back to a bare newline. Returns (decoded, None), or (None, a complaint) when a newline
    was written without its CR, as a Windows text stream never writes one."""
    at = 0
    line = 1
    while True:
        at = output.find(b"\n", at)
        if at < 0:
            return output.replace(b"\r\n", b"\n"), None
        if at == 0 or output[at - 1:at] != b"\r":
            return None, f"line {line} ends in a newline without CR"
        at += 1
        line += 1
