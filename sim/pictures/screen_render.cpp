#include "pictures/screen_render.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <numbers>
#include <utility>

#include "pictures/markup.h"

namespace brimvale::sim {
namespace {

using Rgba = DrawColour;

Rgba FromBytes(int32_t r, int32_t g, int32_t b, int32_t a) {
  auto unit = [](int32_t v) { return std::clamp(v, 0, 255) / 255.0; };
  return {unit(r), unit(g), unit(b), unit(a)};
}

// The game's colour codes; "~s~" and codes it does not colour keep the text's own colour.
Rgba CodeColour(char code, Rgba own) {
  switch (code) {
    case 'o':
      return {1.0, 0.64, 0.2, own.a};
    case 'e':
      return {0.86, 0.2, 0.18, own.a};
    case 'p':
      return {0.66, 0.45, 0.9, own.a};
    default:
      return own;
  }
}

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

DrawItem Item(DrawKind kind, double x = 0, double y = 0, double w = 0, double h = 0) {
  DrawItem item;
  item.kind = kind;
  item.x = x, item.y = y, item.w = w, item.h = h;
  return item;
}

// Lays a frame out as draw items; cairo only measures text here.
class Layout {
 public:
  Layout(cairo_t* cr, ScreenDrawing& out)
      : cr_(cr), out_(out), w_(out.width), h_(out.height), unit_(out.height / 1080.0) {}

  void Background() {
    DrawItem sky = Item(DrawKind::Gradient);
    sky.fill = {0.08, 0.09, 0.11, 1};
    sky.stroke = {0.14, 0.15, 0.18, 1};
    Add(sky);
    // A faint grid of tenths, so a developer can read positions off the picture.
    for (int i = 1; i < 10; ++i) {
      const double x = std::floor(w_ * i / 10.0) + 0.5, y = std::floor(h_ * i / 10.0) + 0.5;
      AddLine(x, 0, 0, h_);
      AddLine(0, y, w_, 0);
    }
  }

  // Full-screen effects are named in the top-right corner, so a picture says which ones ran
  // without imitating them; the death screen's also washes the world a dim red.
  void Effects(const std::vector<std::string>& effects) {
    for (const std::string& name : effects) {
      if (name.starts_with("Death")) {
        Wash({0.35, 0.05, 0.05, 0.45});
        break;
      }
    }
    const TextStyle style{18 * unit_, {1, 1, 1, 0.7}, false, false};
    SetFont(style);
    double y = 30 * unit_;
    for (const std::string& name : effects) {
      PlainText(name, style, w_ - Advance(name) - 14 * unit_, y);
      y += 24 * unit_;
    }
  }

  // The game's fade darkens the world; what the scripts draw stays on top of it.
  void Fade(double depth) {
    if (depth > 0.0) Wash({0, 0, 0, std::min(depth, 1.0)});
  }

  void Sprite(const DrawnSprite& s) {
    const Rgba fill = FromBytes(s.r, s.g, s.b, s.a);
    DrawItem box = Item(DrawKind::Box, s.x * w_, s.y * h_, s.width * w_, s.height * h_);
    box.rotation = s.heading;
    box.fill = fill;
    box.stroke = {1, 1, 1, 0.18};
    box.strokeWidth = 1.0;
    if (s.a > 0 && box.w >= 8 && box.h >= 8) {
      // The texture's name in its top-left corner, dark on light fills and light on dark ones.
      const double light = (0.3 * fill.r + 0.59 * fill.g + 0.11 * fill.b) * fill.a;
      const double ink = light > 0.5 ? 0.0 : 1.0;
      box.text = s.texture;
      box.size = std::min(14.0 * unit_, box.h * 0.8);
      box.ink = {ink, ink, ink, 0.8};
    }
    Add(box);
  }

  // A drawn text: its top-left corner at (x, y), its size from the y scale.
  void Text(const DrawnText& t) {
    const double size = t.scaleY * kTextPixelsPerScale * unit_;
    if (size < 1.0 || t.a <= 0) return;
    const TextStyle style{size, FromBytes(t.r, t.g, t.b, t.a), true, t.title};
    const std::vector<Line> lines = LayOut(t.text, style, 0.0);
    const size_t first = out_.items.size();
    DrawLines(lines, style, t.x * w_, t.y * h_, false);
    if (t.scaleX > 0 && std::abs(t.scaleX - t.scaleY) > 1e-4) {
      for (size_t i = first; i < out_.items.size(); ++i) {
        out_.items[i].originX = t.x * w_;
        out_.items[i].scaleX = t.scaleX / t.scaleY;
      }
    }
  }

