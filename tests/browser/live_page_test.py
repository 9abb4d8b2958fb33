"""The live page in a real browser: headless Chromium opens it, follows the guidance line to the
creator (a shift-click on its name beside the map), presses E there, finishes the creator with the arrow keys and Enter, and reads
"Create Character=True" in the save panel. Screenshots of the page are kept.

usage: live_page_test.py BRIMVALE_SIM SHOT_DIR [DOCS_SHOT]
Exits 77 (skipped) when Chromium, its driver or Selenium is missing."""

import os
import select
import shutil
import socket
import sys
import threading
import time

# The shared module is imported from the source tree; leave no compiled copy there.
sys.dont_write_bytecode = True
from page_session import Failed, Page, run, wait
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select


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


def play(driver, url, shot_dir, docs_shot):
    driver.get(url)
    page = Page(driver)
    wait("the first frame", lambda: page.frame() > 0, 30)
    # Under the sanitizers the game may not keep real time; the creator's scene takes seconds.
    Select(driver.find_element(By.ID, "speed")).select_by_visible_text("8")
    wait("the creator's blip on the map",
         lambda: driver.execute_script("return last.map.blips.length"), 30)

    # A new player reads the line above the screen and follows it: the creator's blip is far
    # off the map, and the list beside the map names it; a shift-click there goes at once.
    guide = page.guide
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

    page.press("e")
    wait("the creator's title on the screen",
         lambda: "CREATOR" in page.texts() and "CHARACTER" in page.texts(), 120)
    wait("the creator's main menu, its rows drawn word by word",
         lambda: "FEATURES" in page.texts() and "HAIR" in page.texts(), 60)
    driver.save_screenshot(os.path.join(shot_dir, "live-page-creator.png"))
    if docs_shot:
        shutil.copyfile(os.path.join(shot_dir, "live-page-creator.png"), docs_shot)

    # The main menu's last row, CREATE CHARACTER, finishes the creator.
    for key in (Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ENTER):
        page.press(key)
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
    page = Page(driver)
    wait("frames again after the places came free",
         lambda: status.text.startswith("frame ") and page.frame() > 0, 30)
    print("the page, turned away by twelve viewers, reconnected by itself")
    return 0


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    shot_dir = sys.argv[2]
    docs_shot = sys.argv[3] if len(sys.argv) > 3 else None
    return run(lambda driver, url: play(driver, url, shot_dir, docs_shot), shot_dir)


if __name__ == "__main__":
    sys.exit(main())
