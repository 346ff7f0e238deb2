#!/usr/bin/env python3
"""Measures how long the page's main thread is held while it runs bst_driver on 20,000 sorted
words, a chain whose listings make about 600 MB of output, shows it, draws the tree and shows a
search's path: a 50 ms timer on the main thread records the largest gap between two of its ticks,
from Run until the path is shown and the output shown is laid out whole. A gap of 250 ms or more
is a pause a student sees.

Each round uses a fresh page in the engine that BROWSER names (chromium or webkit, as in
tests/web/browser.py, whose environment variables name the browsers; the defaults are Debian's);
the worst gap of each round and their median are printed. Gaps depend on the load of the
machine: run it on an idle one.

Usage: python3 bench/page/main_thread.py SITE [--rounds N]
"""

import argparse
import glob
import os
import statistics
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests",
                                "web"))
for name, default in (("CHROMIUM", "/usr/bin/chromium"), ("CHROMEDRIVER", "/usr/bin/chromedriver"),
                      ("WEBKIT_BROWSER", (glob.glob("/usr/lib/*/webkit2gtk-4.*/MiniBrowser")
                                          + [""])[0]),
                      ("WEBKIT_DRIVER", "/usr/bin/WebKitWebDriver"), ("XVFB", "/usr/bin/Xvfb")):
    os.environ.setdefault(name, default)
import browser  # noqa: E402
from browser import press, wait_for  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.support.ui import Select  # noqa: E402

WORDS = [f"w{i:05d}" for i in range(20000)]
# The deepest word, whose search passes every other one.
QUERY = WORDS[-1]

# Ticks every 50 ms from Run on, keeping the largest gap between two ticks.
TIMER = """
window.largestGap = 0;
let last = performance.now();
window.gapTimer = setInterval(() => {
  const now = performance.now();
  window.largestGap = Math.max(window.largestGap, now - last);
  last = now;
}, 50);
document.getElementById("run").click();
"""

# Whether the output shown is laid out whole, as the page reveals it a block at a time.
REVEALED = """
return [...document.querySelectorAll('.output-block')].every(
  (block) => block.style.contentVisibility !== 'hidden');
"""


def worst_gap(site, work):
    """The largest gap, in ms, of one round in a fresh page."""
    with browser.page(site) as driver:
        Select(driver.find_element(By.ID, "program")).select_by_value("bst_driver")
        press(driver, "Load example")
        for remove in driver.find_elements(By.XPATH, "//button[.='Remove this file']"):
            remove.click()
        driver.find_element(By.ID, "upload-files").send_keys(
            os.path.join(work, "scramble-dict.txt"))
        driver.find_element(By.ID, "upload-stdin").send_keys(os.path.join(work, "stdin"))
        wait_for(driver, lambda _: len(driver.find_elements(By.CLASS_NAME, "file-name")) == 1)
        driver.execute_script(TIMER)
        choice = wait_for(driver, lambda _: driver.find_elements(
            By.CSS_SELECTOR, "#picture select"))[0]
        Select(choice).select_by_visible_text(f"found: {QUERY}")
        wait_for(driver, lambda _: driver.find_elements(By.CSS_SELECTOR, "#picture .node.found"))
        wait_for(driver, lambda _: driver.execute_script(REVEALED))
        return driver.execute_script("clearInterval(window.gapTimer); return window.largestGap")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("site")
    parser.add_argument("--rounds", type=int, default=3)
    options = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="main-thread-") as work:
        with open(os.path.join(work, "scramble-dict.txt"), "w", newline="\n") as out:
            out.writelines(word + "\n" for word in WORDS)
        with open(os.path.join(work, "stdin"), "w", newline="\n") as out:
            out.write(QUERY + "\n")
        gaps = []
        for round_number in range(1, options.rounds + 1):
            gaps.append(worst_gap(options.site, work))
            print(f"round {round_number}: largest gap {gaps[-1]:.0f} ms", flush=True)
    print(f"{os.environ.get('BROWSER', 'chromium')}: median of the largest gaps "
          f"{statistics.median(gaps):.0f} ms, worst {max(gaps):.0f} ms")


if __name__ == "__main__":
    main()
