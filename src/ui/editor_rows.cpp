#include "ui/editor_rows.h"

#include "core/native/natives.h"
#include "ui/toolkit.h"

namespace brimvale {
namespace {

constexpr float kRowBoxX = 0.7f;
constexpr float kRowBoxTop = 0.385f;
constexpr float kRowTextTop = 0.37f;
constexpr float kRowPitch = 0.05f;
constexpr float kLabelX = 0.555f;

void Sprite(const char* dict, const char* texture, float x, float y, float width, float height,
            int32_t r, int32_t g, int32_t b, int32_t alpha) {
  DrawSprite(dict, texture, x, y, width, height, 0.0f, r, g, b, alpha, false);
}

float BoxY(int index) {
  return kRowBoxTop + kRowPitch * static_cast<float>(index);
}

void DrawRow(const EditorRow& row, int index) {
  const float boxY = BoxY(index);
  const float textY = kRowTextTop + kRowPitch * static_cast<float>(index);
  Sprite("generic_textures", "selection_box_bg_1c", kRowBoxX, boxY, 0.3f, 0.05f, 255, 255, 255, 40);
  Sprite("generic_textures", "selection_arrow_left", 0.76f, boxY, 0.0264f, 0.0364f, 255, 255, 255,
         255);
  Sprite("generic_textures", "selection_arrow_right", 0.83f, boxY, 0.0264f, 0.0364f, 255, 255, 255,
         255);
  DrawTitleText(row.label, kLabelX, textY, 0.5f, 0.5f);
  DrawTitleText(row.value, row.valueX, textY, 0.5f, 0.5f);
}

}  // namespace

void DrawEditorPanel() {
  Sprite("generic_textures", "inkroller_1a", 0.7f, 0.5f, 0.4f, 0.9f, 0, 0, 0, 255);
}

void DrawEditorHeader() {
  Sprite("generic_textures", "menu_header_1a", 0.7f, 0.19f, 0.38f, 0.25f, 255, 255, 255, 255);
}

void DrawEditorRules() {
  for (float y : {0.36f, 0.86f}) {
    Sprite("generic_textures", "list_item_h_line_narrow", 0.7f, y, 0.3f, 0.01f, 255, 0, 0, 255);
  }
}

void DrawEditorHints(const char* upper, const char* lower) {
  DrawTitleText(upper, kLabelX, 0.87f, 0.3f, 0.3f);
  DrawTitleText(lower, kLabelX, 0.9f, 0.3f, 0.3f);
}

EditorRowEdit RunEditorRows(std::span<const EditorRow> rows, int32_t cursor) {
  EditorRowEdit edit;
  const int count = static_cast<int>(rows.size());
  for (int i = 0; i < count; ++i) {
    DrawRow(rows[static_cast<size_t>(i)], i);
    if (i != cursor) continue;
    Sprite("menu_textures", "calendar_bg_large", kRowBoxX, BoxY(i), 0.3f, 0.05f, 255, 0, 0, 255);
    edit.row = i;
  }
  if (edit.row >= 0) {
    edit.raise = EditorPressed("INPUT_MOVE_RIGHT_ONLY");
    edit.lower = EditorPressed("INPUT_MOVE_LEFT_ONLY");
  }
  return edit;
}

void WrapCursor(int32_t& cursor, int count) {
  if (cursor < 0) cursor = count - 1;
  if (cursor > count - 1) cursor = 0;
}

void MoveEditorRow(int32_t& row, int rowCount) {
  WrapCursor(row, rowCount);
  if (EditorPressed("INPUT_MOVE_UP_ONLY")) {
    EditorSound("NAV_UP");
    --row;
  }
  if (EditorPressed("INPUT_MOVE_DOWN_ONLY")) {
    EditorSound("NAV_DOWN");
    ++row;
  }
}

void TurnEditorPage(int32_t& page, int32_t& row, int pageCount) {
  WrapCursor(page, pageCount);
  if (EditorPressed("INPUT_DIVE")) {
    EditorSound("NAV_LEFT");
    row = 0;
    --page;
  }
  if (EditorPressed("INPUT_MELEE_GRAPPLE_CHOKE")) {
    EditorSound("NAV_RIGHT");
    row = 0;
    ++page;
  }
}

bool EditorPressed(const char* control) {
  return ControlJustPressed(0, HashName(control));
}

void EditorSound(const char* name) {
  PlayMenuSound(name, "HUD_SHOP_SOUNDSET", 0);
}

}  // namespace brimvale
