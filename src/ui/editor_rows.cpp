#include "ui/editor_rows.h"

#include "core/native/natives.h"
#include "ui/toolkit.h"

namespace brimvale {
namespace {

float BoxY(int index) {
  return kRowBoxTop + kRowPitch * static_cast<float>(index);
}

void DrawRow(const EditorRow& row, int index) {
  const float boxY = BoxY(index);
  const float textY = kRowTextTop + kRowPitch * static_cast<float>(index);
  DrawScreenSprite("generic_textures", "selection_box_bg_1c",
                   {kRowBoxX, boxY, kRowBoxWidth, kRowBoxHeight}, kRowBoxColour);
  DrawScreenSprite("generic_textures", "selection_arrow_left",
                   {kLeftArrowX, boxY, kArrowWidth, kArrowHeight});
  DrawScreenSprite("generic_textures", "selection_arrow_right",
                   {kRightArrowX, boxY, kArrowWidth, kArrowHeight});
  DrawTitleText(row.label, kRowLabelX, textY, kRowTextScale, kRowTextScale);
  DrawTitleText(row.value, row.valueX, textY, kRowTextScale, kRowTextScale);
}

}  // namespace

void DrawEditorPanel() {
  DrawScreenSprite("generic_textures", "inkroller_1a", kEditorPanel, {0, 0, 0, 255});
}

void DrawEditorHeader() {
  DrawScreenSprite("generic_textures", "menu_header_1a", kEditorHeader);
}

void DrawEditorRules() {
  for (float y : {kRuleTopY, kRuleBottomY}) {
    DrawScreenSprite("generic_textures", "list_item_h_line_narrow",
                     {kRowBoxX, y, kRowBoxWidth, kRuleHeight}, {255, 0, 0, 255});
  }
}

void DrawEditorHints(const char* upper, const char* lower) {
  DrawTitleText(upper, kRowLabelX, kHintUpperY, kHintScale, kHintScale);
  DrawTitleText(lower, kRowLabelX, kHintLowerY, kHintScale, kHintScale);
}

EditorRowEdit RunEditorRows(std::span<const EditorRow> rows, int32_t cursor) {
  EditorRowEdit edit;
  const int count = static_cast<int>(rows.size());
  for (int i = 0; i < count; ++i) {
    DrawRow(rows[static_cast<size_t>(i)], i);
    if (i != cursor) continue;
    DrawScreenSprite("menu_textures", "calendar_bg_large",
                     {kRowBoxX, BoxY(i), kRowBoxWidth, kRowBoxHeight}, kRowHighlight);
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
  return ControlJustPressed(kEditorPad, HashName(control));
}

void EditorSound(const char* name) {
  PlayMenuSound(name, "HUD_SHOP_SOUNDSET", 0);
}

}  // namespace brimvale
