#!/usr/bin/env python3
"""Uses the page as a person would on runs too large to show whole: a run whose output is past
the page's display limit, compared byte for byte through its download link with the end-to-end
case CASE_DIR (bst_driver's deep sorted dictionary); and a long run of bst_driver on 20,000
sorted words (600 MB of output), during which Run is pressed again (no second run may start,
and Run says why it is disabled), then stopped: the page must say so, show the head of the output and keep more for download.

Usage: page_runs.py SITE CASE_DIR
"""

import os
import re
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from e2e_case import Case  # noqa: E402
from case_runner import failure_lines  # noqa: E402
import browser  # noqa: E402
from browser import download, labelled, press, run_over, wait_for  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.support.ui import Select  # noqa: E402

SORTED_WORDS = 20000


def upload_run(driver, program, folder, stdin):
    """Chooses program, replaces its files by those of folder, uploads stdin and runs it."""
    Select(labelled(driver, "Program")).select_by_value(program)
    for remove in driver.find_elements(By.XPATH, "//button[.='Remove this file']"):
        remove.click()
    names = sorted(os.listdir(folder))
    driver.find_element(By.ID, "upload-files").send_keys(
        "\n".join(os.path.join(folder, name) for name in names))
    stdin_path = os.path.join(folder, "..", "stdin")
    with open(stdin_path, "wb") as out:
        out.write(stdin)
    driver.find_element(By.ID, "upload-stdin").send_keys(os.path.abspath(stdin_path))
    wait_for(driver, lambda _: len(driver.find_elements(By.CLASS_NAME, "file-name"))
             == len(names))
    press(driver, "Run")


def past_display_limit(driver, case_dir, work):
    """Failures of the case run through the page: its downloads must pass the case, and the
    page must show the first bytes of standard output and say how many it does not show."""
    case = Case("bst_driver", case_dir)
    files = os.path.join(work, "files")
    os.makedirs(files)
    case.prepare(files)
    upload_run(driver, "bst_driver", files, case.bytes("stdin"))
    state = run_over(driver)
    status = driver.find_element(By.ID, "status").get_property("value")
    outputs = [download(driver, driver.find_element(By.ID, f"{stream}-download"))
               for stream in ("stdout", "stderr")]
    failures = failure_lines(case, int(status) if status.isdigit() else None, *outputs, files)
    shown = driver.find_element(By.ID, "stdout").get_property("textContent").encode()
    note = driver.find_element(By.ID, "stdout-note").text
    expected_note = (f"Showing the first {len(shown):,} of {len(outputs[0]):,} bytes. "
                     "Download the whole output.")
    if not 0 < len(shown) < len(outputs[0]) or outputs[0][:len(shown)] != shown:
        failures.append(f"the page shows {len(shown)} bytes, not a head of the output")
    if note != expected_note:
        failures += [f"expected note: {expected_note}", f"actual note:   {note}"]
    return [f"after: {state}"] + failures if failures else []


def sorted_chain_head(words, length):
    """The first bytes, at least length of them, of bst_driver's output for words in order: a
    chain to the right, listed sideways, the deepest word first."""
    head = [f"number of nodes: {len(words)}\n".encode()]
    for depth in reversed(range(len(words))):
        if sum(map(len, head)) >= length:
            break
        head.append(b" " * (3 * depth) + words[depth].encode() + b"\n")
    return b"".join(head)


def written(state):
    """The bytes written that a state line of a run in progress gives."""
    found = re.search(r"([\d,]+) bytes? written", state)
    return int(found.group(1).replace(",", "")) if found else 0


def stopped_run(driver, work):
    """Failures of a long run pressed Run on again, then stopped."""
    words = [f"w{i:05d}" for i in range(SORTED_WORDS)]
    files = os.path.join(work, "chain")
    os.makedirs(files)
    with open(os.path.join(files, "scramble-dict.txt"), "w", newline="\n") as out:
        out.writelines(word + "\n" for word in words)
    upload_run(driver, "bst_driver", files, b"")
    state = driver.find_element(By.ID, "run-state")
    # Once more has been written than the page shows, the run is busy writing 600 MB: Run
    # again, then Stop.
    wait_for(driver, lambda _: not state.text.startswith("Running")
             or written(state.text) > 2 << 20)
    before = state.text
    press(driver, "Run")
    running = state.text
    busy = driver.find_element(By.ID, "results").get_attribute("aria-busy")
    disabled = (driver.find_element(By.ID, "run").get_attribute("aria-disabled"),
                driver.find_element(By.ID, "run-reason").text)
    press(driver, "Stop")
    after = run_over(driver)
    shown = driver.find_element(By.ID, "stdout").get_property("textContent").encode()
    kept = driver.find_element(By.ID, "stdout-download").text
    failures = []
    if (not running.startswith("Running bst_driver…") or written(running) < written(before)
            or busy != "true"):
        failures += [f"before Run was pressed again: {before}",
                     f"after: {running} (aria-busy {busy})"]
    if disabled != ("true", "Run waits until this run ends, or Stop ends it."):
        failures.append(f"Run during the run: aria-disabled and reason {disabled}")
    if not after.startswith("Stopped after"):
        failures.append(f"after Stop: {after}")
    if not shown or not sorted_chain_head(words, len(shown)).startswith(shown):
        failures.append(f"the {len(shown)} bytes shown are not the head of the output")
    if f"({len(shown):,} bytes)" in kept or "Download standard output" not in kept:
        failures.append(f"no more kept for download than shown: {kept}")
    return failures


def main():
    site, case_dir = sys.argv[1:]
    failed = False
    with tempfile.TemporaryDirectory(prefix="page-runs-") as work, \
            browser.page(site) as driver:
        for name, check in (("past the display limit", lambda: past_display_limit(
                driver, case_dir, os.path.join(work, "limit"))),
                            ("stopped", lambda: stopped_run(driver, work))):
            failures = check()
            print(f"{name}: " + ("\n".join(["FAIL"] + failures) if failures else "passed"))
            failed = failed or bool(failures)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
