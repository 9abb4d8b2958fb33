"""A new player's first steps on the live page in a real browser, with only what the page offers:
the guidance line above the screen, the list beside the map, clicks on the map and keys. From a
new game it goes to the creator, makes a character, goes to the start point, starts the prologue
and knocks the first guard down by hand; each step waits for what the player would see.

usage: newcomer_test.py BRIMVALE_SIM SHOT_DIR
Exits 77 (skipped) when Chromium, its driver or Selenium is missing."""

import os
import re
import sys
import time

# The shared module is imported from the source tree; leave no compiled copy there.
sys.dont_write_bytecode = True
from page_session import Failed, Page, run, wait
from selenium.common.exceptions import StaleElementReferenceException
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

SPEED = "8"  # of the page's speeds

# The canvas sampled on a grid: how many colours, the share of the commonest, the share of the
# lower half in the ground's brown (redder than blue, where the sky is bluer) and the samples in
# the player's white.
CANVAS_COLOURS = """
const c = document.getElementById('screen'), g = c.getContext('2d');
const data = g.getImageData(0, 0, c.width, c.height).data, seen = new Map();
let ground = 0, lower = 0, white = 0;
for (let y = 5; y < c.height; y += 10) for (let x = 5; x < c.width; x += 10) {
  const i = (y * c.width + x) * 4, r = data[i], gr = data[i + 1], b = data[i + 2];
  const key = (r << 16) | (gr << 8) | b;
  seen.set(key, (seen.get(key) || 0) + 1);
  if (y > c.height / 2) { lower++; if (r > b + 6) ground++; }
  if (r > 220 && gr > 220 && b > 210) white++;
}
let most = 0, all = 0;
for (const n of seen.values()) { most = Math.max(most, n); all += n; }
return [seen.size, most / all, ground / lower, white];
"""

# Where the nearest standing foe is drawn on the map, from the map canvas's centre in CSS pixels.
FOE_ON_MAP = """
const m = last.map, p = m.player;
const foes = m.peds.filter(q => q.side !== 'neutral' && q.state === 'up');
if (!foes.length) return null;
foes.sort((a, b) => Math.hypot(a.x - p.x, a.y - p.y) - Math.hypot(b.x - p.x, b.y - p.y));
const [sx, sy] = toScreen(foes[0].x, foes[0].y);
const c = document.getElementById('map'), r = c.getBoundingClientRect();
return [(sx - c.width / 2) * r.width / c.width, (sy - c.height / 2) * r.height / c.height];
"""


def shift_click_entry(driver, starts):
    """Shift-clicks the first name in the list beside the map that starts so; the list is redrawn
    as distances change, so a name that went stale is looked up again."""
    def attempt():
        for li in driver.find_elements(By.CSS_SELECTOR, "#places li"):
            try:
                if li.text.startswith(starts):
                    ActionChains(driver).key_down(Keys.SHIFT).click(li).key_up(Keys.SHIFT).perform()
                    return True
            except StaleElementReferenceException:
                return False
        return False
    wait(f"a name starting {starts!r} beside the map to click", attempt, 20)


def go_and_press(driver, page, what, place, key, prompt):
    """Follows the guidance line to a blip (a shift-click on its name beside the map goes there at
    once) and presses the key the line then names."""
    guide = page.guide
    wait(f"the guidance line pointing at the {what}'s blip",
         lambda: re.fullmatch(rf"The {what}'s blip is [0-9.]+ k?m [a-z-]+: click it on the map, "
                              r"or Shift-click to go there at once\.", guide.text), 60)
    shift_click_entry(driver, place)
    wait(f"the guidance line naming the {what}'s key",
         lambda: guide.text == f"Press {key.upper()} to {prompt}.", 30)
    page.press(key)


def guide_distance(text):
    """The metres in the guidance line's "Walk to him (N m ...)"."""
    found = re.search(r"Walk to him \((\d+) m ", text)
    return int(found.group(1)) if found else None


def in_reach(text):
    metres = guide_distance(text)
    return metres is not None and metres <= 2


