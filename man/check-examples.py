#!/usr/bin/env python3
"""Checks that the EXAMPLES of a manual page show what the programs really print.

Usage: check-examples.py [--cross-built] PAGE FILES_DIR PROGRAM_DIR...

The page is rendered as man(1) shows it on a terminal. Every example block (.EX to .EE) of its
EXAMPLES section is a transcript in which what the user types is set in bold: a line "$ command"
with the command in bold is typed at a shell, and the lines up to the next such line are what
the terminal then shows. A bold run at the end of any other line is typed to the running
program, followed by Enter. The commands of all blocks run in order in one scratch directory
that starts as a copy of FILES_DIR (the files the page's prose describes), with the PROGRAM_DIRs
first on PATH. Each command runs in the POSIX shell on a pseudo-terminal, as a user would run
it: standard output and standard error both reach the screen, each typed line is typed once the
screen shows everything before it, and the end of input (Ctrl-D) once the screen shows the whole
transcript. Exits 1 at the first command whose screen differs from the page, and with 77
(skipped) where there is no pseudo-terminal, or the programs were built for another system
(--cross-built).
"""

import difflib
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

try:
    import pty
except ImportError:  # not a POSIX system
    pty = None

BEGIN = "BEGIN-EXAMPLE-7f3a"
END = "END-EXAMPLE-7f3a"
# Only a failure waits this long: a program that never shows what the page shows.
FAILURE_SECONDS = 30
END_OF_INPUT = b"\x04"
SKIPPED = 77


class Transcript:
    """One command, the screen it shows and the lines typed into it, each as the position in
    the screen where its echo begins and the bytes typed there."""

    def __init__(self, command):
        self.command = command
        self.screen = ""
        self.typed = []

    def add_line(self, shown, typed):
        """Adds a line of the screen: `shown` as written by the program, then `typed`, which
        the user types and the terminal echoes, if the line has any."""
        if typed:
            self.typed.append((len(self.screen.encode()) + len(shown.encode()),
                               (typed + "\n").encode()))
        self.screen += shown + typed + "\n"


def rendered_examples(page):
    """The example blocks of the EXAMPLES section as rendered, each a list of lines in which
    bold letters keep the overstrike form "c\\bc" that grotty gives them."""
    with open(page, encoding="utf-8") as f:
        source = f.read().splitlines()
    marked, in_examples = [], False
    for line in source:
        if line.startswith(".SH"):
            in_examples = line.split(None, 1)[1:] == ["EXAMPLES"]
        if in_examples and line == ".EE":
            marked.append(END)
        marked.append(line)
        if in_examples and line == ".EX":
            marked.append(BEGIN)
    text = subprocess.run(["groff", "-man", "-Tutf8", "-P-cou"], input="\n".join(marked) + "\n",
                          capture_output=True, text=True, check=True).stdout
    blocks, block, indent = [], None, 0
    for line in text.splitlines():
        if line.strip() == BEGIN:
            block, indent = [], len(line) - len(line.lstrip())
        elif line.strip() == END:
            blocks.append(block)
            block = None
        elif block is not None:
            block.append(line[indent:])
    return blocks


def plain_and_bold(line):
    """Splits a rendered line into its plain start and the bold run that ends it. A blank between
    bold letters belongs to the run, as grotty does not overstrike blanks."""
    letters = []  # (letter, bold)
    i = 0
    while i < len(line):
        if line[i + 1:i + 2] == "\b" and line[i + 2:i + 3] == line[i]:
            letters.append((line[i], True))
            i += 3
        else:
            letters.append((line[i], False))
            i += 1
    start = len(letters)
    while start > 0 and (letters[start - 1][1] or (
            letters[start - 1][0] == " " and start > 1 and letters[start - 2][1])):
        start -= 1
    plain = "".join(letter for letter, _ in letters[:start])
    if any(bold for _, bold in letters[:start]):
        raise ValueError(f"typed input must end its line: {plain!r}")
    return plain, "".join(letter for letter, _ in letters[start:])


def transcripts(blocks):
    """The transcripts of the example blocks, in page order."""
    found = []
    for block in blocks:
        current = None
        for line in block:
            shown, typed = plain_and_bold(line)
            if shown == "$ " and typed:
                current = Transcript(typed)
                found.append(current)
            elif current is not None:
                current.add_line(shown, typed)
            else:
                raise ValueError(f"example block does not start with a command in bold: {line!r}")
    return found


