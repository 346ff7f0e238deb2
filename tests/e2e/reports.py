"""Reports of checking executables against a program's cases: the text a student reads, a
summary row per executable, and the files that grading tools read: CSV, JUnit XML and
Gradescope's results.json.

Every text taken into a report is printable: what a program wrote is shown marked
(differences.py), and any other text (an executable's path may hold any byte) passes through
printable(), so that the XML and JSON files stay valid whatever a program did.
"""

import csv
import json
import re
import xml.etree.ElementTree as ElementTree
from dataclasses import dataclass

from case_runner import FAILED, PASSED, SKIPPED
from differences import LEGEND
from e2e_case import EXTRA, REQUIRED

LABELS = {PASSED: "PASS", FAILED: "FAIL", SKIPPED: "SKIP"}
# Characters XML 1.0 does not allow, and the halves of surrogate pairs, which a path decoded
# from bytes that are not UTF-8 holds.
UNPRINTABLE = re.compile("[^\t\n\r\x20-\x7e\xa0-\ud7ff\ue000-\ufffd\U00010000-\U0010ffff]")


def printable(text):
    """text with each character that XML or JSON may not carry as \\xNN or \\uNNNN; a byte that
    was not UTF-8 in a decoded path shows as itself."""
    def escape(match):
        code = ord(match.group())
        if 0xDC80 <= code <= 0xDCFF:
            return f"\\x{code - 0xDC00:02x}"
        return f"\\x{code:02x}" if code < 0x100 else f"\\u{code:04x}"
    return UNPRINTABLE.sub(escape, text)


@dataclass
class Checked:
    """The results of one executable checked against a program's cases."""
    executable: str
    program: str
    results: list

    def count(self, kind, verdict=None):
        return sum(1 for r in self.results if r.case.kind == kind and r.verdict != SKIPPED
                   and (verdict is None or r.verdict == verdict))

    @property
    def skipped(self):
        return sum(1 for r in self.results if r.verdict == SKIPPED)

    @property
    def memchecked(self):
        return any(r.memcheck is not None for r in self.results)

    @property
    def memcheck_failures(self):
        return sum(1 for r in self.results if r.memcheck)

    @property
    def passed(self):
        """Whether every case that ran passed, memcheck included where it ran."""
        return all(r.verdict != FAILED and not r.memcheck for r in self.results)

    def counts(self):
        """The counts as a student reads them."""
        parts = [f"{kind} {self.count(kind, PASSED)} of {self.count(kind)} passed"
                 for kind in (REQUIRED, EXTRA)]
        parts.append(f"{self.skipped} skipped")
        if self.memchecked:
            parts.append(f"memcheck found something in {self.memcheck_failures}"
                         if self.memcheck_failures else "memcheck found nothing")
        return ", ".join(parts)


def case_lines(result):
    """The report of one case: its verdict line, then what went wrong, indented."""
    case = result.case
    lines = [f"{LABELS[result.verdict]} {case.name} ({case.kind}): {case.description}"]
    if result.verdict == SKIPPED:
        return lines + [f"  {result.skip_reason}"]
    if case.extra_reason and result.verdict == FAILED:
        lines.append(f"  extra: {case.extra_reason}")
    for finding in result.findings:
        lines.append(f"  {finding.summary}")
        lines += [f"    {detail}" for detail in finding.details]
    if result.memcheck:
        lines += ["  memcheck:"] + [f"    {found}" for found in result.memcheck]
    return lines


def text_report(checked):
    """The report of one executable: every case that did not pass, required ones first, and
    the counts."""
    shown = [r for r in checked.results if r.verdict != PASSED or r.memcheck]
    order = {REQUIRED: 0, EXTRA: 1}
    shown.sort(key=lambda r: (r.verdict == SKIPPED, order[r.case.kind], r.case.name))
    cases = len(checked.results)
    lines = [printable(f"Checking {checked.executable} as {checked.program}: "
                       f"{cases} case{'' if cases == 1 else 's'}")]
    if any(finding.details for r in shown for finding in r.findings):
        lines.append(LEGEND)
    for result in shown:
        lines += [printable(line) for line in case_lines(result)]
    lines.append(printable(f"{checked.executable}: {checked.counts()}"))
    return "\n".join(lines) + "\n"


