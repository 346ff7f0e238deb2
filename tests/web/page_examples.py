#!/usr/bin/env python3
"""Walks through the page as a person would, by keyboard alone, after one visit and with the
network gone: once the page says that it works offline, the site's server is stopped and the
page reloaded. Then for each program, it chooses it in the list, loads its example, runs it, and
compares the standard output, standard error and exit status that the page shows, and the bytes
that its download links give, with the expectations in EXPECTED_DIR/PROGRAM/ (expected_stdout,
expected_stderr and expected_status, as a case folder holds them). Last, for each PROGRAM given,
it opens every case that the list of cases offers to run, runs it, and checks that the page's
comparison with the case's own expected outputs and status finds them the same.

Usage: page_examples.py SITE EXPECTED_DIR [PROGRAM...]
"""

import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from e2e_case import Case  # noqa: E402
from case_runner import failure_lines  # noqa: E402
import browser  # noqa: E402
from browser import labelled, press, run_over, wait_for  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402
from selenium.webdriver.support.ui import Select  # noqa: E402


def run_example(driver, program):
    """Runs the example of program through the page; returns the exit status shown (None when
    there is none), the outputs shown and the outputs downloaded."""
    choice = labelled(driver, "Program")
    programs = [option.get_attribute("value")
                for option in choice.find_elements(By.TAG_NAME, "option")]
    choice.send_keys(Keys.HOME + Keys.DOWN * programs.index(program))
    if choice.get_property("value") != program:
        return None, None, None
    press(driver, "Load example")
    press(driver, "Run")
    run_over(driver)
    status = driver.find_element(By.ID, "status").get_property("value")
    shown, downloaded = {}, {}
    for stream, name in (("stdout", "standard output"), ("stderr", "standard error")):
        shown[stream] = driver.find_element(By.ID, stream).get_property("textContent").encode()
        link = driver.find_element(By.XPATH, f"//a[starts-with(., 'Download {name}')]")
        downloaded[stream] = browser.download(driver, link)
    return int(status) if status.isdigit() else None, shown, downloaded


def cases_failing(driver, program):
    """Runs each case of program that the list offers; returns lines for those that fail."""
    Select(labelled(driver, "Program")).select_by_value(program)
    choice = labelled(driver, "Case")
    offered = "#case option:not([disabled]):not([value=''])"
    wait_for(driver, lambda _: driver.find_elements(By.CSS_SELECTOR, offered))
    failures = []
    for value in [option.get_attribute("value")
                  for option in driver.find_elements(By.CSS_SELECTOR, offered)]:
        Select(choice).select_by_value(value)
        case = Select(choice).first_selected_option.text
        press(driver, "Open case")
        press(driver, "Run")
        state = run_over(driver)
        verdicts = [verdict.text for verdict in driver.find_elements(
            By.CSS_SELECTOR, "#comparisons .comparison-verdict")]
        expected = driver.execute_script(
            "return ['expected-stdout', 'expected-stderr'].map((id) => "
            "document.getElementById(id).value !== '')")
        shown = [driver.find_element(By.ID, stream).get_property("textContent") != ""
                 for stream in ("stdout", "stderr")]
        # An output the case expects empty is not compared: the page must show none.
        if (not verdicts[-1:] or not verdicts[-1].startswith("Exit status: Same")
                or any("Same" not in verdict for verdict in verdicts)
                or any(output and not wanted for output, wanted in zip(shown, expected))):
            failures += [f"{case}: {state}", driver.find_element(By.ID, "comparisons").text]
    return failures


def main():
    site, expected_dir, *case_programs = sys.argv[1:]
    failed = False
    with browser.page(site) as driver:
        wait_for(driver, lambda _: "offline" in driver.find_element(By.ID, "site-note").text)
        driver.stop_serving()
        driver.refresh()
        wait_for(driver, lambda _: driver.execute_script(
            "return !document.documentElement.classList.contains('starting')"))
        for program in sorted(os.listdir(expected_dir)):
            case = Case(program, os.path.join(expected_dir, program))
            status, shown, downloaded = run_example(driver, program)
            if shown is None:
                failures = [f"FAIL: {program} could not be chosen by keyboard"]
            elif status is None:
                state = driver.find_element(By.ID, "run-state").text
                failures = [f"FAIL: the page shows no exit status: {state}"]
            else:
                failures = []
                for seen, outputs in (("shown", shown), ("downloaded", downloaded)):
                    lines = failure_lines(case, status, outputs["stdout"], outputs["stderr"],
                                          None)
                    failures += [f"as {seen}:"] + lines if lines else []
            print(f"{program}: " + ("\n".join(failures) if failures else "passed"))
            failed = failed or bool(failures)
        driver.find_element(By.CSS_SELECTOR, "#cases summary").send_keys(Keys.ENTER)
        for program in case_programs:
            failures = cases_failing(driver, program)
            print(f"the cases of {program}: " + ("\n".join(["FAIL"] + failures)
                                                 if failures else "passed"))
            failed = failed or bool(failures)
        page_error = driver.find_element(By.ID, "page-error")
        if page_error.is_displayed():
            print(f"FAIL: {page_error.text}")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
