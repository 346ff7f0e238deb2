"""Runs programs under valgrind's memcheck and reads what it found: invalid accesses and other
memory errors, and memory not freed at the end, as one line each.

Every block still allocated when the program ends counts, "still reachable" ones too: each
container must free what it allocates. The buffers that libstdc++ gives the standard streams
after sync_with_stdio(false), which it never frees, are no fault of a program's and are left out
(valgrind.supp).
"""

import os
import shutil
import xml.etree.ElementTree as ElementTree

# Lines of findings shown per run at most; the rest are counted.
SHOWN_FINDINGS = 10
SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "valgrind.supp")
LEAK_KINDS = {
    "Leak_DefinitelyLost": "definitely lost",
    "Leak_IndirectlyLost": "indirectly lost",
    "Leak_PossiblyLost": "possibly lost",
    "Leak_StillReachable": "still reachable",
}


class Memcheck:
    """valgrind's memcheck, found on the PATH. REQUIRES: available()."""

    def __init__(self):
        self.valgrind = shutil.which("valgrind")

    def available(self):
        return self.valgrind is not None

    def command(self, scratch):
        """The words that run a program under memcheck, its report written into scratch."""
        return [self.valgrind, "--tool=memcheck", "--leak-check=full", "--show-leak-kinds=all",
                # Inlined frames are left out of the traces: reading them is a fifth of the
                # time of a short run.
                "--read-inline-info=no", "--child-silent-after-fork=yes",
                f"--suppressions={SUPPRESSIONS}", "--xml=yes",
                f"--xml-file={os.path.join(scratch, 'memcheck.xml')}",
                f"--log-file={os.path.join(scratch, 'memcheck.log')}"]

    def findings(self, scratch):
        """What memcheck found in the run whose report is in scratch, a line each; [] when it
        found nothing."""
        try:
            root = ElementTree.parse(os.path.join(scratch, "memcheck.xml")).getroot()
        except (OSError, ElementTree.ParseError):
            return ["no report from memcheck: the run did not end by itself"]
        errors = {}
        for error in root.iter("error"):
            line = describe_error(error)
            errors[line] = errors.get(line, 0) + 1
        lines = [f"{line} ({count} times)" if count > 1 else line
                 for line, count in errors.items()]
        if len(lines) > SHOWN_FINDINGS:
            lines[SHOWN_FINDINGS:] = [f"and {len(lines) - SHOWN_FINDINGS} more"]
        return lines


def describe_error(error):
    """One error of memcheck's report as a line: what it is and where it happened."""
    kind = error.findtext("kind", "")
    if kind in LEAK_KINDS:
        blocks = int(error.findtext("xwhat/leakedblocks", "0"))
        what = (f"{int(error.findtext('xwhat/leakedbytes', '0')):,} bytes in {blocks:,} "
                f"block{'' if blocks == 1 else 's'} {LEAK_KINDS[kind]}, allocated")
    else:
        what = error.findtext("what") or error.findtext("xwhat/text") or kind
    return f"{what} {where(error)}".rstrip()


def where(error):
    """The first frame of the error's stack that is in the program's own source, as "at FUNCTION
    (FILE:LINE)", or in its first frame where none is."""
    frames = [frame for frame in error.findall("stack/frame")
              if "vgpreload" not in frame.findtext("obj", "")]  # valgrind's own allocator
    for frame in frames:
        if frame.findtext("file"):
            return (f"at {frame.findtext('fn', '?')} "
                    f"({frame.findtext('file')}:{frame.findtext('line', '?')})")
    if frames:
        return f"at {frames[0].findtext('fn') or frames[0].findtext('ip', '?')}"
    return ""
