"""The built page in headless Chromium, for the browser tests: the site is served over HTTP on
127.0.0.1 (WebAssembly is not loaded from file: URLs) and opened by Selenium. CHROMIUM and
CHROMEDRIVER in the environment name the browser and its driver."""

import contextlib
import functools
import http.server
import os
import shutil
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

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
    """Serves the folder site on an ephemeral port; yields its URL."""
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(QuietHandler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        yield f"http://127.0.0.1:{server.server_address[1]}/"
    finally:
        server.shutdown()
        server.server_close()


@contextlib.contextmanager
def page(site, width=1280, height=900):
    """The page of the folder site, loaded in a fresh headless Chromium; yields the driver."""
    profile = tempfile.mkdtemp(prefix="chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = os.environ["CHROMIUM"]
    for flag in CHROMIUM_FLAGS + [f"--user-data-dir={profile}",
                                  f"--window-size={width},{height}"]:
        options.add_argument(flag)
    try:
        with served(site) as url:
            driver = webdriver.Chrome(service=Service(os.environ["CHROMEDRIVER"]),
                                      options=options)
            try:
                driver.set_script_timeout(TIMEOUT_SECONDS)
                driver.get(url)
                yield driver
            finally:
                driver.quit()
    finally:
        shutil.rmtree(profile, ignore_errors=True)
