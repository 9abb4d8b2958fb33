#include "live/live_frame.h"

#include "hook/host.h"

namespace brimvale::sim {
namespace {

using nlohmann::json;

json Colour(const DrawColour& c) {
  return {c.r, c.g, c.b, c.a};
}

const char* KindName(DrawKind kind) {
  switch (kind) {
    case DrawKind::Gradient:
      return "gradient";
    case DrawKind::Line:
      return "line";
    case DrawKind::Wash:
      return "wash";
    case DrawKind::Box:
      return "box";
    case DrawKind::RoundBox:
      return "roundbox";
    case DrawKind::Band:
      return "band";
    case DrawKind::Text:
      return "text";
  }
  return "";
}

}  // namespace

json DrawingJson(const ScreenDrawing& drawing) {
  json items = json::array();
  for (const DrawItem& item : drawing.items) {
    json j = {{"k", KindName(item.kind)}, {"x", item.x}, {"y", item.y}};
    if (item.w != 0) j["w"] = item.w;
    if (item.h != 0) j["h"] = item.h;
    if (item.rotation != 0) j["rotation"] = item.rotation;
    if (item.radius != 0) j["radius"] = item.radius;
    j["fill"] = Colour(item.fill);
    if (item.strokeWidth > 0 || item.kind == DrawKind::Gradient) {
      j["stroke"] = Colour(item.stroke);
      j["strokeWidth"] = item.strokeWidth;
    }
    if (!item.text.empty()) {
      j["text"] = item.text;
      j["size"] = item.size;
      if (item.serif) j["serif"] = true;
      if (item.bold) j["bold"] = true;
      if (item.kind == DrawKind::Box) j["ink"] = Colour(item.ink);
    }
    if (item.scaleX != 1.0) {
      j["originX"] = item.originX;
      j["scaleX"] = item.scaleX;
    }
    items.push_back(std::move(j));
  }
  return {{"width", drawing.width}, {"height", drawing.height}, {"items", std::move(items)}};
}

json StatsJson(const SimHost& host, const SaveEntries& save) {
  auto value = [&](const char* section, const char* key) { return SavedValue(save, section, key); };
  // Only what the game holds: a maximum health exists once something set one on the player.
  std::string health = host.world.player.dead ? "dead" : "alive";
  if (auto it = host.world.scene.peds.find(host.world.player.ped);
      !host.world.player.dead && it != host.world.scene.peds.end() && it->second.maxHealth > 0)
    health += ", max " + std::to_string(it->second.maxHealth);
  return {{"money", host.world.scene.money / 100.0},
          {"health", health},
          {"character", value("Character", "Create Character") == "True" ? "made" : "not made yet"},
          {"rank", value("Rank", "Rank")},
          {"xp", value("Rank", "XP")},
          {"skillPoints", value("Rank", "Skill Points")},
          {"progress", value("Story", "Progress")}};
}

json MapJson(const SimHost& host) {
  const WorldMap map = CaptureWorldMap(host);
  auto thing = [](const MapThing& t) {
    return json{{"x", t.x}, {"y", t.y}, {"heading", t.heading}};
  };
  json blips = json::array(), peds = json::array(), vehicles = json::array(),
       objects = json::array(), places = json::array();
  for (const MapBlip& b : map.blips)
    blips.push_back(
        {{"x", b.x}, {"y", b.y}, {"radius", b.radius}, {"name", b.name}, {"kind", b.kind}});
  for (const MapPed& p : map.peds)
    peds.push_back(
        {{"x", p.x}, {"y", p.y}, {"heading", p.heading}, {"side", p.side}, {"state", p.state}});
  for (const MapThing& v : map.vehicles)
    vehicles.push_back(thing(v));
  for (const MapThing& o : map.objects)
    objects.push_back(thing(o));
  for (const MapPlace& p : MapPlaces())
    places.push_back({{"name", p.name}, {"x", p.at.x}, {"y", p.at.y}});
  json out = {{"player", thing(map.player)},   {"blips", std::move(blips)},
              {"peds", std::move(peds)},       {"vehicles", std::move(vehicles)},
              {"objects", std::move(objects)}, {"places", std::move(places)}};
  if (map.camera) out["camera"] = thing(*map.camera);
  return out;
}

}  // namespace brimvale::sim
