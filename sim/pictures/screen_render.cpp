#include "pictures/screen_render.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "pictures/markup.h"

namespace brimvale::sim {
namespace {

struct Rgba {
  double r = 1.0, g = 1.0, b = 1.0, a = 1.0;
};

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

class Painter {
 public:
  Painter(cairo_t* cr, int width, int height)
      : cr_(cr), w_(width), h_(height), unit_(height / 1080.0) {}

  void Background() {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h_);
    cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.08, 0.09, 0.11);
    cairo_pattern_add_color_stop_rgb(sky, 1.0, 0.14, 0.15, 0.18);
    cairo_set_source(cr_, sky);
    cairo_paint(cr_);
    cairo_pattern_destroy(sky);
    // A faint grid of tenths, so a developer can read positions off the picture.
    cairo_set_source_rgba(cr_, 1, 1, 1, 0.05);
    cairo_set_line_width(cr_, 1.0);
    for (int i = 1; i < 10; ++i) {
      const double x = std::floor(w_ * i / 10.0) + 0.5, y = std::floor(h_ * i / 10.0) + 0.5;
      cairo_move_to(cr_, x, 0);
      cairo_line_to(cr_, x, h_);
      cairo_move_to(cr_, 0, y);
      cairo_line_to(cr_, w_, y);
    }
    cairo_stroke(cr_);
  }

  // Full-screen effects are named in the top-right corner, so a picture says which ones ran
  // without imitating them; the death screen's also washes the world a dim red.
  void Effects(const std::vector<std::string>& effects) {
    for (const std::string& name : effects) {
      if (name.starts_with("Death")) {
        cairo_set_source_rgba(cr_, 0.35, 0.05, 0.05, 0.45);
        cairo_paint(cr_);
        break;
      }
    }
    SetFont({18 * unit_, {}, false, false});
    cairo_set_source_rgba(cr_, 1, 1, 1, 0.7);
    double y = 30 * unit_;
    for (const std::string& name : effects) {
      cairo_text_extents_t te;
      cairo_text_extents(cr_, name.c_str(), &te);
      cairo_move_to(cr_, w_ - te.x_advance - 14 * unit_, y);
      cairo_show_text(cr_, name.c_str());
      y += 24 * unit_;
    }
  }

  // The game's fade darkens the world; what the scripts draw stays on top of it.
  void Fade(double depth) {
    if (depth <= 0.0) return;
    cairo_set_source_rgba(cr_, 0, 0, 0, std::min(depth, 1.0));
    cairo_paint(cr_);
  }

  void Sprite(const DrawnSprite& s) {
    const Rgba fill = FromBytes(s.r, s.g, s.b, s.a);
    const double width = s.width * w_, height = s.height * h_;
    cairo_save(cr_);
    cairo_translate(cr_, s.x * w_, s.y * h_);
    cairo_rotate(cr_, s.heading * std::numbers::pi / 180.0);
    cairo_rectangle(cr_, -width / 2, -height / 2, width, height);
    cairo_set_source_rgba(cr_, fill.r, fill.g, fill.b, fill.a);
    cairo_fill_preserve(cr_);
    cairo_set_source_rgba(cr_, 1, 1, 1, 0.18);
    cairo_set_line_width(cr_, 1.0);
    cairo_stroke_preserve(cr_);
    if (s.a > 0 && width >= 8 && height >= 8) {
      // The texture's name in its top-left corner, dark on light fills and light on dark ones.
      cairo_clip(cr_);
      const double light = (0.3 * fill.r + 0.59 * fill.g + 0.11 * fill.b) * fill.a;
      const double ink = light > 0.5 ? 0.0 : 1.0;
      SetFont({std::min(14.0 * unit_, height * 0.8), {}, false, false});
      cairo_font_extents_t fe;
      cairo_font_extents(cr_, &fe);
      cairo_set_source_rgba(cr_, ink, ink, ink, 0.8);
      cairo_move_to(cr_, -width / 2 + 3 * unit_, -height / 2 + 2 * unit_ + fe.ascent);
      cairo_show_text(cr_, s.texture.c_str());
    }
    cairo_new_path(cr_);
    cairo_restore(cr_);
  }

