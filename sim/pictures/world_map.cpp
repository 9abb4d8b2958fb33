#include "pictures/world_map.h"

#include <cmath>

namespace brimvale::sim {
namespace {

const char* SideOf(const SimHost& host, int32_t ped) {
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

WorldMap CaptureWorldMap(const SimHost& host) {
  const World& w = host.world;
  WorldMap map;
  const SimEntity& player = w.entities.at(w.player.ped);
  map.player = {player.position.x, player.position.y, player.heading};
  for (const auto& [handle, blip] : w.blips.blips) {
    if (handle == w.blips.playerBlip) continue;
    Vector3 at = blip.position;
    if (blip.entity) {
      auto e = w.entities.find(blip.entity);
      if (e == w.entities.end()) continue;
      at = e->second.position;
    }
    MapBlip mark{at.x, at.y, blip.radius, blip.name,
                 blip.kind == BlipKind::Radius ? "radius" : "objective"};
    for (Hash modifier : blip.modifiers) {
      if (modifier == GameHash("BLIP_MODIFIER_AREA_ROUTE")) mark.kind = "route";
    }
    map.blips.push_back(std::move(mark));
  }
  for (const auto& [handle, e] : w.entities) {
    if (handle == w.player.ped) continue;
    if (e.kind == EntityKind::Ped) {
      auto scene = w.scene.peds.find(handle);
      const char* state = e.dead                                              ? "dead"
                          : scene != w.scene.peds.end() && scene->second.down ? "down"
                                                                              : "up";
      map.peds.push_back({e.position.x, e.position.y, e.heading, SideOf(host, handle), state});
    } else {
      (e.kind == EntityKind::Vehicle ? map.vehicles : map.objects)
          .push_back({e.position.x, e.position.y, e.heading});
    }
  }
  const SimCamera* seen = nullptr;
  for (const auto& [handle, cam] : w.cameras.cameras) {
    if (cam.active && (!seen || cam.activatedSeq > seen->activatedSeq)) seen = &cam;
  }
  if (seen) map.camera = MapThing{seen->position.x, seen->position.y, seen->rotation.z};
  return map;
}

WorldView CaptureWorldView(const SimHost& host) {
  WorldView view;
  view.map = CaptureWorldMap(host);
  const SimEntity& player = host.world.entities.at(host.world.player.ped);
  view.ground = player.position.z;
  const SimCamera* seen = nullptr;
  for (const auto& [handle, cam] : host.world.cameras.cameras) {
    if (cam.active && (!seen || cam.activatedSeq > seen->activatedSeq)) seen = &cam;
  }
  if (seen) {
    view.eye = seen->position;
    view.pitch = seen->rotation.x;
    view.yaw = seen->rotation.z;
    if (seen->fov > 1) view.fov = seen->fov;
    return view;
  }
  // Nine metres behind the player's back and four up, looking a little down past him: far enough
  // that he stands in the lower middle with room to see what is ahead.
  const float h = player.heading * 3.14159265f / 180.0f;
  view.eye = {player.position.x + 9.0f * std::sin(h), player.position.y - 9.0f * std::cos(h),
              player.position.z + 4.0f};
  view.yaw = player.heading;
  view.pitch = -15.0f;
  return view;
}

}  // namespace brimvale::sim
