// The world map inset in the screenshots' bottom-left corner, one layer a function, painted in the
// order they are called.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "pictures/screen_layout.h"

namespace brimvale::sim::layout {
namespace {

// A box turned about its centre: a blip, a vehicle, the camera, the player.
DrawItem Mark(std::pair<double, double> at, double w, double h, double rotation, Rgba fill,
              Rgba stroke, double strokeWidth) {
  DrawItem mark = Item(DrawKind::Box, at.first, at.second, w, h);
  mark.rotation = rotation;
  mark.fill = fill;
  mark.stroke = stroke;
  mark.strokeWidth = strokeWidth;
  return mark;
}

}  // namespace

void Layout::MapInset(const WorldMap& map) {
  const double size = 300 * unit_, pad = 8 * unit_;
  const double left = 24 * unit_, top = h_ - 36 * unit_ - 16 * unit_ - size;
  const InsetFrame f{
      map, left, top, size, pad, left + size / 2, top + size / 2, size / kMapInsetMetres};
  DrawItem back = Item(DrawKind::RoundBox, left, top, size, size);
  back.radius = 6 * unit_;
  back.fill = {0.06, 0.07, 0.08, 0.85};
  back.stroke = {0.8, 0.78, 0.7, 0.6};
  back.strokeWidth = 1.5 * unit_;
  Add(back);
  InsetGrid(f);
  InsetPlaces(f);
  InsetBlips(f);
  InsetVehicles(f);
  InsetObjects(f);
  InsetPeds(f);
  InsetCamera(f);
  InsetPlayer(f);
}

// A grid line every 50 metres of world coordinates.
void Layout::InsetGrid(const InsetFrame& f) {
  const MapThing& player = f.map.player;
  const double step = 50.0;
  for (double gx = std::ceil((player.x - kMapInsetMetres / 2) / step) * step;
       gx <= player.x + kMapInsetMetres / 2; gx += step) {
    const double sx = f.At(static_cast<float>(gx), 0).first;
    AddLine(sx, f.top + 1, 0, f.size - 2);
  }
  for (double gy = std::ceil((player.y - kMapInsetMetres / 2) / step) * step;
       gy <= player.y + kMapInsetMetres / 2; gy += step) {
    const double sy = f.At(0, static_cast<float>(gy)).second;
    AddLine(f.left + 1, sy, f.size - 2, 0);
  }
}

void Layout::InsetPlaces(const InsetFrame& f) {
  for (const MapPlace& place : MapPlaces()) {
    const auto p = f.At(place.at.x, place.at.y);
    if (!f.Inside(p)) continue;
    Dot(p, 3 * unit_, {0.55, 0.56, 0.6, 1});
    PlainText(place.name, InsetLabel(), p.first + 6 * unit_, p.second + 4 * unit_);
  }
}

void Layout::InsetBlips(const InsetFrame& f) {
  for (const MapBlip& blip : f.map.blips) {
    const DrawColour gold = std::string(blip.kind) == "route" ? DrawColour{0.94, 0.82, 0.44, 1}
                                                              : DrawColour{0.9, 0.71, 0.29, 1};
    auto p = f.At(blip.x, blip.y);
    if (std::string(blip.kind) == "radius" && blip.radius * f.scale >= 3) {
      DrawItem ring = Ring(p, blip.radius * f.scale, gold);
      if (f.Inside(p)) Add(ring);
    }
    // A blip beyond the inset is pinned to its edge, in the direction to go, without its name.
    const bool pinned = !f.Inside(p);
    p.first = std::clamp(p.first, f.left + f.pad, f.left + f.size - f.pad);
    p.second = std::clamp(p.second, f.top + f.pad, f.top + f.size - f.pad);
    Add(Mark(p, 9 * unit_, 9 * unit_, 45, gold, {0, 0, 0, 0.8}, 1));
    if (!blip.name.empty() && !pinned)
      PlainText(blip.name, {InsetLabel().size, {1, 0.93, 0.6, 1}, false, false},
                p.first + 8 * unit_, p.second - 6 * unit_);
  }
}

void Layout::InsetVehicles(const InsetFrame& f) {
  for (const MapThing& vehicle : f.map.vehicles) {
    const auto p = f.At(vehicle.x, vehicle.y);
    if (!f.Inside(p)) continue;
    Add(Mark(p, 8 * unit_, 14 * unit_, -vehicle.heading, {0.42, 0.69, 1, 0.25}, {0.42, 0.69, 1, 1},
             1.5));
  }
}

void Layout::InsetObjects(const InsetFrame& f) {
  for (const MapThing& object : f.map.objects) {
    const auto p = f.At(object.x, object.y);
    if (!f.Inside(p)) continue;
    DrawItem box = Item(DrawKind::Box, p.first, p.second, 5 * unit_, 5 * unit_);
    box.fill = {0.79, 0.63, 1, 1};
    Add(box);
  }
}

void Layout::InsetPeds(const InsetFrame& f) {
  for (const MapPed& ped : f.map.peds) {
    const auto p = f.At(ped.x, ped.y);
    if (!f.Inside(p)) continue;
    const std::string side = ped.side, state = ped.state;
    DrawColour colour = side == "hostile" ? DrawColour{0.88, 0.25, 0.25, 1}
                        : side == "gang"  ? DrawColour{0.82, 0.44, 0.19, 1}
                                          : DrawColour{0.6, 0.67, 0.67, 1};
    if (state != "up") colour.a = 0.5;
    Dot(p, 3.5 * unit_, colour);
    // Dead peds are crossed out; downed ones say so.
    if (state == "dead") {
      const double r = 5 * unit_;
      AddLine(p.first - r, p.second - r, 2 * r, 2 * r, {1, 1, 1, 0.9}, 1.5);
      AddLine(p.first - r, p.second + r, 2 * r, -2 * r, {1, 1, 1, 0.9}, 1.5);
    } else if (state == "down") {
      PlainText("down", {11 * unit_, {1, 1, 1, 0.8}, false, false}, p.first + 5 * unit_,
                p.second + 4 * unit_);
    }
  }
}

void Layout::InsetCamera(const InsetFrame& f) {
  if (!f.map.camera) return;
  const auto p = f.At(f.map.camera->x, f.map.camera->y);
  if (!f.Inside(p)) return;
  Add(Mark(p, 9 * unit_, 9 * unit_, -f.map.camera->heading, {0.5, 1, 0.5, 0.15}, {0.5, 1, 0.5, 1},
           1.5));
  PlainText("camera", {InsetLabel().size, {0.5, 1, 0.5, 1}, false, false}, p.first + 7 * unit_,
            p.second + 4 * unit_);
}

// The player at the centre, a line out along the heading (0 faces north, anticlockwise), and the
// position and heading above the inset.
void Layout::InsetPlayer(const InsetFrame& f) {
  const MapThing& player = f.map.player;
  const double rad = player.heading * std::numbers::pi / 180.0, reach = 16 * unit_;
  AddLine(f.cx, f.cy, -std::sin(rad) * reach, -std::cos(rad) * reach, {1, 1, 1, 1}, 2.5 * unit_);
  Add(Mark({f.cx, f.cy}, 10 * unit_, 10 * unit_, -player.heading, {1, 1, 1, 1}, {0, 0, 0, 0.9},
           1.5));
  char where[96];
  std::snprintf(where, sizeof where, "%.0f, %.0f  heading %.0f", player.x, player.y,
                player.heading);
  PlainText(where, InsetLabel(), f.left, f.top - 6 * unit_);
}

}  // namespace brimvale::sim::layout