  void Help(const std::string& text) {
    const TextStyle style{26 * unit_, {}, false, false};
    const double pad = 18 * unit_, x = 0.025 * w_, y = 0.04 * h_, width = 0.27 * w_;
    const std::vector<Line> lines = LayOut(text, style, width - 2 * pad);
    Panel(x, y, width, LinesHeight(lines, style) + 2 * pad, 0.8);
    DrawLines(lines, style, x + pad, y + pad, false);
  }

  void Objective(const std::string& text) {
    const TextStyle style{30 * unit_, {}, false, false};
    const std::vector<Line> lines = LayOut(text, style, 0.6 * w_);
    double widest = 0;
    for (const Line& line : lines)
      widest = std::max(widest, line.width);
    const double height = LinesHeight(lines, style), top = 0.87 * h_ - height / 2;
    Panel(0.5 * w_ - widest / 2 - 30 * unit_, top - 10 * unit_, widest + 60 * unit_,
          height + 20 * unit_, 0.55);
    DrawLines(lines, style, 0.5 * w_, top, true);
  }

  // Banners across the upper middle, result screens across the middle, toasts down the right.
  void Notices(const std::vector<Notice>& notices) {
    double toastY = 0.2 * h_;
    for (const Notice& n : notices) {
      switch (n.kind) {
        case NoticeKind::Banner:
          CentredBand(n.text, "", 0.25, 54);
          break;
        case NoticeKind::Result:
          CentredBand(n.text, n.subtitle, 0.48, 76);
          break;
        case NoticeKind::Toast:
          toastY += Toast(n, toastY) + 12 * unit_;
          break;
        case NoticeKind::Help:
          break;
      }
    }
  }

  // The game's hold prompts, bottom right: a "HOLD" key and the prompt's words.
  void Prompts(const std::vector<std::string>& prompts) {
    const TextStyle style{26 * unit_, {}, false, false};
    double y = 0.84 * h_;
    for (auto it = prompts.rbegin(); it != prompts.rend(); ++it) {
      const std::vector<Line> lines = LayOut("~INPUT_HOLD~ " + *it, style, 0.0);
      const double width = lines.front().width + 36 * unit_, height = 48 * unit_;
      const double x = 0.975 * w_ - width;
      Panel(x, y, width, height, 0.8);
      DrawLines(lines, style, x + 18 * unit_, y + 8 * unit_, false);
      y -= height + 10 * unit_;
    }
  }

