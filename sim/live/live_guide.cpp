#include "live/live_guide.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "live/live_session.h"
#include "pictures/markup.h"

namespace brimvale::sim {
namespace {

// The page's key for a control the game names in a help text, or the control's own name.
std::string KeyFor(const std::string& action) {
  for (const KeyLegendLine& line : KeyLegend())
    for (const char* control : line.controls)
      if (control == "INPUT_" + action) return line.key;
  return action;
}

// A help text as the page's keys say it: "Press ~INPUT_LOOT~ to ..." reads "Press E to ...".
std::string WithKeys(const std::string& text) {
  std::string out;
  for (const MarkupRun& run : ParseMarkup(text)) {
    if (run.kind == RunKind::Icon)
      out += KeyFor(run.text);
    else if (run.kind == RunKind::NewLine)
      out += ' ';
    else
      out += run.text;
  }
  std::string tidy;
  for (char c : out)
    if (!(c == ' ' && (tidy.empty() || tidy.back() == ' '))) tidy += c;
  while (!tidy.empty() && tidy.back() == ' ')
    tidy.pop_back();
  return tidy;
}

std::string Distance(float metres) {
  char text[32];
  if (metres >= 1000.0f)
    std::snprintf(text, sizeof text, "%.1f km", metres / 1000.0f);
  else
    std::snprintf(text, sizeof text, "%.0f m", metres);
  return text;
}

// North up, east to the right, as the map shows them.
const char* Compass(float dx, float dy) {
  static constexpr const char* kNames[] = {"north", "north-east", "east", "south-east",
                                           "south", "south-west", "west", "north-west"};
  const double bearing = std::atan2(dx, dy) * 180.0 / 3.14159265358979;
  return kNames[static_cast<int>(std::lround((bearing < 0 ? bearing + 360 : bearing) / 45.0)) % 8];
}

std::string Where(const MapThing& from, float x, float y) {
  const float dx = x - from.x, dy = y - from.y;
  return Distance(std::hypot(dx, dy)) + " " + Compass(dx, dy);
}

// A blip by the campaign's place it marks, else by the name the plugin gave it.
std::string BlipName(const MapBlip& blip) {
  for (const MapPlace& place : MapPlaces())
    if (std::hypot(place.at.x - blip.x, place.at.y - blip.y) < 30.0f)
      return std::string("The ") + place.name + "'s blip";
  return blip.name.empty() ? std::string("The blip") : "The " + blip.name + " blip";
}

const MapBlip* NearestBlip(const WorldMap& map) {
  const MapBlip* best = nullptr;
  float bestDistance = 0;
  for (const MapBlip& b : map.blips) {
    const float d = std::hypot(b.x - map.player.x, b.y - map.player.y);
    if (!best || d < bestDistance) best = &b, bestDistance = d;
  }
  return best;
}

// The nearest ped in the given state, hostile or of a gang first.
const MapPed* NearestPed(const WorldMap& map, std::string_view state) {
  const MapPed* best = nullptr;
  float bestDistance = 0;
  for (const MapPed& p : map.peds) {
    if (p.state != state) continue;
    const bool foe = std::string_view(p.side) != "neutral";
    const float d = std::hypot(p.x - map.player.x, p.y - map.player.y) + (foe ? 0.0f : 1e6f);
    if (!best || d < bestDistance) best = &p, bestDistance = d;
  }
  return best;
}

}  // namespace

std::string GuideLine(const ScreenFrame& screen, const WorldMap& map) {
  // A help text that names a key says exactly what to press.
  if (screen.help.find("~INPUT_") != std::string::npos) return WithKeys(screen.help);
  if (!screen.prompts.empty()) return "Hold G: " + PlainText(screen.prompts.front());
  if (!screen.objective.empty()) {
    const std::string goal = WithKeys(screen.objective);
    auto starts = [&](const char* verb) { return goal.starts_with(verb); };
    if (starts("Take out") || starts("Eliminate")) {
      if (const MapPed* p = NearestPed(map, "up"))
        return goal + " Walk to him (" + Where(map.player, p->x, p->y) +
               ") and press F to knock him down, or X to kill.";
    }
    if (starts("Loot")) {
      if (const MapPed* p = NearestPed(map, "down"))
        return goal + " Walk to him (" + Where(map.player, p->x, p->y) + ") and press L.";
    }
    if (starts("Pick up")) return goal + " Walk to him and press B.";
    if (starts("Enter") || starts("Get onto")) return goal + " Walk to it and press V.";
    if (const MapBlip* b = NearestBlip(map))
      return goal + " " + BlipName(*b) + " is " + Where(map.player, b->x, b->y) +
             ": click it on the map.";
    return goal;
  }
  if (!screen.list.sprites.empty())
    return "A menu is open: Up and Down choose a row, Left and Right change it, Enter accepts, "
           "Backspace goes back.";
  // A cut scene shows through a script camera or behind a fade; walking off would not help.
  if (map.camera || screen.fade >= 0.5)
    return "A scene is playing: the next step shows here when it ends.";
  if (const MapBlip* b = NearestBlip(map))
    return BlipName(*b) + " is " + Where(map.player, b->x, b->y) +
           ": click it on the map, or Shift-click to go there at once.";
  return "Free roam: W/A/S/D walk and turn, Shift runs; a click on the map goes there.";
}

}  // namespace brimvale::sim