  // A drawn text: its top-left corner at (x, y), its size from the y scale.
  void Text(const DrawnText& t) {
    const double size = t.scaleY * kTextPixelsPerScale * unit_;
    if (size < 1.0 || t.a <= 0) return;
    const TextStyle style{size, FromBytes(t.r, t.g, t.b, t.a), true, t.title};
    const std::vector<Line> lines = Layout(t.text, style, 0.0);
    cairo_save(cr_);
    cairo_translate(cr_, t.x * w_, t.y * h_);
    if (t.scaleX > 0 && std::abs(t.scaleX - t.scaleY) > 1e-4)
      cairo_scale(cr_, t.scaleX / t.scaleY, 1);
    DrawLines(lines, style, 0.0, 0.0, false);
    cairo_restore(cr_);
  }

  void Help(const std::string& text) {
    const TextStyle style{26 * unit_, {}, false, false};
    const double pad = 18 * unit_, x = 0.025 * w_, y = 0.04 * h_, width = 0.27 * w_;
    const std::vector<Line> lines = Layout(text, style, width - 2 * pad);
    Panel(x, y, width, LinesHeight(lines, style) + 2 * pad, 0.8);
    DrawLines(lines, style, x + pad, y + pad, false);
  }

  void Objective(const std::string& text) {
    const TextStyle style{30 * unit_, {}, false, false};
    const std::vector<Line> lines = Layout(text, style, 0.6 * w_);
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
      const std::vector<Line> lines = Layout("~INPUT_HOLD~ " + *it, style, 0.0);
      const double width = lines.front().width + 36 * unit_, height = 48 * unit_;
      const double x = 0.975 * w_ - width;
      Panel(x, y, width, height, 0.8);
      DrawLines(lines, style, x + 18 * unit_, y + 8 * unit_, false);
      y -= height + 10 * unit_;
    }
  }

  void Caption(const std::string& caption) {
    const double height = 36 * unit_;
    cairo_set_source_rgba(cr_, 0, 0, 0, 0.75);
    cairo_rectangle(cr_, 0, h_ - height, w_, height);
    cairo_fill(cr_);
    SetFont({20 * unit_, {}, false, false});
    cairo_set_source_rgba(cr_, 0.85, 0.85, 0.8, 1);
    cairo_move_to(cr_, 14 * unit_, h_ - 11 * unit_);
    cairo_show_text(cr_, caption.c_str());
  }

 private:
  // Text scale 1.0 is a heading about a sixteenth of the screen high.
  static constexpr double kTextPixelsPerScale = 64.0;

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
  std::vector<Line> Layout(const std::string& text, const TextStyle& style, double maxWidth) {
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
        } else {
          Words(piece, penX, y + fe.ascent, style);
        }
        penX += piece.width;
      }
      y += LineHeight(style);
    }
  }

  // Words with a thin dark outline, so light text stays readable on light sprites.
  void Words(const Piece& piece, double x, double baseline, const TextStyle& style) {
    cairo_move_to(cr_, x, baseline);
    cairo_text_path(cr_, piece.text.c_str());
    cairo_set_source_rgba(cr_, 0, 0, 0, 0.6 * piece.colour.a);
    cairo_set_line_width(cr_, std::max(1.5, style.size / 14));
    cairo_stroke_preserve(cr_);
    cairo_set_source_rgba(cr_, piece.colour.r, piece.colour.g, piece.colour.b, piece.colour.a);
    cairo_fill(cr_);
  }

  // A control icon: its action name in a box.
  void Icon(const Piece& piece, const TextStyle& style, double x, double top) {
    const double inset = style.size * 0.08, height = style.size * 1.1;
    RoundedRect(x + inset, top + inset, piece.width - 2 * inset, height, 4 * unit_);
    cairo_set_source_rgba(cr_, piece.colour.r, piece.colour.g, piece.colour.b,
                          0.18 * piece.colour.a);
    cairo_fill_preserve(cr_);
    cairo_set_source_rgba(cr_, piece.colour.r, piece.colour.g, piece.colour.b, piece.colour.a);
    cairo_set_line_width(cr_, std::max(1.0, style.size / 16));
    cairo_stroke(cr_);
    SetFont({style.size * 0.7, {}, false, true});
    cairo_font_extents_t fe;
    cairo_font_extents(cr_, &fe);
    cairo_move_to(cr_, x + style.size * 0.3, top + inset + (height + fe.ascent - fe.descent) / 2);
    cairo_show_text(cr_, piece.text.c_str());
    SetFont(style);
  }

  void RoundedRect(double x, double y, double width, double height, double radius) {
    const double pi = std::numbers::pi;
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + width - radius, y + radius, radius, -pi / 2, 0);
    cairo_arc(cr_, x + width - radius, y + height - radius, radius, 0, pi / 2);
    cairo_arc(cr_, x + radius, y + height - radius, radius, pi / 2, pi);
    cairo_arc(cr_, x + radius, y + radius, radius, pi, 3 * pi / 2);
    cairo_close_path(cr_);
  }

  void Panel(double x, double y, double width, double height, double alpha) {
    RoundedRect(x, y, width, height, 6 * unit_);
    cairo_set_source_rgba(cr_, 0, 0, 0, alpha);
    cairo_fill(cr_);
  }

  void CentredBand(const std::string& title, const std::string& subtitle, double centreY,
                   double titleSize) {
    const TextStyle big{titleSize * unit_, {1, 1, 1, 1}, true, true};
    const TextStyle small{32 * unit_, {0.9, 0.88, 0.82, 1}, false, false};
    const std::vector<Line> titleLines = Layout(title, big, 0.8 * w_);
    const std::vector<Line> subLines =
        subtitle.empty() ? std::vector<Line>{} : Layout(subtitle, small, 0.7 * w_);
    const double height = LinesHeight(titleLines, big) +
                          (subLines.empty() ? 0 : 10 * unit_ + LinesHeight(subLines, small));
    const double top = centreY * h_ - height / 2;
    cairo_pattern_t* band = cairo_pattern_create_linear(0, 0, w_, 0);
    cairo_pattern_add_color_stop_rgba(band, 0.0, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(band, 0.25, 0, 0, 0, 0.7);
    cairo_pattern_add_color_stop_rgba(band, 0.75, 0, 0, 0, 0.7);
    cairo_pattern_add_color_stop_rgba(band, 1.0, 0, 0, 0, 0.0);
    cairo_set_source(cr_, band);
    cairo_rectangle(cr_, 0, top - 24 * unit_, w_, height + 48 * unit_);
    cairo_fill(cr_);
    cairo_pattern_destroy(band);
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
    const std::vector<Line> titleLines = Layout(n.text, title, textWidth);
    const std::vector<Line> subLines = Layout(n.subtitle, subtitle, textWidth);
    const double textHeight = LinesHeight(titleLines, title) + LinesHeight(subLines, subtitle);
    const double height = std::max(icon, textHeight) + 2 * pad;
    Panel(x, top, width, height, 0.8);
    RoundedRect(x + pad, top + pad, icon, icon, 4 * unit_);
    cairo_set_source_rgba(cr_, 0.75, 0.6, 0.3, 0.9);
    cairo_fill(cr_);
    DrawLines(titleLines, title, textX, top + pad, false);
    DrawLines(subLines, subtitle, textX, top + pad + LinesHeight(titleLines, title), false);
    return height;
  }

  cairo_t* cr_;
  double w_, h_, unit_;
};

cairo_surface_t* Paint(const ScreenFrame& screen, int width, int height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  Painter painter(cr, width, height);
  painter.Background();
  painter.Effects(screen.effects);
  painter.Fade(screen.fade);
  // The game puts its text over its sprites whatever the order of the calls.
  for (const DrawnSprite& sprite : screen.list.sprites)
    painter.Sprite(sprite);
  for (const DrawnText& text : screen.list.texts)
    painter.Text(text);
  if (!screen.help.empty()) painter.Help(screen.help);
  if (!screen.objective.empty()) painter.Objective(screen.objective);
  painter.Notices(screen.notices);
  painter.Prompts(screen.prompts);
  if (!screen.caption.empty()) painter.Caption(screen.caption);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}

}  // namespace

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