def play(driver, url, shot_dir):
    started = time.monotonic()
    driver.get(url)
    page = Page(driver)
    guide = page.guide
    wait("the first frame", lambda: page.frame() > 0, 30)
    colours, commonest, ground, white = driver.execute_script(CANVAS_COLOURS)
    print(f"the first frame: {colours} colours, the commonest on {commonest:.0%}, the ground on "
          f"{ground:.0%} of the lower half, {white} samples of the player's white")
    if colours < 4 or commonest > 0.9:
        raise Failed("the first frame's screen is nearly one colour")
    if ground < 0.5 or white < 20:
        raise Failed("the first frame does not show the ground and the player on it")
    stats = driver.find_element(By.ID, "stats")
    wait("the player panel of a new game", lambda: "character not made yet" in stats.text, 10)
    if "max 0" in stats.text:
        raise Failed("the player panel shows a maximum health before the game has one: "
                     + stats.text)
    # The sanitizer build may not keep real time; the page's own speed control keeps the run short.
    Select(driver.find_element(By.ID, "speed")).select_by_visible_text(SPEED)

    go_and_press(driver, page, "creator", "Brimvale - Create Character ", "e",
                 "Create Your Brimvale Character")
    wait("the creator's main menu on the screen",
         lambda: "FEATURES" in page.texts() and "HAIR" in page.texts(), 120)
    wait("the guidance line on the menu's keys",
         lambda: guide.text.startswith("A menu is open: Up and Down choose a row"), 10)
    for key in (Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ENTER):
        page.press(key)
    save = driver.find_element(By.ID, "save")
    wait('"Create Character=True" in the save panel', lambda: "Create Character=True" in save.text,
         60)
    wait("the player panel saying so", lambda: "character made" in stats.text, 10)
    print(f"character made after {time.monotonic() - started:.0f} s; the player panel reads "
          + " | ".join(stats.text.splitlines()))

    go_and_press(driver, page, "start point", "Brimvale (start point) ", "c",
                 "Continue Your Brimvale")
    wait("the guidance line asking to wait through the opening scene",
         lambda: guide.text == "A scene is playing: the next step shows here when it ends.", 60)

    wait("the guidance line sending the player to the first guard",
         lambda: guide.text.startswith("Take out the Guard. Walk to him (")
         and guide.text.endswith(") and press F to knock him down, or X to kill."), 180)
    wait("the objective on the screen", lambda: "Guard." in page.texts(), 10)
    wait("the guard's blip named beside the map", lambda: any(
        name.startswith("blip (hostile ped) ") for name in driver.execute_script(
            "return [...document.querySelectorAll('#places li.blip')].map(li => li.textContent)")),
         10)
    print(f"prologue started after {time.monotonic() - started:.0f} s: {guide.text}")
    driver.save_screenshot(os.path.join(shot_dir, "newcomer-first-guard.png"))
    map_canvas = driver.find_element(By.ID, "map")
    for _ in range(4):
        at = driver.execute_script(FOE_ON_MAP)
        if not at:
            raise Failed("no standing guard on the map")
        ActionChains(driver).move_to_element_with_offset(map_canvas, round(at[0]),
                                                         round(at[1])).click().perform()
        try:
            wait("the guidance line saying the guard is in reach",
                 lambda: in_reach(guide.text), 30)
            break
        except Failed:
            print("not there yet: " + guide.text)  # he moved; click him again where he is now
    else:
        raise Failed("could not reach the guard: " + guide.text)
    page.press("f")
    wait("the guard down on the map", lambda: driver.execute_script(
        "return last.map.peds.some(q => q.side !== 'neutral' && q.state === 'down')"), 10)
    wait("the next step in the guidance line", lambda: not guide.text.startswith("Take out"), 30)
    driver.save_screenshot(os.path.join(shot_dir, "newcomer-guard-down.png"))
    print(f"the first guard is down after {time.monotonic() - started:.0f} s; the line reads: "
          + guide.text)
    return 0


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    return run(lambda driver, url: play(driver, url, sys.argv[2]), sys.argv[2])


if __name__ == "__main__":
    sys.exit(main())
