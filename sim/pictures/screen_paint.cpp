// The laid-out screen painted with cairo, into the PNG screenshots and the tests' pixels.
#include <cairo.h>

#include <algorithm>
#include <cstddef>
#include <numbers>

#include "pictures/screen_render.h"

namespace brimvale::sim {
namespace {

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

// A box turned about its centre, with its label clipped to it.
void PaintBox(cairo_t* cr, const DrawItem& item, int height) {
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
}

void PaintText(cairo_t* cr, const DrawItem& item) {
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
      PaintBox(cr, item, height);
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
      PaintText(cr, item);
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
