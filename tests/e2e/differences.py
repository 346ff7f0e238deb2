"""Where an output differs from the expected one, shown so that a student can act on it: the
first difference by line and column (both from 1, the column in bytes), the two lines there,
expected above actual, and a short line diff from a few lines before it.

The characters that look like nothing are marked as the web page marks them, in letters that
every font has: a carriage return as [CR], a tab as [TAB], each space at the end of a line as ·,
and a missing newline at the end of the output is said in words. Any other control character,
and a byte that is not UTF-8, shows as \\xNN, so that what is shown is always printable text.
"""

import difflib
import itertools

LEGEND = ("Marked: [CR] a carriage return, [TAB] a tab, · a space at the end of a line; \\xNN a "
          "control byte or a byte that is not UTF-8.")
NO_NEWLINE = "(no newline at the end of the output)"
ENDS_BEFORE = "(the output ends before this line)"

# A line longer than this is shown cut, around the difference.
SHOWN_LINE_BYTES = 120
# The line diff starts this many lines before the first difference...
CONTEXT_LINES = 3
# ...looks no further than this from there...
WINDOW_LINES = 2000
WINDOW_BYTES = 256 << 10
# ...and shows at most this many lines.
SHOWN_DIFF_LINES = 30


def visible(line):
    """The bytes of a line (without its newline) as printable text, marked."""
    text = line.decode("utf-8", errors="surrogateescape")
    body = text.rstrip(" ")
    shown = []
    for char in body:
        code = ord(char)
        if char == "\r":
            shown.append("[CR]")
        elif char == "\t":
            shown.append("[TAB]")
        elif 0xDC80 <= code <= 0xDCFF:  # a byte that is not UTF-8
            shown.append(f"\\x{code - 0xDC00:02x}")
        elif code < 0x20 or code == 0x7F:
            shown.append(f"\\x{code:02x}")
        elif 0x80 <= code < 0xA0:
            shown.append(f"\\u{code:04x}")
        else:
            shown.append(char)
    return "".join(shown) + "·" * (len(text) - len(body))


def split_lines(output):
    """The lines of output, each with its newline but a last one that has none."""
    lines = output.split(b"\n")
    last = lines.pop()
    return [line + b"\n" for line in lines] + ([last] if last else [])


def first_differing_offset(expected, actual):
    """The first offset at which the two differ, the end of the shorter counting as a
    difference. REQUIRES: they differ."""
    step = 1 << 16
    at = 0
    while expected[at:at + step] == actual[at:at + step]:
        at += step
    end = min(len(expected), len(actual), at + step)
    while at < end and expected[at] == actual[at]:
        at += 1
    return at


def shown_line(line, cut_from):
    """A line (with its newline, if it has one) as shown, cut from the byte cut_from to
    SHOWN_LINE_BYTES further, or None past the end of the output."""
    if line is None:
        return ENDS_BEFORE
    body = line[:-1] if line.endswith(b"\n") else line
    part = body[cut_from:cut_from + SHOWN_LINE_BYTES]
    text = ("…" if cut_from else "") + visible(part)
    if cut_from + SHOWN_LINE_BYTES < len(body):
        text += "…"
    if not line.endswith(b"\n"):
        text += "   " + NO_NEWLINE
    return text


def compare_stream(name, expected, actual):
    """None when the outputs are the same bytes; otherwise a summary ("NAME: first difference at
    line L, column C") and the lines that show it."""
    if expected == actual:
        return None
    at = first_differing_offset(expected, actual)
    line_start = expected.rfind(b"\n", 0, at) + 1
    line = expected.count(b"\n", 0, line_start) + 1
    column = at - line_start + 1
    expected_lines = split_lines(expected)
    actual_lines = split_lines(actual)
    cut_from = max(0, column - 1 - SHOWN_LINE_BYTES // 2)
    details = [
        "expected: " + shown_line(_line(expected_lines, line), cut_from),
        "actual:   " + shown_line(_line(actual_lines, line), cut_from),
    ]
    details += line_diff(expected_lines, actual_lines, line)
    return f"{name}: first difference at line {line:,}, column {column:,}", details


def _line(lines, number):
    return lines[number - 1] if number <= len(lines) else None


def line_diff(expected_lines, actual_lines, first_line):
    """A line diff of both outputs from a few lines before first_line: "- " expected only, "+ "
    actual only, "  " both, in hunks headed "@@ expected line E, actual line A @@"."""
    start = max(0, first_line - 1 - CONTEXT_LINES)
    expected_window = _window(expected_lines, start)
    actual_window = _window(actual_lines, start)
    matcher = difflib.SequenceMatcher(None, expected_window, actual_window, autojunk=False)
    shown = ["line diff (- expected, + actual):"]
    for group in matcher.get_grouped_opcodes(CONTEXT_LINES):
        shown.append(f"  @@ expected line {start + group[0][1] + 1:,}, "
                     f"actual line {start + group[0][3] + 1:,} @@")
        for tag, e1, e2, a1, a2 in group:
            if tag == "equal":
                shown += ["    " + _diff_line(line) for line in expected_window[e1:e2]]
                continue
            # A line replaced by one other shows beside it, as most differences are in a line.
            for expected, actual in itertools.zip_longest(expected_window[e1:e2],
                                                          actual_window[a1:a2]):
                if expected is not None:
                    shown.append("  - " + _diff_line(expected))
                if actual is not None:
                    shown.append("  + " + _diff_line(actual))
    if len(shown) > SHOWN_DIFF_LINES + 1:
        hidden = len(shown) - SHOWN_DIFF_LINES - 1
        shown[SHOWN_DIFF_LINES + 1:] = [f"  ({hidden:,} more lines of the diff not shown)"]
    return shown


def _window(lines, start):
    window = []
    size = 0
    for line in lines[start:start + WINDOW_LINES]:
        size += len(line)
        if size > WINDOW_BYTES and window:
            break
        window.append(line)
    return window


def _diff_line(line):
    body = line[:-1] if line.endswith(b"\n") else line
    shown = visible(body[:SHOWN_LINE_BYTES * 2])
    if len(body) > SHOWN_LINE_BYTES * 2:
        shown += "…"
    return shown if line.endswith(b"\n") else shown + "   " + NO_NEWLINE
