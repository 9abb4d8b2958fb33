// The screen laid out as draw items, shared by the files that lay out its parts: the HUD's texts,
// sprites and notices (screen_layout.cpp) and the world map inset (map_inset.cpp). Cairo only
// measures text here; screen_paint.cpp paints the items.
#pragma once

#include <cairo.h>

#include <string>
#include <utility>
#include <vector>

#include "pictures/markup.h"
#include "pictures/screen_frame.h"
#include "pictures/screen_render.h"
#include "pictures/world_map.h"

namespace brimvale::sim::layout {

using Rgba = DrawColour;

struct TextStyle {
  double size = 24.0;  // pixels
  Rgba colour;
  bool serif = false;
  bool bold = false;
};

// A measured piece of a line: some words or one control icon.
struct Piece {
  RunKind kind = RunKind::Words;
  std::string text;
  Rgba colour;
  double width = 0.0;
};

struct Line {
  std::vector<Piece> pieces;
  double width = 0.0;
};

inline DrawItem Item(DrawKind kind, double x = 0, double y = 0, double w = 0, double h = 0) {
  DrawItem item;
  item.kind = kind;
  item.x = x, item.y = y, item.w = w, item.h = h;
  return item;
}

// The map inset's square on the screen, around the player at its centre.
struct InsetFrame {
  const WorldMap& map;
  double left, top, size, pad;  // pixels
  double cx, cy;                // the centre, where the player stands
  double scale;                 // pixels a metre

  // A world point on the screen.
  std::pair<double, double> At(float x, float y) const {
    return {cx + (x - map.player.x) * scale, cy - (y - map.player.y) * scale};
  }
  bool Inside(std::pair<double, double> p) const {
    return p.first >= left + pad && p.first <= left + size - pad && p.second >= top + pad &&
           p.second <= top + size - pad;
  }
};

class Layout {
 public:
  Layout(cairo_t* cr, ScreenDrawing& out)
      : cr_(cr), out_(out), w_(out.width), h_(out.height), unit_(out.height / 1080.0) {}

  void Background();
  // Full-screen effects are named in the top-right corner, so a picture says which ones ran without
  // imitating them; the death screen's also washes the world a dim red.
  void Effects(const std::vector<std::string>& effects);
  // The game's fade darkens the world; what the scripts draw stays on top of it.
  void Fade(double depth);
  void Sprite(const DrawnSprite& s);
  // A drawn text: its top-left corner at (x, y), its size from the y scale.
  void Text(const DrawnText& t);
  void Help(const std::string& text);
  void Objective(const std::string& text);
  // Banners across the upper middle, result screens across the middle, toasts down the right.
  void Notices(const std::vector<Notice>& notices);
  // The game's hold prompts, bottom right: a "HOLD" key and the prompt's words.
  void Prompts(const std::vector<std::string>& prompts);
  // The world around the player in the bottom-left corner, north up, so each picture shows where
  // the player stands and what is near: the same marks as the live page's map.
  void MapInset(const WorldMap& map);
  // The world in plain shapes under the HUD: ground, the campaign's places, peds by side (downed
  // and dead marked), vehicles, objects and the player with his heading.
  void World(const WorldView& view);
  void Caption(const std::string& caption);

 private:
  // Text scale 1.0 is a heading about a sixteenth of the screen high.
  static constexpr double kTextPixelsPerScale = 64.0;
  // The map inset's width in metres: a mission's scene around the player.
  static constexpr double kMapInsetMetres = 240.0;

  // The map inset's layers, in painting order.
  void InsetGrid(const InsetFrame& f);
  void InsetPlaces(const InsetFrame& f);
  void InsetBlips(const InsetFrame& f);
  void InsetVehicles(const InsetFrame& f);
  void InsetObjects(const InsetFrame& f);
  void InsetPeds(const InsetFrame& f);
  void InsetCamera(const InsetFrame& f);
  void InsetPlayer(const InsetFrame& f);
  TextStyle InsetLabel() const { return {13 * unit_, {0.75, 0.76, 0.8, 1}, false, false}; }

  void Add(DrawItem item);
  void AddLine(double x, double y, double dx, double dy, Rgba colour = {1, 1, 1, 0.05},
               double width = 1.0);
  // A circle: a box whose corners are as round as it is wide.
  DrawItem Ring(std::pair<double, double> centre, double radius, Rgba colour);
  void Dot(std::pair<double, double> centre, double radius, Rgba colour);
  void Wash(Rgba colour);
  // Text without an outline, its baseline at y.
  void PlainText(const std::string& text, const TextStyle& style, double x, double baseline);
  void SetFont(const TextStyle& style);
  double Advance(const std::string& text);
  double IconWidth(const std::string& name, const TextStyle& style);
  // Lines of pieces, words wrapped past `maxWidth` (0: only the text's own new lines).
  std::vector<Line> LayOut(const std::string& text, const TextStyle& style, double maxWidth);
  double LineHeight(const TextStyle& style);
  double LinesHeight(const std::vector<Line>& lines, const TextStyle& style);
  void DrawLines(const std::vector<Line>& lines, const TextStyle& style, double x, double top,
                 bool centred);
  // Words with a thin dark outline, so light text stays readable on light sprites.
  void Words(const Piece& piece, double x, double baseline, const TextStyle& style);
  // A control icon: its action name in a box.
  void Icon(const Piece& piece, const TextStyle& style, double x, double top);
  void Panel(double x, double y, double width, double height, double alpha);
  void CentredBand(const std::string& title, const std::string& subtitle, double centreY,
                   double titleSize);
  // A reward toast: an icon square, the title and the subtitle in a box; returns its height.
  double Toast(const Notice& n, double top);

  cairo_t* cr_;
  ScreenDrawing& out_;
  double w_, h_, unit_;
};

}  // namespace brimvale::sim::layout