def summary_table(all_checked):
    """One row per executable, for a class's worth of them."""
    rows = [("executable", REQUIRED, EXTRA, "skipped", "memcheck")]
    for checked in all_checked:
        rows.append((printable(checked.executable),
                     f"{checked.count(REQUIRED, PASSED)}/{checked.count(REQUIRED)}",
                     f"{checked.count(EXTRA, PASSED)}/{checked.count(EXTRA)}",
                     str(checked.skipped),
                     str(checked.memcheck_failures) if checked.memchecked else "-"))
    widths = [max(len(row[i]) for row in rows) for i in range(len(rows[0]))]
    return "".join("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip()
                   + "\n" for row in rows)


def write_csv(path, all_checked):
    with open(path, "w", newline="", encoding="utf-8") as out:
        writer = csv.writer(out)
        writer.writerow(["executable", "program", "required_passed", "required_total",
                         "extra_passed", "extra_total", "skipped", "memcheck_failures",
                         "failed_cases"])
        for c in all_checked:
            failed = [r.case.name for r in c.results if r.verdict == FAILED]
            writer.writerow([printable(c.executable), c.program, c.count(REQUIRED, PASSED),
                             c.count(REQUIRED), c.count(EXTRA, PASSED), c.count(EXTRA),
                             c.skipped, c.memcheck_failures if c.memchecked else "",
                             " ".join(failed)])


def write_junit(path, all_checked):
    """JUnit XML: a test suite per executable, a test case per case (class PROGRAM.KIND), and
    one per memcheck run (class PROGRAM.memcheck). A crash, a time-out or the output limit is
    an error, any other difference a failure."""
    totals = {"tests": 0, "failures": 0, "errors": 0, "skipped": 0, "time": 0.0}
    root = ElementTree.Element("testsuites", name=f"check-program {all_checked[0].program}")
    for checked in all_checked:
        suite = ElementTree.SubElement(root, "testsuite", name=printable(checked.executable))
        counts = {"tests": 0, "failures": 0, "errors": 0, "skipped": 0, "time": 0.0}
        for result in checked.results:
            _junit_case(suite, checked.program, result, counts)
        for name, value in counts.items():
            suite.set(name, _number(value))
            totals[name] += value
    for name, value in totals.items():
        root.set(name, _number(value))
    ElementTree.ElementTree(root).write(path, encoding="UTF-8", xml_declaration=True)


def _junit_case(suite, program, result, counts):
    case = result.case
    element = ElementTree.SubElement(suite, "testcase", classname=f"{program}.{case.kind}",
                                     name=case.name, time=_number(result.seconds))
    counts["tests"] += 1
    counts["time"] += result.seconds
    text = "\n".join(printable(line) for line in case_lines(result))
    if result.verdict == SKIPPED:
        ElementTree.SubElement(element, "skipped", message=result.skip_reason)
        counts["skipped"] += 1
    elif result.verdict == FAILED:
        error = any(finding.error for finding in result.findings)
        child = ElementTree.SubElement(element, "error" if error else "failure",
                                       message=printable(result.findings[0].summary),
                                       type="crash" if error else "output")
        child.text = text
        counts["errors" if error else "failures"] += 1
    if result.memcheck is not None:
        memcheck = ElementTree.SubElement(suite, "testcase", classname=f"{program}.memcheck",
                                          name=case.name, time="0")
        counts["tests"] += 1
        if result.memcheck:
            failure = ElementTree.SubElement(memcheck, "failure", type="memcheck",
                                             message=printable(result.memcheck[0]))
            failure.text = "\n".join(printable(line) for line in result.memcheck)
            counts["failures"] += 1


def _number(value):
    return f"{value:.3f}" if isinstance(value, float) else str(value)


def write_gradescope(path, checked, seconds):
    """Gradescope's results.json for one executable: a test per case, a required one worth a
    point, an extra one shown for no points; a skipped one says why, for no points."""
    tests = []
    for result in checked.results:
        case = result.case
        test = {
            "name": f"{case.name} ({case.kind}): {case.description}",
            "score": 1 if result.verdict == PASSED and case.kind == REQUIRED else 0,
            "max_score": 1 if case.kind == REQUIRED and result.verdict != SKIPPED else 0,
            "output": "\n".join(printable(line) for line in case_lines(result)),
            "output_format": "text",
            "tags": [case.kind],
        }
        if result.verdict != SKIPPED:
            test["status"] = result.verdict
        tests.append(test)
    results = {
        "execution_time": round(seconds, 3),
        "output": printable(f"{checked.program}: {checked.counts()}"),
        "tests": tests,
    }
    with open(path, "w", encoding="utf-8") as out:
        json.dump(results, out, indent=2, ensure_ascii=True)
        out.write("\n")