def settled(screen):
    """The screen as a line-oriented transcript shows it: the terminal's CR LF line ends as LF.
    A CR that may yet be followed by its LF is left out."""
    screen = screen.replace(b"\r\n", b"\n")
    return screen[:-1] if screen.endswith(b"\r") else screen


def run_on_terminal(transcript, cwd, env):
    """What a terminal shows while the transcript's command runs, with the transcript's input
    typed into it; and, when the program took too long, what it was still awaited to do."""
    expected = transcript.screen.encode()
    to_type = list(transcript.typed)
    input_ended = False
    controller, terminal = pty.openpty()
    process = subprocess.Popen(["/bin/sh", "-c", transcript.command], cwd=cwd, env=env,
                               stdin=terminal, stdout=terminal, stderr=terminal,
                               start_new_session=True)
    os.close(terminal)
    screen = b""
    deadline = time.monotonic() + FAILURE_SECONDS
    try:
        while True:
            shown = settled(screen)
            if not input_ended:
                if to_type and shown == expected[:to_type[0][0]]:
                    os.write(controller, to_type.pop(0)[1])
                elif (not to_type and shown == expected) or not expected.startswith(shown):
                    # The transcript is complete, or can no longer be: the program may end.
                    end_input(controller, process)
                    input_ended = True
            ready, _, _ = select.select([controller], [], [], max(0, deadline - time.monotonic()))
            if not ready:
                return screen, awaited(expected, to_type, input_ended)
            try:
                chunk = os.read(controller, 65536)
            except OSError:  # every process of the terminal has closed it
                chunk = b""
            if not chunk:
                return screen, None
            screen += chunk
    finally:
        os.close(controller)
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGKILL)
        process.wait()


def end_input(controller, process):
    """Types Ctrl-D for a program that may still read its input."""
    if process.poll() is None:
        try:
            os.write(controller, END_OF_INPUT)
        except OSError:  # the program has closed the terminal meanwhile
            pass


def awaited(expected, to_type, input_ended):
    """What a run that took too long was still expected to do."""
    if input_ended:
        return "the command to end after the end of its input"
    if to_type:
        return f"the screen to show {expected[:to_type[0][0]].decode()!r} before typing"
    return f"the screen to show {expected.decode()!r}"


def difference(expected, shown):
    """The lines of the page's screen and of the terminal's as a unified diff, each line with
    its end written out, so that blanks, control characters and a missing end show."""
    def lines(text):
        return [repr(line) for line in re.findall(r"[^\n]*\n|[^\n]+$", text)]
    return "\n".join(difflib.unified_diff(lines(expected), lines(shown), "page", "terminal",
                                          lineterm=""))


def main():
    arguments = sys.argv[1:]
    if arguments[0] == "--cross-built" or pty is None:
        print("SKIP: needs programs built for this system, run on its pseudo-terminal")
        return SKIPPED
    page, files, program_dirs = arguments[0], arguments[1], arguments[2:]
    env = dict(os.environ, PATH=os.pathsep.join(program_dirs + [os.environ.get("PATH", "")]),
               LC_ALL="C.UTF-8", TERM="dumb")
    commands = transcripts(rendered_examples(page))
    if not commands:
        print(f"{page}: no example transcripts", file=sys.stderr)
        return 1
    with tempfile.TemporaryDirectory(prefix="man-examples-") as scratch:
        work = os.path.join(scratch, "work")
        if os.path.isdir(files):
            shutil.copytree(files, work)
        else:
            os.mkdir(work)
        for transcript in commands:
            screen, waiting_for = run_on_terminal(transcript, work, env)
            shown = screen.replace(b"\r\n", b"\n").decode("utf-8", "replace")
            if waiting_for is not None or shown != transcript.screen:
                wait = "" if waiting_for is None else (
                    f" waited {FAILURE_SECONDS} s for {waiting_for}; it")
                print(f"{page}: the example `$ {transcript.command}`{wait} differs from what the "
                      f"terminal shows (each line as a Python string):\n"
                      f"{difference(transcript.screen, shown)}", file=sys.stderr)
                return 1
    print(f"{page}: {len(commands)} example commands show what the programs print")
    return 0


if __name__ == "__main__":
    sys.exit(main())
