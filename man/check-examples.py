#!/usr/bin/env python3
"""Checks that the EXAMPLES of a manual page show what the programs really print.

Usage: check-examples.py PAGE FILES_DIR PROGRAM_DIR...

The page is rendered as man(1) shows it on a terminal. Every example block (.EX to .EE) of its
EXAMPLES section is a transcript: a line "$ command" is typed at a shell, and the lines up to the
next "$ " are what the terminal then shows, typed input included. The commands of all blocks run
in order in one scratch directory that starts as a copy of FILES_DIR (the files the page's prose
describes), with the PROGRAM_DIRs first on PATH. Each command runs on a pseudo-terminal, as a
user would run it: standard output and standard error both reach the screen, and where the
program waits for input in the middle of a line that the transcript continues, the rest of that
line is typed. Exits 1 at the first command whose screen differs from the page.
"""

import os
import pty
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

BEGIN = "BEGIN-EXAMPLE-7f3a"
END = "END-EXAMPLE-7f3a"
QUIET_SECONDS = 0.3  # a program silent this long in the middle of a line waits for input
COMMAND_SECONDS = 30


def rendered_examples(page):
    """The example blocks of the EXAMPLES section as rendered, each a list of lines."""
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
    text = subprocess.run(["groff", "-man", "-Tutf8", "-P-cbou"], input="\n".join(marked) + "\n",
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


def transcripts(blocks):
    """(command, expected screen) pairs in page order."""
    pairs = []
    for block in blocks:
        for line in block:
            if line.startswith("$ "):
                pairs.append((line[2:], []))
            elif pairs:
                pairs[-1][1].append(line)
            else:
                raise ValueError(f"example block does not start with a command: {line!r}")
    return [(command, "".join(line + "\n" for line in screen)) for command, screen in pairs]


def run_on_terminal(command, expected, cwd, env):
    """What a terminal shows while `command` runs: its output and the echo of what is typed."""
    controller, terminal = pty.openpty()
    process = subprocess.Popen(["bash", "-c", command], cwd=cwd, env=env, stdin=terminal,
                               stdout=terminal, stderr=terminal, start_new_session=True)
    os.close(terminal)
    screen = ""
    deadline = time.monotonic() + COMMAND_SECONDS
    try:
        while time.monotonic() < deadline:
            ready, _, _ = select.select([controller], [], [], QUIET_SECONDS)
            if ready:
                try:
                    chunk = os.read(controller, 65536)
                except OSError:  # every process of the terminal has closed it
                    break
                if not chunk:
                    break
                screen += chunk.decode("utf-8", "replace").replace("\r\n", "\n")
                continue
            os.write(controller, typed_next(screen, expected).encode())
        else:
            screen += f"\n[no end within {COMMAND_SECONDS} s]\n"
    finally:
        os.close(controller)
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGKILL)
        process.wait()
    return screen


def typed_next(screen, expected):
    """What the user types when the program falls silent: the rest of the transcript's line
    where the screen stops in the middle of it, and the end of input once the screen shows all
    of the transcript."""
    if not expected.startswith(screen) or len(screen) == len(expected):
        return "\x04"
    line_end = expected.index("\n", len(screen))
    if screen and not screen.endswith("\n"):
        return expected[len(screen):line_end + 1]
    return "\x04"


def main():
    page, files, program_dirs = sys.argv[1], sys.argv[2], sys.argv[3:]
    env = dict(os.environ, PATH=os.pathsep.join(program_dirs + [os.environ.get("PATH", "")]),
               LC_ALL="C.UTF-8", TERM="dumb")
    pairs = transcripts(rendered_examples(page))
    if not pairs:
        print(f"{page}: no example transcripts", file=sys.stderr)
        return 1
    with tempfile.TemporaryDirectory(prefix="man-examples-") as scratch:
        work = os.path.join(scratch, "work")
        if os.path.isdir(files):
            shutil.copytree(files, work)
        else:
            os.mkdir(work)
        for command, expected in pairs:
            screen = run_on_terminal(command, expected, work, env)
            if screen != expected:
                print(f"{page}: the example `$ {command}` shows\n{expected!r}\nbut the terminal "
                      f"shows\n{screen!r}", file=sys.stderr)
                return 1
    print(f"{page}: {len(pairs)} example commands show what the programs print")
    return 0


if __name__ == "__main__":
    sys.exit(main())
