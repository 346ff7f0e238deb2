#!/usr/bin/env python3
"""Uses the page's tools for studying a run as a person would: each program's own inputs, kept
across the choice of another and a reload; the comparison with an expected output uploaded (same
bytes, then a CR at a known line and column, shown marked), the results enlarged, which must
scroll to their end at a desktop's width and a phone's; the example's tree and rosters drawn whole
at a desktop's width and a phone's; a link that must bring back the exact bytes of a file with CR
LF and bytes that are not UTF-8 and, with one character changed, must be refused with the form
left as it was, and a word that is markup, which must stay text in the output and in the tree.
The comparison's and the tree reader's logic is
tested without a browser (*.test.js).

Usage: page_tools.py SITE
"""

import os
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders
import browser  # noqa: E402
from browser import download, press, run_over, set_up, wait_for  # noqa: E402
from selenium.common.exceptions import TimeoutException  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402
from selenium.webdriver.support.ui import Select  # noqa: E402

NAMES = b"Smith\r\nadams\r\n\xff\xfeJones\n"
ROSTER = (b"Using the member function add: \n\n" + b"Smith\r\nadams\r\n\xff\xfeJones\n" +
          b"\nUsing the member function operator+=: \n\n" + b"Smith\r\nadams\r\n\xff\xfeJones\n")
MARKUP = "<details/open/ontoggle=alert(1)>"
# The form's program, arguments, file names and contents, and standard input.
FORM = ("return [...document.querySelectorAll("
        "'#program, #args, .file-name, .file-contents, #stdin')].map((box) => box.value)")


def put(driver, work, selector, name, data):
    """Uploads data, as a file called name, through the file input that selector finds."""
    path = os.path.join(work, name)
    with open(path, "wb") as out:
        out.write(data)
    driver.find_element(By.CSS_SELECTOR, selector).send_keys(path)


def choose(driver, program, work, files, stdin=b""):
    """Chooses program with these files (name to bytes) and standard input, and runs it."""
    Select(driver.find_element(By.ID, "program")).select_by_value(program)
    press(driver, "Load example")
    for remove in driver.find_elements(By.XPATH, "//button[.='Remove this file']"):
        remove.click()
    for name, data in files.items():
        put(driver, work, "#upload-files", name, data)
    put(driver, work, "#upload-stdin", "stdin", stdin)
    driver.find_element(By.ID, "args").clear()
    if program == "roster_test":
        driver.find_element(By.ID, "args").send_keys("names.txt")
    press(driver, "Run")
    return run_over(driver)


def comparison(driver, work, expected):
    """The comparison report of a run once expected is the expected standard output."""
    put(driver, work, "input[data-field='expected-stdout']", "expected", expected)
    shown = expected.decode(errors="replace").replace("\r\n", "\n")
    wait_for(driver, lambda _: driver.find_element(By.ID, "expected-stdout")
             .get_property("value") == shown)
    press(driver, "Run")
    run_over(driver)
    return driver.find_element(By.ID, "comparisons").text


def compared(driver, work):
    choose(driver, "roster_test", work, {"names.txt": NAMES})
    failures = []
    cases = [(ROSTER, ["Standard output: Same bytes"]),
             (ROSTER.replace(b"adams\r\n", b"adams\n", 1),
              ["First difference at line 4, column 6", "expected: adams\n", "actual:   adamsCR\n"])]
    for expected, wanted in cases:
        report = comparison(driver, work, expected)
        missing = [text for text in wanted if text not in report + "\n"]
        failures += [f"report lacks: {text!r}" for text in missing]
        if missing:
            failures.append(f"report: {report!r}")
    marks = driver.execute_script("return [...document.querySelectorAll("
                                  "'#comparisons .actual-line .mark')].map((mark) => mark.title)")
    failures += [f"marks: {marks}"] if marks != ["carriage return (CR)"] else []
    Select(driver.find_element(By.ID, "program")).select_by_value("bst_driver")
    put(driver, work, "input[data-field='expected-stdout']", "expected", ROSTER)
    try:  # another program's expected output is not compared with roster_test's run
        wait_for(driver, lambda _: "The last run is of roster_test" in
                 driver.find_element(By.ID, "comparisons").text)
    except TimeoutException:
        failures.append(f"comparisons: {driver.find_element(By.ID, 'comparisons').text!r}")
    return failures


def enlarged_scrolls(driver, work):
    """The enlarged results scroll by keyboard to their end, at a desktop's and a phone's width."""
    failures = []
    for width, height in ((1280, 900), (390, 844)):
        driver.set_window_size(width, height)
        press(driver, "Enlarge for a projector")
        driver.find_element(By.ID, "enlarge").send_keys(Keys.END)
        try:
            wait_for(driver, lambda _: driver.execute_script(
                "return document.querySelector('#results > :last-child')"
                ".getBoundingClientRect().bottom <= innerHeight"))
        except TimeoutException:
            failures.append(f"at {width}x{height}, the last element stays out of reach")
        press(driver, "Back to the page")
    driver.set_window_size(1280, 900)
    return failures


def inputs_kept(driver, work):
    """Each program keeps its own inputs, its example's until they change, across the choice of
    another program and a reload at once after an edit."""
    shown = []
    for program, typed in (("word_count_driver", "0"), ("go_shopping", None),
                           ("word_count_driver", "0"), (None, None)):
        if program:
            Select(driver.find_element(By.ID, "program")).select_by_value(program)
        else:
            driver.refresh()
            set_up(driver)
        args = driver.find_element(By.ID, "args")
        shown.append((args.get_property("value"), [name.get_property("value") for name in
                      driver.find_elements(By.CLASS_NAME, "file-name")]))
        if typed:
            args.send_keys(typed)
    text = ["sample-text.txt"]
    expected = [("sample-text.txt\n1", text), ("", ["products.txt", "transactions.txt"]),
                ("sample-text.txt\n10", text), ("sample-text.txt\n100", text)]
    return [f"expected: {expected}", f"actual:   {shown}"] if shown != expected else []


