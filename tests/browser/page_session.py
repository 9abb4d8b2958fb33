"""What the browser tests of the live page share: the server on a free loopback port, headless
Chromium through Selenium, waits on conditions with a time-out, and the clean-up."""

import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

SKIP = 77


def skip(reason):
    print(f"SKIPPED: {reason}; run 'scripts/setup test' to install it", flush=True)
    sys.exit(SKIP)


try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
except ImportError:
    skip("python3-selenium is missing")

CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
DRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"
for _path, _package in ((CHROMIUM, "chromium"), (DRIVER, "chromium-driver")):
    if not os.access(_path, os.X_OK):
        skip(f"{_package} is missing")


class Failed(Exception):
    pass


def start_server(sim, options=()):
    """brimvale-sim live on a free loopback port; returns the process, the address it prints and
    the lines it has printed so far (filled on as it runs)."""
    proc = subprocess.Popen([sim, "live", "--port", "0", *options], stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True)
    found = {}
    lines = []

    def read():
        for line in proc.stdout:
            lines.append(line.rstrip())
            if "open http://" in line and "url" not in found:
                found["url"] = line.split("open ", 1)[1].split(" ", 1)[0]

    threading.Thread(target=read, daemon=True).start()
    deadline = time.monotonic() + 60
    while "url" not in found:
        if proc.poll() is not None or time.monotonic() > deadline:
            proc.kill()
            raise Failed("the server printed no address:\n" + "\n".join(lines))
        time.sleep(0.1)
    if not found["url"].startswith("http://127.0.0.1:"):
        proc.kill()
        raise Failed(f"the server is not on loopback: {found['url']}")
    return proc, found["url"], lines


def open_browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--window-size=1600,1000", f"--user-data-dir={profile}",
                "--no-first-run", "--disable-extensions", "--disable-background-networking"):
        options.add_argument(arg)
    driver = webdriver.Chrome(service=Service(DRIVER), options=options)
    driver.set_page_load_timeout(30)
    driver.set_script_timeout(10)
    return driver


# What the page shows once it is open, for a timeout to say how far the game got: a slow machine
# and a stuck game fail alike, but not at the same frame.
progress = None


def wait(what, check, seconds):
    """The check's first true value, polled until the time-out measured on the clock."""
    started = time.monotonic()
    while time.monotonic() < started + seconds:
        value = check()
        if value:
            return value
        time.sleep(0.1)
    shown = ""
    if progress:
        try:
            shown = f"; the page shows {progress()}"
        except Exception as e:  # the page itself may be what broke
            shown = f"; the page could not be read ({e})"
    raise Failed(f"timed out after {time.monotonic() - started:.1f} s waiting for {what}{shown}")


def run(main, shot_dir, options=()):
    """Runs main(driver, url) against a fresh server (given these options) and browser; on a
    failure keeps a screenshot and prints the server's last lines. Returns the exit status."""
    os.makedirs(shot_dir, exist_ok=True)
    proc = driver = None
    lines = []
    profile = tempfile.mkdtemp(prefix="brimvale_chromium_")
    try:
        proc, url, lines = start_server(sys.argv[1], options)
        driver = open_browser(profile)
        global progress
        progress = lambda: driver.execute_script(
            "return `frame ${last ? last.frame : -1}, status '` +"
            " document.getElementById('status').textContent + `'`")
        return main(driver, url)
    except Failed as e:
        print(f"FAILED: {e}", flush=True)
        if driver:
            failed = os.path.join(shot_dir, "failed.png")
            driver.save_screenshot(failed)
            print("screenshot: " + failed)
        print("server output:\n" + "\n".join(lines[-40:]))
        return 1
    finally:
        if driver:
            driver.quit()
        if proc:
            proc.terminate()
            try:
                proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait(timeout=10)
        shutil.rmtree(profile, ignore_errors=True)


class Page:
    """The live page as its viewer reads it: what the last painted frame holds, and keys pressed
    on the screen."""

    def __init__(self, driver):
        from selenium.webdriver.common.by import By
        self.driver = driver
        self.screen = driver.find_element(By.ID, "screen")
        self.guide = driver.find_element(By.ID, "guide")

    def texts(self):
        return self.driver.execute_script(
            "return last ? last.screen.items.filter(i => i.text).map(i => i.text) : []") or []

    def frame(self):
        f = self.driver.execute_script("return last ? last.frame : -1")
        return f if f is not None else -1

    def press(self, key):
        # One press a frame or two apart, as a player's fingers are.
        from selenium.webdriver.common.action_chains import ActionChains
        before = self.frame()
        ActionChains(self.driver).move_to_element(self.screen).click().send_keys(key).perform()
        wait(f"frames after pressing {key!r}", lambda: self.frame() >= before + 4, 20)
