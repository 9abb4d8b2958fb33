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

std::string SideOf(const SimHost& host, int32_t ped) {
  auto scene = host.world.scene.peds.find(ped);
  if (scene == host.world.scene.peds.end()) return "neutral";
  auto group = host.world.scene.relGroups.find(scene->second.relGroup);
  const std::string name = group == host.world.scene.relGroups.end() ? "" : group->second.name;
  for (const auto& [pair, value] : host.world.scene.relations) {
    if (pair.first == scene->second.relGroup && value >= 5) return "hostile";
  }
  if (name.find("GANG") != std::string::npos || name.find("gang") != std::string::npos)
    return "gang";
  return scene->second.combatTarget == host.world.player.ped ? "hostile" : "neutral";
}

}  // namespace

std::span<const MapPlace> MapPlaces() {
  static constexpr MapPlace kPlaces[] = {
      {"creator", {2549.794f, -1169.821f, 53.684f}},
      {"start point", {2902.887f, -247.843f, 40.970f}},
      {"penitentiary", {3267.54f, -625.4f, 41.51f}},
      {"hideout", {-965.697f, 2177.398f, 339.853f}},
      {"gang hideout", {-2107.176f, 1842.135f, 255.475f}},
      {"Valentine wardrobe", {-326.392f, 797.185f, 121.512f}},
      {"Blackwater wardrobe", {-756.097f, -1299.822f, 43.638f}},
      {"station", {1523.26f, 449.16f, 90.362f}},
      {"safe zone", {1178.211f, -109.881f, 95.127f}},
  };
  return kPlaces;
}

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
  auto value = [&](const char* section, const char* key) {
    auto it = save.find({section, key});
    return it == save.end() ? std::string() : it->second;
  };
  int32_t maxHealth = 0;
  if (auto it = host.world.scene.peds.find(host.world.player.ped);
      it != host.world.scene.peds.end())
    maxHealth = it->second.maxHealth;
  return {{"money", host.world.scene.money / 100.0},
          {"dead", host.world.player.dead},
          {"maxHealth", maxHealth},
          {"rank", value("Rank", "Rank")},
          {"xp", value("Rank", "XP")},
          {"skillPoints", value("Rank", "Skill Points")},
          {"progress", value("Story", "Progress")}};
}

json MapJson(const SimHost& host) {
  const World& w = host.world;
  const SimEntity& player = w.entities.at(w.player.ped);
  json map = {{"player",
               {{"x", player.position.x}, {"y", player.position.y}, {"heading", player.heading}}}};
  json blips = json::array();
  for (const auto& [handle, blip] : w.blips.blips) {
    if (handle == w.blips.playerBlip) continue;
    Vector3 at = blip.position;
    if (blip.entity) {
      auto e = w.entities.find(blip.entity);
      if (e == w.entities.end()) continue;
      at = e->second.position;
    }
    const char* kind = blip.kind == BlipKind::Radius ? "radius" : "objective";
    for (Hash modifier : blip.modifiers) {
      if (modifier == GameHash("BLIP_MODIFIER_AREA_ROUTE")) kind = "route";
    }
    blips.push_back(
        {{"x", at.x}, {"y", at.y}, {"radius", blip.radius}, {"name", blip.name}, {"kind", kind}});
  }
  map["blips"] = std::move(blips);
  json peds = json::array(), vehicles = json::array(), objects = json::array();
  for (const auto& [handle, e] : w.entities) {
    if (handle == w.player.ped) continue;
    json thing = {{"x", e.position.x}, {"y", e.position.y}, {"heading", e.heading}};
    if (e.kind == EntityKind::Ped) {
      auto scene = w.scene.peds.find(handle);
      thing["side"] = SideOf(host, handle);
      thing["state"] = e.dead                                              ? "dead"
                       : scene != w.scene.peds.end() && scene->second.down ? "down"
                                                                           : "up";
      peds.push_back(std::move(thing));
    } else {
      (e.kind == EntityKind::Vehicle ? vehicles : objects).push_back(std::move(thing));
    }
  }
  map["peds"] = std::move(peds);
  map["vehicles"] = std::move(vehicles);
  map["objects"] = std::move(objects);
  const SimCamera* seen = nullptr;
  for (const auto& [handle, cam] : w.cameras.cameras) {
    if (cam.active && (!seen || cam.activatedSeq > seen->activatedSeq)) seen = &cam;
  }
  if (seen)
    map["camera"] = {
        {"x", seen->position.x}, {"y", seen->position.y}, {"heading", seen->rotation.z}};
  json places = json::array();
  for (const MapPlace& p : MapPlaces())
    places.push_back({{"name", p.name}, {"x", p.at.x}, {"y", p.at.y}});
  map["places"] = std::move(places);
  return map;
}

}  // namespace brimvale::sim
