// The world map around the player as the live page and the screenshots' inset show it: the
// player, the blips, the peds by side, vehicles, objects, the script camera and the campaign's
// fixed places, taken from the world between frames.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "hook/host.h"

namespace brimvale::sim {

// The campaign's fixed places as the game's map names them.
struct MapPlace {
  const char* name;
  Vector3 at;
};
std::span<const MapPlace> MapPlaces();

struct MapThing {
  float x = 0, y = 0;
  float heading = 0;  // degrees, 0 facing north, turning anticlockwise
};

struct MapBlip {
  float x = 0, y = 0, radius = 0;
  std::string name;
  const char* kind = "objective";  // "objective", "radius" or "route"
};

struct MapPed {
  float x = 0, y = 0, heading = 0;
  const char* side = "neutral";  // "hostile", "gang" or "neutral"
  const char* state = "up";      // "up", "down" or "dead"
};

struct WorldMap {
  MapThing player;
  std::vector<MapBlip> blips;
  std::vector<MapPed> peds;
  std::vector<MapThing> vehicles;
  std::vector<MapThing> objects;
  std::optional<MapThing> camera;  // the script camera the game shows, if any
};

WorldMap CaptureWorldMap(const SimHost& host);

// The world as the game's picture shows it under the HUD: what the map holds, seen from the
// camera in use, over flat ground at the player's height.
struct WorldView {
  WorldMap map;
  Vector3 eye{};
  float yaw = 0, pitch = 0;  // degrees: yaw as a heading, pitch below zero looking down
  float fov = 50;            // degrees, vertical
  float ground = 0;          // the ground's height
};

// The script camera the plugin renders, else a camera behind and above the player.
WorldView CaptureWorldView(const SimHost& host);

}  // namespace brimvale::sim