  // The world around the player in the bottom-left corner, north up, so each picture shows
  // where the player stands and what is near: the same marks as the live page's map.
  void MapInset(const WorldMap& map) {
    const double size = 300 * unit_, pad = 8 * unit_;
    const double left = 24 * unit_, top = h_ - 36 * unit_ - 16 * unit_ - size;
    const double cx = left + size / 2, cy = top + size / 2;
    const double scale = size / kMapInsetMetres;  // pixels a metre
    DrawItem back = Item(DrawKind::RoundBox, left, top, size, size);
    back.radius = 6 * unit_;
    back.fill = {0.06, 0.07, 0.08, 0.85};
    back.stroke = {0.8, 0.78, 0.7, 0.6};
    back.strokeWidth = 1.5 * unit_;
    Add(back);
    auto at = [&](float x, float y) {
      return std::pair{cx + (x - map.player.x) * scale, cy - (y - map.player.y) * scale};
    };
    auto inside = [&](std::pair<double, double> p) {
      return p.first >= left + pad && p.first <= left + size - pad && p.second >= top + pad &&
             p.second <= top + size - pad;
    };
    const TextStyle label{13 * unit_, {0.75, 0.76, 0.8, 1}, false, false};
    // A grid line every 50 metres of world coordinates.
    const double step = 50.0;
    for (double gx = std::ceil((map.player.x - kMapInsetMetres / 2) / step) * step;
         gx <= map.player.x + kMapInsetMetres / 2; gx += step) {
      const double sx = at(static_cast<float>(gx), 0).first;
      AddLine(sx, top + 1, 0, size - 2);
    }
    for (double gy = std::ceil((map.player.y - kMapInsetMetres / 2) / step) * step;
         gy <= map.player.y + kMapInsetMetres / 2; gy += step) {
      const double sy = at(0, static_cast<float>(gy)).second;
      AddLine(left + 1, sy, size - 2, 0);
    }
    for (const MapPlace& place : MapPlaces()) {
      const auto p = at(place.at.x, place.at.y);
      if (!inside(p)) continue;
      Dot(p, 3 * unit_, {0.55, 0.56, 0.6, 1});
      PlainText(place.name, label, p.first + 6 * unit_, p.second + 4 * unit_);
    }
    for (const MapBlip& blip : map.blips) {
      const DrawColour gold = std::string(blip.kind) == "route" ? DrawColour{0.94, 0.82, 0.44, 1}
                                                                : DrawColour{0.9, 0.71, 0.29, 1};
      auto p = at(blip.x, blip.y);
      if (std::string(blip.kind) == "radius" && blip.radius * scale >= 3) {
        DrawItem ring = Ring(p, blip.radius * scale, gold);
        if (inside(p)) Add(ring);
      }
      // A blip beyond the inset is pinned to its edge, in the direction to go, without its name.
      const bool pinned = !inside(p);
      p.first = std::clamp(p.first, left + pad, left + size - pad);
      p.second = std::clamp(p.second, top + pad, top + size - pad);
      DrawItem mark = Item(DrawKind::Box, p.first, p.second, 9 * unit_, 9 * unit_);
      mark.rotation = 45;
      mark.fill = gold;
      mark.stroke = {0, 0, 0, 0.8};
      mark.strokeWidth = 1;
      Add(mark);
      if (!blip.name.empty() && !pinned)
        PlainText(blip.name, {label.size, {1, 0.93, 0.6, 1}, false, false}, p.first + 8 * unit_,
                  p.second - 6 * unit_);
    }
    for (const MapThing& vehicle : map.vehicles) {
      const auto p = at(vehicle.x, vehicle.y);
      if (!inside(p)) continue;
      DrawItem box = Item(DrawKind::Box, p.first, p.second, 8 * unit_, 14 * unit_);
      box.rotation = -vehicle.heading;
      box.fill = {0.42, 0.69, 1, 0.25};
      box.stroke = {0.42, 0.69, 1, 1};
      box.strokeWidth = 1.5;
      Add(box);
    }
    for (const MapThing& object : map.objects) {
      const auto p = at(object.x, object.y);
      if (!inside(p)) continue;
      DrawItem box = Item(DrawKind::Box, p.first, p.second, 5 * unit_, 5 * unit_);
      box.fill = {0.79, 0.63, 1, 1};
      Add(box);
    }
    for (const MapPed& ped : map.peds) {
      const auto p = at(ped.x, ped.y);
      if (!inside(p)) continue;
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
    if (map.camera) {
      const auto p = at(map.camera->x, map.camera->y);
      if (inside(p)) {
        DrawItem box = Item(DrawKind::Box, p.first, p.second, 9 * unit_, 9 * unit_);
        box.rotation = -map.camera->heading;
        box.fill = {0.5, 1, 0.5, 0.15};
        box.stroke = {0.5, 1, 0.5, 1};
        box.strokeWidth = 1.5;
        Add(box);
        PlainText("camera", {label.size, {0.5, 1, 0.5, 1}, false, false}, p.first + 7 * unit_,
                  p.second + 4 * unit_);
      }
    }
    // The player at the centre, a line out along the heading (0 faces north, anticlockwise).
    const double rad = map.player.heading * std::numbers::pi / 180.0, reach = 16 * unit_;
    AddLine(cx, cy, -std::sin(rad) * reach, -std::cos(rad) * reach, {1, 1, 1, 1}, 2.5 * unit_);
    DrawItem player = Item(DrawKind::Box, cx, cy, 10 * unit_, 10 * unit_);
    player.rotation = -map.player.heading;
    player.fill = {1, 1, 1, 1};
    player.stroke = {0, 0, 0, 0.9};
    player.strokeWidth = 1.5;
    Add(player);
    char where[96];
    std::snprintf(where, sizeof where, "%.0f, %.0f  heading %.0f", map.player.x, map.player.y,
                  map.player.heading);
    PlainText(where, label, left, top - 6 * unit_);
  }

  void Caption(const std::string& caption) {
    const double height = 36 * unit_;
    DrawItem bar = Item(DrawKind::RoundBox, 0, h_ - height, w_, height);
    bar.fill = {0, 0, 0, 0.75};
    Add(bar);
    PlainText(caption, {20 * unit_, {0.85, 0.85, 0.8, 1}, false, false}, 14 * unit_,
              h_ - 11 * unit_);
  }

 private:
  // Text scale 1.0 is a heading about a sixteenth of the screen high.
  static constexpr double kTextPixelsPerScale = 64.0;
  // The map inset's width in metres: a mission's scene around the player.
  static constexpr double kMapInsetMetres = 240.0;

  void Add(DrawItem item) { out_.items.push_back(std::move(item)); }

  void AddLine(double x, double y, double dx, double dy, Rgba colour = {1, 1, 1, 0.05},
               double width = 1.0) {
    DrawItem line = Item(DrawKind::Line, x, y, dx, dy);
    line.stroke = colour;
    line.strokeWidth = width;
    Add(line);
  }

  // A circle: a box whose corners are as round as it is wide.
  DrawItem Ring(std::pair<double, double> centre, double radius, Rgba colour) {
    DrawItem ring = Item(DrawKind::RoundBox, centre.first - radius, centre.second - radius,
                         2 * radius, 2 * radius);
    ring.radius = radius;
    ring.fill = {colour.r, colour.g, colour.b, 0.08};
    ring.stroke = colour;
    ring.strokeWidth = 1.5;
    return ring;
  }

  void Dot(std::pair<double, double> centre, double radius, Rgba colour) {
    DrawItem dot = Ring(centre, radius, colour);
    dot.fill = colour;
    dot.strokeWidth = 0;
    Add(dot);
  }

  void Wash(Rgba colour) {
    DrawItem wash = Item(DrawKind::Wash);
    wash.fill = colour;
    Add(wash);
  }

  // Text without an outline, its baseline at y.
  void PlainText(const std::string& text, const TextStyle& style, double x, double baseline) {
    DrawItem item = Item(DrawKind::Text, x, baseline);
    item.text = text;
    item.size = style.size;
    item.serif = style.serif;
    item.bold = style.bold;
    item.fill = style.colour;
    Add(std::move(item));
  }

  void SetFont(const TextStyle& style) {
    cairo_select_font_face(cr_, style.serif ? "DejaVu Serif" : "DejaVu Sans",
                           CAIRO_FONT_SLANT_NORMAL,
                           style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, style.size);
  }

  double Advance(const std::string& text) {
    cairo_text_extents_t te;
    cairo_text_extents(cr_, text.c_str(), &te);
    return te.x_advance;
  }

  double IconWidth(const std::string& name, const TextStyle& style) {
    SetFont({style.size * 0.7, {}, false, true});
    const double width = Advance(name) + style.size * 0.6;
    SetFont(style);
    return width;
  }

  // Lines of pieces, words wrapped past `maxWidth` (0: only the text's own new lines).
  std::vector<Line> LayOut(const std::string& text, const TextStyle& style, double maxWidth) {
    SetFont(style);
    std::vector<Line> lines(1);
    auto place = [&](Piece piece) {
      Line& line = lines.back();
      if (maxWidth > 0 && line.width > 0 && line.width + piece.width > maxWidth) {
        if (piece.kind == RunKind::Words && piece.text == " ") return;
        lines.emplace_back();
      }
      lines.back().width += piece.width;
      lines.back().pieces.push_back(std::move(piece));
    };
    for (const MarkupRun& run : ParseMarkup(text)) {
      const Rgba colour = CodeColour(run.colour, style.colour);
      if (run.kind == RunKind::NewLine) {
        lines.emplace_back();
      } else if (run.kind == RunKind::Icon) {
        place({RunKind::Icon, run.text, colour, IconWidth(run.text, style)});
      } else {
        // Word by word, each blank a piece of its own so that a wrap can drop it.
        size_t i = 0;
        while (i < run.text.size()) {
          const bool blank = run.text[i] == ' ';
          size_t end = i;
          while (end < run.text.size() && (run.text[end] == ' ') == blank)
            ++end;
          std::string words = run.text.substr(i, end - i);
          const double width = Advance(words);
          place({RunKind::Words, std::move(words), colour, width});
          i = end;
        }
      }
    }
    return lines;
  }

  double LineHeight(const TextStyle& style) { return style.size * 1.25; }
  double LinesHeight(const std::vector<Line>& lines, const TextStyle& style) {
    return LineHeight(style) * static_cast<double>(lines.size());
  }

  void DrawLines(const std::vector<Line>& lines, const TextStyle& style, double x, double top,
                 bool centred) {
    SetFont(style);
    cairo_font_extents_t fe;
    cairo_font_extents(cr_, &fe);
    double y = top;
    for (const Line& line : lines) {
      double penX = centred ? x - line.width / 2 : x;
      for (const Piece& piece : line.pieces) {
        if (piece.kind == RunKind::Icon) {
          Icon(piece, style, penX, y);
        } else if (piece.text.find_first_not_of(' ') != std::string::npos) {
          Words(piece, penX, y + fe.ascent, style);
        }
        penX += piece.width;
      }
      y += LineHeight(style);
    }
  }

  // Words with a thin dark outline, so light text stays readable on light sprites.
  void Words(const Piece& piece, double x, double baseline, const TextStyle& style) {
    DrawItem item = Item(DrawKind::Text, x, baseline);
    item.text = piece.text;
    item.size = style.size;
    item.serif = style.serif;
    item.bold = style.bold;
    item.fill = piece.colour;
    item.stroke = {0, 0, 0, 0.6 * piece.colour.a};
    item.strokeWidth = std::max(1.5, style.size / 14);
    Add(std::move(item));
  }

  // A control icon: its action name in a box.
  void Icon(const Piece& piece, const TextStyle& style, double x, double top) {
    const double inset = style.size * 0.08, height = style.size * 1.1;
    DrawItem box =
        Item(DrawKind::RoundBox, x + inset, top + inset, piece.width - 2 * inset, height);
    box.radius = 4 * unit_;
    box.fill = {piece.colour.r, piece.colour.g, piece.colour.b, 0.18 * piece.colour.a};
    box.stroke = piece.colour;
    box.strokeWidth = std::max(1.0, style.size / 16);
    Add(box);
    const TextStyle label{style.size * 0.7, piece.colour, false, true};
    SetFont(label);
    cairo_font_extents_t fe;
    cairo_font_extents(cr_, &fe);
    PlainText(piece.text, label, x + style.size * 0.3,
              top + inset + (height + fe.ascent - fe.descent) / 2);
    SetFont(style);
  }

  void Panel(double x, double y, double width, double height, double alpha) {
    DrawItem panel = Item(DrawKind::RoundBox, x, y, width, height);
    panel.radius = 6 * unit_;
    panel.fill = {0, 0, 0, alpha};
    Add(panel);
  }

  void CentredBand(const std::string& title, const std::string& subtitle, double centreY,
                   double titleSize) {
    const TextStyle big{titleSize * unit_, {1, 1, 1, 1}, true, true};
    const TextStyle small{32 * unit_, {0.9, 0.88, 0.82, 1}, false, false};
    const std::vector<Line> titleLines = LayOut(title, big, 0.8 * w_);
    const std::vector<Line> subLines =
        subtitle.empty() ? std::vector<Line>{} : LayOut(subtitle, small, 0.7 * w_);
    const double height = LinesHeight(titleLines, big) +
                          (subLines.empty() ? 0 : 10 * unit_ + LinesHeight(subLines, small));
    const double top = centreY * h_ - height / 2;
    DrawItem band = Item(DrawKind::Band, 0, top - 24 * unit_, 0, height + 48 * unit_);
    band.fill = {0, 0, 0, 0.7};
    Add(band);
    DrawLines(titleLines, big, 0.5 * w_, top, true);
    if (!subLines.empty())
      DrawLines(subLines, small, 0.5 * w_, top + LinesHeight(titleLines, big) + 10 * unit_, true);
  }

  // A reward toast: an icon square, the title and the subtitle in a box; returns its height.
  double Toast(const Notice& n, double top) {
    const TextStyle title{26 * unit_, {1, 1, 1, 1}, false, true};
    const TextStyle subtitle{22 * unit_, {0.85, 0.83, 0.78, 1}, false, false};
    const double pad = 14 * unit_, icon = 56 * unit_, x = 0.74 * w_, width = 0.235 * w_;
    const double textX = x + pad + icon + pad, textWidth = width - (textX - x) - pad;
    const std::vector<Line> titleLines = LayOut(n.text, title, textWidth);
    const std::vector<Line> subLines = LayOut(n.subtitle, subtitle, textWidth);
    const double textHeight = LinesHeight(titleLines, title) + LinesHeight(subLines, subtitle);
    const double height = std::max(icon, textHeight) + 2 * pad;
    Panel(x, top, width, height, 0.8);
    DrawItem square = Item(DrawKind::RoundBox, x + pad, top + pad, icon, icon);
    square.radius = 4 * unit_;
    square.fill = {0.75, 0.6, 0.3, 0.9};
    Add(square);
    DrawLines(titleLines, title, textX, top + pad, false);
    DrawLines(subLines, subtitle, textX, top + pad + LinesHeight(titleLines, title), false);
    return height;
  }

  cairo_t* cr_;
  ScreenDrawing& out_;
  double w_, h_, unit_;
};

void SetSource(cairo_t* cr, const DrawColour& c) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void RoundedRect(cairo_t* cr, double x, double y, double width, double height, double radius) {
  const double pi = std::numbers::pi;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + width - radius, y + radius, radius, -pi / 2, 0);
  cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, pi / 2);
  cairo_arc(cr, x + radius, y + height - radius, radius, pi / 2, pi);
  cairo_arc(cr, x + radius, y + radius, radius, pi, 3 * pi / 2);
  cairo_close_path(cr);
}

void SelectFont(cairo_t* cr, const DrawItem& item) {
  cairo_select_font_face(cr, item.serif ? "DejaVu Serif" : "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         item.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, item.size);
}

// Fills the current path, then strokes it when the item has a stroke.
void FillAndStroke(cairo_t* cr, const DrawItem& item) {
  SetSource(cr, item.fill);
  if (item.strokeWidth <= 0) {
    cairo_fill(cr);
    return;
  }
  cairo_fill_preserve(cr);
  SetSource(cr, item.stroke);
  cairo_set_line_width(cr, item.strokeWidth);
  cairo_stroke(cr);
}

void PaintItem(cairo_t* cr, const DrawItem& item, int width, int height) {
  switch (item.kind) {
    case DrawKind::Gradient: {
      cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, height);
      cairo_pattern_add_color_stop_rgba(sky, 0.0, item.fill.r, item.fill.g, item.fill.b,
                                        item.fill.a);
      cairo_pattern_add_color_stop_rgba(sky, 1.0, item.stroke.r, item.stroke.g, item.stroke.b,
                                        item.stroke.a);
      cairo_set_source(cr, sky);
      cairo_paint(cr);
      cairo_pattern_destroy(sky);
      break;
    }
    case DrawKind::Line:
      cairo_move_to(cr, item.x, item.y);
      cairo_line_to(cr, item.x + item.w, item.y + item.h);
      SetSource(cr, item.stroke);
      cairo_set_line_width(cr, item.strokeWidth);
      cairo_stroke(cr);
      break;
    case DrawKind::Wash:
      SetSource(cr, item.fill);
      cairo_paint(cr);
      break;
    case DrawKind::Box:
      cairo_translate(cr, item.x, item.y);
      cairo_rotate(cr, item.rotation * std::numbers::pi / 180.0);
      cairo_rectangle(cr, -item.w / 2, -item.h / 2, item.w, item.h);
      SetSource(cr, item.fill);
      cairo_fill_preserve(cr);
      SetSource(cr, item.stroke);
      cairo_set_line_width(cr, item.strokeWidth);
      cairo_stroke_preserve(cr);
      if (!item.text.empty()) {
        cairo_clip(cr);
        SelectFont(cr, item);
        cairo_font_extents_t fe;
        cairo_font_extents(cr, &fe);
        SetSource(cr, item.ink);
        const double unit = height / 1080.0;
        cairo_move_to(cr, -item.w / 2 + 3 * unit, -item.h / 2 + 2 * unit + fe.ascent);
        cairo_show_text(cr, item.text.c_str());
      }
      cairo_new_path(cr);
      break;
    case DrawKind::RoundBox:
      if (item.radius > 0)
        RoundedRect(cr, item.x, item.y, item.w, item.h, item.radius);
      else
        cairo_rectangle(cr, item.x, item.y, item.w, item.h);
      FillAndStroke(cr, item);
      break;
    case DrawKind::Band: {
      cairo_pattern_t* band = cairo_pattern_create_linear(0, 0, width, 0);
      const DrawColour& c = item.fill;
      cairo_pattern_add_color_stop_rgba(band, 0.0, c.r, c.g, c.b, 0.0);
      cairo_pattern_add_color_stop_rgba(band, 0.25, c.r, c.g, c.b, c.a);
      cairo_pattern_add_color_stop_rgba(band, 0.75, c.r, c.g, c.b, c.a);
      cairo_pattern_add_color_stop_rgba(band, 1.0, c.r, c.g, c.b, 0.0);
      cairo_set_source(cr, band);
      cairo_rectangle(cr, 0, item.y, width, item.h);
      cairo_fill(cr);
      cairo_pattern_destroy(band);
      break;
    }
    case DrawKind::Text:
      SelectFont(cr, item);
      cairo_move_to(cr, item.x, item.y);
      if (item.strokeWidth > 0) {
        cairo_text_path(cr, item.text.c_str());
        SetSource(cr, item.stroke);
        cairo_set_line_width(cr, item.strokeWidth);
        cairo_stroke_preserve(cr);
        SetSource(cr, item.fill);
        cairo_fill(cr);
      } else {
        SetSource(cr, item.fill);
        cairo_show_text(cr, item.text.c_str());
      }
      break;
  }
}

cairo_surface_t* Paint(const ScreenFrame& screen, int width, int height) {
  const ScreenDrawing drawing = LayOutScreen(screen, width, height);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  for (const DrawItem& item : drawing.items) {
    cairo_save(cr);
    if (item.scaleX != 1.0) {
      cairo_translate(cr, item.originX, 0);
      cairo_scale(cr, item.scaleX, 1);
      cairo_translate(cr, -item.originX, 0);
    }
    PaintItem(cr, item, width, height);
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}

}  // namespace

ScreenDrawing LayOutScreen(const ScreenFrame& screen, int width, int height) {
  ScreenDrawing drawing{width, height, {}};
  // A one-pixel surface: the layout only measures text.
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  Layout layout(cr, drawing);
  layout.Background();
  layout.Effects(screen.effects);
  layout.Fade(screen.fade);
  // The game puts its text over its sprites whatever the order of the calls.
  for (const DrawnSprite& sprite : screen.list.sprites)
    layout.Sprite(sprite);
  for (const DrawnText& text : screen.list.texts)
    layout.Text(text);
  if (!screen.help.empty()) layout.Help(screen.help);
  if (!screen.objective.empty()) layout.Objective(screen.objective);
  layout.Notices(screen.notices);
  layout.Prompts(screen.prompts);
  if (screen.map) layout.MapInset(*screen.map);
  if (!screen.caption.empty()) layout.Caption(screen.caption);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return drawing;
}

ScreenImage RenderScreen(const ScreenFrame& screen, int width, int height) {
  cairo_surface_t* surface = Paint(screen, width, height);
  ScreenImage image{width, height, std::vector<uint32_t>(static_cast<size_t>(width * height))};
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    std::copy(row, row + width, image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
  }
  cairo_surface_destroy(surface);
  return image;
}

bool WriteScreenPng(const ScreenFrame& screen, const std::string& path, std::string& error,
                    int width, int height) {
  cairo_surface_t* surface = Paint(screen, width, height);
  const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
  if (status == CAIRO_STATUS_SUCCESS) return true;
  error = path + ": " + cairo_status_to_string(status);
  return false;
}

}  // namespace brimvale::sim
