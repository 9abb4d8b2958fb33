#include "pictures/screen_layout.h"

#include <algorithm>
#include <cmath>

namespace brimvale::sim {
namespace layout {
namespace {

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

}  // namespace

void Layout::Background() {
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

// Full-screen effects are named in the top-right corner, so a picture says which ones ran without
// imitating them; the death screen's also washes the world a dim red.
void Layout::Effects(const std::vector<std::string>& effects) {
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
void Layout::Fade(double depth) {
  if (depth > 0.0) Wash({0, 0, 0, std::min(depth, 1.0)});
}

void Layout::Sprite(const DrawnSprite& s) {
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
void Layout::Text(const DrawnText& t) {
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

void Layout::Help(const std::string& text) {
  const TextStyle style{26 * unit_, {}, false, false};
  const double pad = 18 * unit_, x = 0.025 * w_, y = 0.04 * h_, width = 0.27 * w_;
  const std::vector<Line> lines = LayOut(text, style, width - 2 * pad);
  Panel(x, y, width, LinesHeight(lines, style) + 2 * pad, 0.8);
  DrawLines(lines, style, x + pad, y + pad, false);
}

void Layout::Objective(const std::string& text) {
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
void Layout::Notices(const std::vector<Notice>& notices) {
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
void Layout::Prompts(const std::vector<std::string>& prompts) {
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

void Layout::Caption(const std::string& caption) {
  const double height = 36 * unit_;
  DrawItem bar = Item(DrawKind::RoundBox, 0, h_ - height, w_, height);
  bar.fill = {0, 0, 0, 0.75};
  Add(bar);
  PlainText(caption, {20 * unit_, {0.85, 0.85, 0.8, 1}, false, false}, 14 * unit_, h_ - 11 * unit_);
}

void Layout::Add(DrawItem item) {
  out_.items.push_back(std::move(item));
}

void Layout::AddLine(double x, double y, double dx, double dy, Rgba colour, double width) {
  DrawItem line = Item(DrawKind::Line, x, y, dx, dy);
  line.stroke = colour;
  line.strokeWidth = width;
  Add(line);
}

// A circle: a box whose corners are as round as it is wide.
DrawItem Layout::Ring(std::pair<double, double> centre, double radius, Rgba colour) {
  DrawItem ring = Item(DrawKind::RoundBox, centre.first - radius, centre.second - radius,
                       2 * radius, 2 * radius);
  ring.radius = radius;
  ring.fill = {colour.r, colour.g, colour.b, 0.08};
  ring.stroke = colour;
  ring.strokeWidth = 1.5;
  return ring;
}

void Layout::Dot(std::pair<double, double> centre, double radius, Rgba colour) {
  DrawItem dot = Ring(centre, radius, colour);
  dot.fill = colour;
  dot.strokeWidth = 0;
  Add(dot);
}

void Layout::Wash(Rgba colour) {
  DrawItem wash = Item(DrawKind::Wash);
  wash.fill = colour;
  Add(wash);
}

// Text without an outline, its baseline at y.
void Layout::PlainText(const std::string& text, const TextStyle& style, double x, double baseline) {
  DrawItem item = Item(DrawKind::Text, x, baseline);
  item.text = text;
  item.size = style.size;
  item.serif = style.serif;
  item.bold = style.bold;
  item.fill = style.colour;
  Add(std::move(item));
}

void Layout::SetFont(const TextStyle& style) {
  cairo_select_font_face(cr_, style.serif ? "DejaVu Serif" : "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr_, style.size);
}

double Layout::Advance(const std::string& text) {
  cairo_text_extents_t te;
  cairo_text_extents(cr_, text.c_str(), &te);
  return te.x_advance;
}

double Layout::IconWidth(const std::string& name, const TextStyle& style) {
  SetFont({style.size * 0.7, {}, false, true});
  const double width = Advance(name) + style.size * 0.6;
  SetFont(style);
  return width;
}

// Lines of pieces, words wrapped past `maxWidth` (0: only the text's own new lines).
std::vector<Line> Layout::LayOut(const std::string& text, const TextStyle& style, double maxWidth) {
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

double Layout::LineHeight(const TextStyle& style) {
  return style.size * 1.25;
}

double Layout::LinesHeight(const std::vector<Line>& lines, const TextStyle& style) {
  return LineHeight(style) * static_cast<double>(lines.size());
}

void Layout::DrawLines(const std::vector<Line>& lines, const TextStyle& style, double x, double top,
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
void Layout::Words(const Piece& piece, double x, double baseline, const TextStyle& style) {
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
void Layout::Icon(const Piece& piece, const TextStyle& style, double x, double top) {
  const double inset = style.size * 0.08, height = style.size * 1.1;
  DrawItem box = Item(DrawKind::RoundBox, x + inset, top + inset, piece.width - 2 * inset, height);
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

void Layout::Panel(double x, double y, double width, double height, double alpha) {
  DrawItem panel = Item(DrawKind::RoundBox, x, y, width, height);
  panel.radius = 6 * unit_;
  panel.fill = {0, 0, 0, alpha};
  Add(panel);
}

void Layout::CentredBand(const std::string& title, const std::string& subtitle, double centreY,
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
double Layout::Toast(const Notice& n, double top) {
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

}  // namespace layout

ScreenDrawing LayOutScreen(const ScreenFrame& screen, int width, int height) {
  ScreenDrawing drawing{width, height, {}};
  // A one-pixel surface: the layout only measures text.
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  layout::Layout layout(cr, drawing);
  layout.Background();
  if (screen.world) layout.World(*screen.world);
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

}  // namespace brimvale::sim
