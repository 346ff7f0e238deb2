"""The built page in a browser, for the browser tests: the site is served over HTTP on 127.0.0.1
(WebAssembly is not loaded from file: URLs) and opened by Selenium, in the engine that BROWSER in
the environment names:
  chromium   headless Chromium; CHROMIUM and CHROMEDRIVER name the browser and its driver
  webkit     WebKitGTK, Safari's engine, in a display of its own (Xvfb); WEBKIT_BROWSER,
             WEBKIT_DRIVER and XVFB name its browser (MiniBrowser), its driver and the server
"""

import contextlib
import functools
import http.server
import os
import shutil
import subprocess
import tempfile
import threading

import base64

from selenium import webdriver
from selenium.webdriver.chrome.service import Service as ChromeService
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

# Bounds a script or a wait that never ends, such as a run that hangs; no test decides anything
# from how long one took.
TIMEOUT_SECONDS = 600

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                  "--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync"]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


@contextlib.contextmanager
def served(site):
    """Serves the folder site on an ephemeral port; yields its URL and a function that stops
    serving it, as a network that has gone."""
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(QuietHandler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()

    def stop():
        server.shutdown()
        server.server_close()
    try:
        yield f"http://127.0.0.1:{server.server_address[1]}/", stop
    finally:
        stop()


# Each engine's context yields a function that starts its browser, driven by Selenium.

@contextlib.contextmanager
def chromium():
    profile = tempfile.mkdtemp(prefix="chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = os.environ["CHROMIUM"]
    for flag in CHROMIUM_FLAGS + [f"--user-data-dir={profile}"]:
        options.add_argument(flag)
    try:
        yield lambda: webdriver.Chrome(service=ChromeService(os.environ["CHROMEDRIVER"]),
                                       options=options)
    finally:
        shutil.rmtree(profile, ignore_errors=True)


@contextlib.contextmanager
def x_display():
    """A virtual X display of its own; yields its name, such as ":1"."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen([os.environ["XVFB"], "-displayfd", str(write_end), "-nolisten",
                               "tcp", "-screen", "0", "1920x1200x24"],
                              pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        with os.fdopen(read_end) as announced:
            number = announced.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        yield f":{number}"
    finally:
        server.terminate()
        server.wait()


@contextlib.contextmanager
def webkit():
    with x_display() as display:
        os.environ["DISPLAY"] = display
        options = webdriver.WebKitGTKOptions()
        options.binary_location = os.environ["WEBKIT_BROWSER"]
        options.add_argument("--automation")
        yield lambda: webdriver.WebKitGTK(executable_path=os.environ["WEBKIT_DRIVER"],
                                          options=options)


ENGINES = {"chromium": chromium, "webkit": webkit}


@contextlib.contextmanager
def page(site, width=1280, height=900):
    """The page of the folder site, loaded and set up in a fresh browser; yields the driver,
    whose stop_serving() stops the site's server."""
    with served(site) as (url, stop), ENGINES[os.environ.get("BROWSER", "chromium")]() as start:
        driver = start()
        driver.stop_serving = stop
        try:
            driver.set_window_size(width, height)
            driver.set_script_timeout(TIMEOUT_SECONDS)
            driver.get(url)
            set_up(driver)
            yield driver
        finally:
            driver.quit()


def set_up(driver):
    """Waits until the page's modules have set it up, which may be after its load is reported."""
    wait_for(driver, lambda _: driver.execute_script(
        "return !document.documentElement.classList.contains('starting')"))


@contextlib.contextmanager
def phone(driver):
    """The page as a 390 by 844 phone shows it, by device emulation where the engine has it
    (Chromium: a phone's overlay scroll bars), else in a window of that size; then as before."""
    size = driver.get_window_size()
    if isinstance(driver, webdriver.Chrome):
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": 390, "height": 844, "deviceScaleFactor": 2, "mobile": True})
    else:
        driver.set_window_size(390, 844)
    try:
        yield
    finally:
        if isinstance(driver, webdriver.Chrome):
            driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
        else:
            driver.set_window_size(size["width"], size["height"])


def labelled(driver, label):
    """The control that the label names, found as a screen reader finds it."""
    element = driver.find_element(By.XPATH, f"//label[normalize-space()='{label}']")
    return driver.find_element(By.ID, element.get_attribute("for"))


def press(driver, button):
    """Presses the button of that text by keyboard."""
    driver.find_element(By.XPATH, f"//button[normalize-space()='{button}']").send_keys(Keys.ENTER)


def wait_for(driver, condition):
    """Waits until condition(driver) is true; only a page that never gets there times out."""
    return WebDriverWait(driver, TIMEOUT_SECONDS, poll_frequency=0.1).until(condition)


def run_over(driver):
    """Waits until the page has shown all of a run that was started; returns its state line."""
    wait_for(driver, lambda _: driver.find_element(By.ID, "results").get_attribute("aria-busy")
             == "false" and not driver.find_element(By.ID, "run-state").text.startswith("Running"))
    return driver.find_element(By.ID, "run-state").text


# Bytes cross from the page in base64, which a FileReader makes from a Blob in one go.
DOWNLOAD = """
const [url, done] = arguments;
fetch(url).then((response) => response.blob()).then((blob) => {
  const reader = new FileReader();
  reader.onload = () => done(reader.result.slice(reader.result.indexOf(",") + 1));
  reader.readAsDataURL(blob);
});
"""


def download(driver, link):
    """The bytes that the download link gives."""
    return base64.b64decode(driver.execute_async_script(DOWNLOAD, link.get_attribute("href")))
