"""The live page in a real browser: headless Chromium opens it, follows the guidance line to the
creator (a shift-click on its name beside the map), presses E there, finishes the creator with the arrow keys and Enter, and reads
"Create Character=True" in the save panel. Screenshots of the page are kept.

usage: live_page_test.py BRIMVALE_SIM SHOT_DIR [DOCS_SHOT]
Exits 77 (skipped) when Chromium, its driver or Selenium is missing."""

import os
import select
import shutil
import socket
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
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import Select
except ImportError:
    skip("python3-selenium is missing")

CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
DRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"
for path, package in ((CHROMIUM, "chromium"), (DRIVER, "chromium-driver")):
    if not os.access(path, os.X_OK):
        skip(f"{package} is missing")


class Failed(Exception):
    pass


def start_server(sim):
    """brimvale-sim live on a free loopback port; returns the process and the address it prints."""
    proc = subprocess.Popen([sim, "live", "--port", "0"], stdout=subprocess.PIPE,
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
            raise Failed("the server printed no address:\n" + "\n".join(lines))
        time.sleep(0.1)
    return proc, found["url"], lines


def take_every_place(url):
    """Twelve event streams of our own, drained on a thread, so that no place is left for a page.
    A place the page just left is free at once; a few tries allow for the browser closing its
    connection a moment after it navigated away."""
    host, port = url.split("//", 1)[1].rstrip("/").split(":")
    streams = []
    for _ in range(100):
        s = socket.create_connection((host, int(port)), timeout=10)
        s.sendall(f"GET /events HTTP/1.1\r\nHost: {host}:{port}\r\n\r\n".encode())
        head = b""
        while b"\r\n" not in head:
            chunk = s.recv(4096)
            if not chunk:
                break
            head += chunk
        if head.startswith(b"HTTP/1.1 200"):
            streams.append(s)
        else:
            s.close()
            time.sleep(0.1)
        if len(streams) == 12:
            break
    if len(streams) != 12:
        for s in streams:
            s.close()
        raise Failed(f"took {len(streams)} viewers' places of 12")

    def drain():
        while True:
            try:
                ready, _, _ = select.select(streams, [], [], 0.5)
                for s in ready:
                    if not s.recv(65536):
                        return
            except (OSError, ValueError):
                return

    threading.Thread(target=drain, daemon=True).start()
    return streams


# What the page shows once it is open, for a timeout to say how far the game got: a slow machine
# and a stuck game fail alike, but not at the same frame.
progress = None


def wait(what, check, seconds):
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


def main():
    global progress
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    sim, shot_dir = sys.argv[1], sys.argv[2]
    docs_shot = sys.argv[3] if len(sys.argv) > 3 else None
    os.makedirs(shot_dir, exist_ok=True)
    proc = driver = None
    lines = []
    profile = tempfile.mkdtemp(prefix="brimvale_chromium_")
    try:
        proc, url, lines = start_server(sim)
        if not url.startswith("http://127.0.0.1:"):
            raise Failed(f"the server is not on loopback: {url}")
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                    "--window-size=1600,1000", f"--user-data-dir={profile}",
                    "--no-first-run", "--disable-extensions", "--disable-background-networking"):
            options.add_argument(arg)
        driver = webdriver.Chrome(service=Service(DRIVER), options=options)
        driver.set_page_load_timeout(30)
        driver.set_script_timeout(10)
        driver.get(url)

        # What the page itself holds of the last frame it painted.
        def texts():
            return driver.execute_script(
                "return last ? last.screen.items.filter(i => i.text).map(i => i.text) : []") or []

        def frame_number():
            f = driver.execute_script("return last ? last.frame : -1")
            return f if f is not None else -1

        progress = lambda: (f"frame {frame_number()}, status "
                            f"'{driver.find_element(By.ID, 'status').text}'")
        wait("the first frame", lambda: frame_number() > 0, 30)
        # Under the sanitizers the game may not keep real time; the creator's scene takes seconds.
        Select(driver.find_element(By.ID, "speed")).select_by_visible_text("8")
        wait("the creator's blip on the map",
             lambda: driver.execute_script("return last.map.blips.length"), 30)

        # A new player reads the line above the screen and follows it: the creator's blip is far
        # off the map, and the list beside the map names it; a shift-click there goes at once.
        guide = driver.find_element(By.ID, "guide")
        wait("the guidance line pointing at the creator's blip",
             lambda: guide.text.startswith("The creator's blip is ")
             and guide.text.endswith(": click it on the map, or Shift-click to go there at once."), 30)
        entry = next(li for li in driver.find_elements(By.CSS_SELECTOR, "#places li.blip")
                     if li.text.startswith("Brimvale - Create Character "))
        ActionChains(driver).key_down(Keys.SHIFT).click(entry).key_up(Keys.SHIFT).perform()
        wait("the guidance line naming the creator's key",
             lambda: guide.text == "Press E to Create Your Brimvale Character.", 30)
        milestones = driver.find_element(By.ID, "milestones")
        wait("the creator's prompt in the milestone panel",
             lambda: "to Create Your Brimvale Character" in milestones.text, 30)

        screen = driver.find_element(By.ID, "screen")

        def press(key):
            # One press a frame or two apart, as a player's fingers are.
            before = frame_number()
            ActionChains(driver).move_to_element(screen).click().send_keys(key).perform()
            wait(f"frames after pressing {key!r}", lambda: frame_number() >= before + 4, 20)

        press("e")
        wait("the creator's title on the screen",
             lambda: "CREATOR" in texts() and "CHARACTER" in texts(), 120)
        wait("the creator's main menu, its rows drawn word by word",
             lambda: "FEATURES" in texts() and "HAIR" in texts(), 60)
        driver.save_screenshot(os.path.join(shot_dir, "live-page-creator.png"))
        if docs_shot:
            shutil.copyfile(os.path.join(shot_dir, "live-page-creator.png"), docs_shot)

        # The main menu's last row, CREATE CHARACTER, finishes the creator.
        for key in (Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ENTER):
            press(key)
        save = driver.find_element(By.ID, "save")
        wait('"Create Character=True" in the save panel',
             lambda: "Create Character=True" in save.text, 60)
        driver.save_screenshot(os.path.join(shot_dir, "live-page-created.png"))
        print("the page opened the creator, finished it and shows Create Character=True")

        # Every viewer's place taken while the page is away: it is turned away when it comes back,
        # says so, and streams again by itself once places are free.
        driver.get("about:blank")
        streams = take_every_place(url)
        try:
            driver.get(url)
            status = driver.find_element(By.ID, "status")
            wait('"reconnecting..." in the status line', lambda: status.text == "reconnecting...", 20)
        finally:
            for s in streams:
                s.close()
        wait("frames again after the places came free",
             lambda: status.text.startswith("frame ") and frame_number() > 0, 30)
        print("the page, turned away by twelve viewers, reconnected by itself")
        return 0
    except Failed as e:
        print(f"FAILED: {e}", flush=True)
        if driver:
            driver.save_screenshot(os.path.join(shot_dir, "live-page-failed.png"))
            print("screenshot: " + os.path.join(shot_dir, "live-page-failed.png"))
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


if __name__ == "__main__":
    sys.exit(main())
