// The world under the HUD, seen through the camera in use: plain shapes that read at a glance
// and stay dim enough that the plugin's drawing over them is never lost.
#include <algorithm>
#include <cmath>
#include <optional>

#include "pictures/screen_layout.h"

namespace brimvale::sim::layout {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kNear = 0.3;  // metres in front of the eye

struct Camera {
  double ex, ey, ez;
  double rx, ry, rz, ux, uy, uz, fx, fy, fz;  // right, up and forward
  double focal, cx, cy;                       // pixels
};

Camera MakeCamera(const WorldView& v, double w, double h) {
  const double yaw = v.yaw * kPi / 180, pitch = v.pitch * kPi / 180;
  Camera c{v.eye.x, v.eye.y, v.eye.z, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, w / 2, h / 2};
  c.fx = -std::sin(yaw) * std::cos(pitch), c.fy = std::cos(yaw) * std::cos(pitch),
  c.fz = std::sin(pitch);
  c.rx = std::cos(yaw), c.ry = std::sin(yaw), c.rz = 0;
  c.ux = std::sin(yaw) * std::sin(pitch), c.uy = -std::cos(yaw) * std::sin(pitch),
  c.uz = std::cos(pitch);
  c.focal = h / 2 / std::tan(std::clamp(v.fov, 10.0f, 120.0f) * kPi / 360);
  return c;
}

struct Seen {
  double x, y, depth;
};

std::optional<Seen> Project(const Camera& c, double x, double y, double z) {
  const double dx = x - c.ex, dy = y - c.ey, dz = z - c.ez;
  const double depth = dx * c.fx + dy * c.fy + dz * c.fz;
  if (depth < kNear) return std::nullopt;
  const double right = dx * c.rx + dy * c.ry + dz * c.rz;
  const double up = dx * c.ux + dy * c.uy + dz * c.uz;
  return Seen{c.cx + c.focal * right / depth, c.cy - c.focal * up / depth, depth};
}

// A thing standing on the ground: its footprint's width and its height, in metres.
struct Figure {
  double x, y, width, height, depth;
  Rgba fill;
  const char* label;
  double heading;    // degrees, or NaN for none
  double maxPixels;  // a marker's drawn height at most, or 0 for the figure's true size
};

}  // namespace

void Layout::World(const WorldView& view) {
  const Camera cam = MakeCamera(view, w_, h_);
  const double ground = view.ground;
  // The ground from the horizon down; the sky is the background above it.
  const double horizon = std::clamp(cam.cy + cam.focal * std::tan(view.pitch * kPi / 180), 0.0, h_);
  DrawItem earth = Item(DrawKind::RoundBox, 0, horizon, w_, h_ - horizon);
  earth.fill = {0.17, 0.16, 0.12, 1};
  if (horizon < h_) Add(earth);
  // Lines every ten metres around the player, so the ground shows distance and turning.
  const double px = view.map.player.x, py = view.map.player.y;
  const double gx = std::floor(px / 10) * 10, gy = std::floor(py / 10) * 10;
  auto segment = [&](double x0, double y0, double x1, double y1) {
    // Cut at the near plane so lines passing beside the eye still draw.
    auto a = Project(cam, x0, y0, ground), b = Project(cam, x1, y1, ground);
    for (int i = 1; i <= 8 && (!a || !b); ++i) {
      const double t = i / 8.0;
      if (!a) a = Project(cam, x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, ground);
      if (!b) b = Project(cam, x1 + (x0 - x1) * t, y1 + (y0 - y1) * t, ground);
    }
    if (a && b) AddLine(a->x, a->y, b->x - a->x, b->y - a->y, {0.35, 0.33, 0.25, 0.5}, 1.0);
  };
  for (int i = -8; i <= 8; ++i) {
    segment(gx + i * 10, gy - 80, gx + i * 10, gy + 80);
    segment(gx - 80, gy + i * 10, gx + 80, gy + i * 10);
  }

  std::vector<Figure> figures;
  auto add = [&](double x, double y, double width, double height, Rgba fill, const char* label,
                 double heading = NAN, double maxPixels = 0) {
    if (auto s = Project(cam, x, y, ground); s && s->depth < 400)
      figures.push_back({x, y, width, height, s->depth, fill, label, heading, maxPixels});
  };
  // A place is a marker, not a building: close by it stays a short post, not a pillar to the sky.
  for (const MapPlace& place : MapPlaces())
    add(place.at.x, place.at.y, 0.3, 3, {0.75, 0.72, 0.6, 0.9}, place.name, NAN, h_ / 6);
  for (const MapThing& v : view.map.vehicles)
    add(v.x, v.y, 4.5, 1.8, {0.3, 0.5, 0.8, 0.9}, "");
  for (const MapThing& o : view.map.objects)
    add(o.x, o.y, 0.6, 0.6, {0.6, 0.45, 0.8, 0.9}, "");
  for (const MapPed& p : view.map.peds) {
    const std::string_view side = p.side, state = p.state;
    Rgba fill = side == "hostile" ? Rgba{0.85, 0.25, 0.22, 0.95}
                : side == "gang"  ? Rgba{0.85, 0.5, 0.2, 0.95}
                                  : Rgba{0.6, 0.62, 0.62, 0.95};
    if (state == "up") {
      add(p.x, p.y, 0.6, 1.8, fill, "");
    } else {
      fill.a = 0.6;
      add(p.x, p.y, 1.8, 0.4, fill, state == "dead" ? "dead" : "down");
    }
  }
  add(px, py, 0.6, 1.8, {0.95, 0.95, 0.92, 1}, "", view.map.player.heading);
  std::sort(figures.begin(), figures.end(),
            [](const Figure& a, const Figure& b) { return a.depth > b.depth; });
  const TextStyle label{14 * unit_, {0.9, 0.88, 0.8, 0.8}, false, false};
  for (const Figure& f : figures) {
    const auto foot = Project(cam, f.x, f.y, ground);
    const auto top = Project(cam, f.x, f.y, ground + f.height);
    if (!foot || !top) continue;
    double height = std::max(foot->y - top->y, 2.0);
    if (f.maxPixels > 0) height = std::min(height, f.maxPixels);
    const double width = std::max(cam.focal * f.width / foot->depth, 2.0);
    DrawItem box = Item(DrawKind::Box, foot->x, foot->y - height / 2, width, height);
    box.fill = f.fill;
    // A figure by the lens (the creator's portrait camera on the player) would wall off the
    // picture: it stays a faint silhouette.
    if (foot->depth < 3.0) box.fill.a *= 0.2;
    box.stroke = {0, 0, 0, 0.5};
    box.strokeWidth = 1.0;
    Add(box);
    if (!std::isnan(f.heading)) {
      // The way the player faces: a line along the ground from his feet.
      const double h = f.heading * kPi / 180;
      if (auto ahead = Project(cam, f.x - 1.5 * std::sin(h), f.y + 1.5 * std::cos(h), ground))
        AddLine(foot->x, foot->y, ahead->x - foot->x, ahead->y - foot->y, {1, 1, 1, 0.9}, 3.0);
    }
    if (*f.label)
      PlainText(f.label, label, foot->x + width / 2 + 4 * unit_, foot->y - height + 12 * unit_);
  }
}

}  // namespace brimvale::sim::layout
