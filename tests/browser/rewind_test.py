"""A live session rewound in a real browser: headless Chromium makes a character through the page,
drags the timeline back into the creator's menu, plays on from there to a made character again,
reads the session's recording from the page's download link, and `brimvale-sim replay` of it ends
with the save file the page shows.

usage: rewind_test.py BRIMVALE_SIM SHOT_DIR
Exits 77 (skipped) when Chromium, its driver or Selenium is missing."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import urllib.request

sys.dont_write_bytecode = True
from page_session import Failed, Page, run, wait
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select


def entries(text):
    """A save file's text, or the save panel's, as {(section, key): value}."""
    found, section = {}, None
    for line in text.splitlines():
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1]
        elif "=" in line:
            found[(section, line.split("=", 1)[0])] = line.split("=", 1)[1]
    return found


def save_panel(driver):
    return entries(driver.find_element(By.ID, "save").text)


def finish_creator(page):
    for key in (Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ENTER):
        page.press(key)
    wait('"Create Character=True" in the save panel',
         lambda: save_panel(page.driver).get(("Character", "Create Character")) == "True", 60)


def play(driver, url, work, sim, shot_dir):
    driver.get(url)
    page = Page(driver)
    wait("the first frame", lambda: page.frame() > 0, 30)
    Select(driver.find_element(By.ID, "speed")).select_by_visible_text("8")
    wait("the creator's blip in the list beside the map",
         lambda: any(li.text.startswith("Brimvale - Create Character ")
                     for li in driver.find_elements(By.CSS_SELECTOR, "#places li.blip")), 30)
    entry = next(li for li in driver.find_elements(By.CSS_SELECTOR, "#places li.blip")
                 if li.text.startswith("Brimvale - Create Character "))
    ActionChains(driver).key_down(Keys.SHIFT).click(entry).key_up(Keys.SHIFT).perform()
    wait("the guidance line naming the creator's key",
         lambda: page.guide.text == "Press E to Create Your Brimvale Character.", 30)
    page.press("e")
    wait("the creator's main menu", lambda: "FEATURES" in page.texts(), 120)
    menu = page.frame()
    # A while in the menu before choosing, so that the timeline has room to land in it.
    wait("frames in the creator's menu", lambda: page.frame() >= menu + 60, 30)
    finish_creator(page)
    made = page.frame()
    wait("frames after the character was made", lambda: page.frame() >= made + 40, 30)
    driver.find_element(By.ID, "pause").click()
    wait("the game paused", lambda: driver.find_element(By.ID, "pause").text == "Resume", 10)
    now = page.frame()

    # Dragged from the middle of the timeline to the frame half a second into the menu.
    timeline = driver.find_element(By.ID, "timeline")
    target = menu + 15
    width = timeline.size["width"]
    dx = round((target / now - 0.5) * width)
    ActionChains(driver).click_and_hold(timeline).move_by_offset(dx, 0).release().perform()
    progress = driver.find_element(By.ID, "progress")
    told = wait("the progress line saying where the rewind went",
                lambda: re.match(r"rewound to frame (\d+) in [0-9.]+ s \(every digest matched\); "
                                 r"paused$", progress.text), 60)
    rewound = int(told.group(1))
    if not menu <= rewound < made - 20:
        raise Failed(f"the timeline went to frame {rewound}, not into the menu (frames {menu} to "
                     f"{made}); dragged {dx} px of {width} for frame {target} of {now}")
    wait("the rewound frame on the page", lambda: page.frame() == rewound, 10)
    if ("Character", "Create Character") in save_panel(driver):
        raise Failed("the save panel still shows the made character after the rewind")
    if "Create Character=True" in driver.find_element(By.ID, "milestones").text:
        raise Failed("the milestone panel still tells of the made character after the rewind")
    if "FEATURES" not in page.texts():
        raise Failed("the creator's menu is not on the screen after the rewind")
    driver.save_screenshot(os.path.join(shot_dir, "rewound.png"))
    print(f"the timeline rewound the session from frame {now} to frame {rewound}: {told.group(0)}")

    driver.find_element(By.ID, "pause").click()
    finish_creator(page)
    made = page.frame()
    wait("frames after the character was made again", lambda: page.frame() >= made + 40, 30)
    driver.find_element(By.ID, "pause").click()
    wait("the game paused", lambda: driver.find_element(By.ID, "pause").text == "Resume", 10)
    shown = save_panel(driver)

    link = driver.find_element(By.ID, "download")
    recording = os.path.join(work, "downloaded.jsonl")
    with urllib.request.urlopen(link.get_attribute("href"), timeout=10) as answer:
        if answer.headers.get_content_type() != "application/x-ndjson":
            raise Failed(f"the download is {answer.headers.get_content_type()}")
        with open(recording, "wb") as f:
            f.write(answer.read())
    out = os.path.join(work, "replayed")
    replay = subprocess.run([sim, "replay", recording, "--out", out], capture_output=True,
                            text=True, timeout=120)
    if replay.returncode != 0:
        raise Failed(f"replay exited {replay.returncode}:\n{replay.stdout}{replay.stderr}")
    with open(os.path.join(out, "Brimvale.ini"), encoding="utf-8") as f:
        replayed = entries(f.read())
    if replayed != shown:
        raise Failed(f"the replay's save file {replayed} is not the page's {shown}")
    print("the downloaded recording replays to the save file the page shows "
          f"({len(shown)} keys): " + replay.stdout.strip().splitlines()[-2])
    return 0


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    sim, shot_dir = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp(prefix="brimvale_rewind_")
    try:
        return run(lambda driver, url: play(driver, url, work, sim, shot_dir), shot_dir,
                   ["--record", os.path.join(work, "session.jsonl")])
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