# Each box of a picture, with whether it lies wholly inside the frame that scrolls it, and its
# text, the lines of a box joined.
BOXES = """
const frame = document.querySelector('#picture .picture-scroller') || document.getElementById('picture');
const inside = frame.getBoundingClientRect();
return [...document.querySelectorAll('#picture :is(.node, .chain-box + text)')].map((box) => {
  const edge = box.getBoundingClientRect();
  const whole = edge.left >= inside.left && edge.right <= inside.right;
  const lines = box.matches('.node') ? [box.querySelector('text')] : box.querySelectorAll('tspan');
  return [whole, [...lines].map((line) => line.textContent).join(' ')];
});
"""


def pictures_drawn(driver, width):
    """Failures of the example's tree and rosters as the page draws them at width: the tree
    drawn whole, every word in the frame, labelled with its size, height and root; every name
    whole."""
    failures = []
    for program in ("bst_driver", "roster_test"):
        Select(driver.find_element(By.ID, "program")).select_by_value(program)
        press(driver, "Load example")
        press(driver, "Run")
        run_over(driver)
        listing = download(driver, driver.find_element(By.ID, "stdout-download")).decode()
        svg = wait_for(driver, lambda _: driver.find_elements(By.CSS_SELECTOR, "#picture svg"))[0]
        if program == "bst_driver":
            lines = listing.split("\n")
            expected = [line.strip() for line in reversed(lines[1:int(lines[0][17:]) + 1])]
            label = svg.get_attribute("aria-label")
            if label != f'Binary search tree of {len(expected)} words, height 8, root "orchard"':
                failures.append(f"{width}: label: {label}")
        else:
            expected = listing.split("\n\n")[1].split("\n")  # the roster built by add
        boxes = driver.execute_script(BOXES)[:len(expected)]
        drawn = [text for _, text in boxes]
        cut = [text for whole, text in boxes if not whole]
        if drawn != expected or cut:
            failures += [f"{width}: expected boxes: {expected}", f"drawn: {drawn}",
                         f"cut by the frame: {cut}"]
    return failures


def pictures_whole(driver, work):
    failures = pictures_drawn(driver, "desktop")
    with browser.phone(driver):
        return failures + pictures_drawn(driver, "phone")


def link_restores(driver, work):
    """A link to a run whose file holds CR LF and bytes that are not UTF-8: opened in a page
    that has forgotten the form, its run must write the same bytes."""
    choose(driver, "roster_test", work, {"names.txt": NAMES})
    before = download(driver, driver.find_element(By.ID, "stdout-download"))
    press(driver, "Copy link")
    link = wait_for(driver, lambda _: driver.find_element(By.ID, "run-link")
                    .get_property("value"))
    driver.execute_script("localStorage.clear()")
    driver.get("about:blank")
    driver.get(link)
    wait_for(driver, lambda _: "Opened" in driver.find_element(By.ID, "share-note").text)
    press(driver, "Run")
    run_over(driver)
    after = download(driver, driver.find_element(By.ID, "stdout-download"))
    if before != ROSTER or after != before:
        return [f"before the link: {before!r}", f"after it:        {after!r}"]
    # The same link with one character changed is refused, and the form left as it was.
    form = driver.execute_script(FORM)
    at = len(link) // 2
    driver.get(link[:at] + ("B" if link[at] == "A" else "A") + link[at + 1:])
    note = wait_for(driver, lambda _: driver.find_element(By.ID, "share-note").text
                    if "damaged" in driver.find_element(By.ID, "share-note").text else None)
    if driver.execute_script(FORM) != form:
        return [f"a changed link changed the form: {note}"]
    return []


def markup_stays_text(driver, work):
    driver.execute_script("window.alerted = false; window.alert = () => { window.alerted = true; };")
    choose(driver, "bst_driver", work, {"scramble-dict.txt": f"m {MARKUP} z\n".encode()},
           MARKUP.encode())
    wait_for(driver, lambda _: driver.find_elements(By.CSS_SELECTOR, "#picture svg"))
    shown = driver.find_element(By.ID, "stdout").get_property("textContent")
    in_tree = driver.execute_script(
        "return [...document.querySelectorAll('#picture svg :is(text, title)')]"
        ".map((t) => t.textContent)")
    failures = []
    if driver.execute_script("return document.querySelectorAll('details:not(#cases)').length || alerted"):
        failures.append("the word became markup")
    if f"found:      {MARKUP}" not in shown or MARKUP not in in_tree:
        failures.append(f"the word is not shown as text: {shown!r} {in_tree!r}")
    return failures


def main():
    site = sys.argv[1]
    failed = False
    with tempfile.TemporaryDirectory(prefix="page-tools-") as work, \
            browser.page(site) as driver:
        for name, check in (("inputs kept", inputs_kept), ("compared", compared),
                            ("enlarged scrolls", enlarged_scrolls),
                            ("pictures whole", pictures_whole),
                            ("link restores", link_restores),
                            ("markup stays text", markup_stays_text)):
            failures = check(driver, work)
            print(f"{name}: " + ("\n".join(["FAIL"] + failures) if failures else "passed"))
            failed = failed or bool(failures)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
