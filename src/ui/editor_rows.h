// The editor pages of the creator and the wardrobe: the same black panel on the right, rows of a
// box, two arrows, a label and a value, the highlighted row edited with A and D, W/S moving the
// row and Q/E turning the page, all on pad 0. Cursors wrap at the start of the next frame, so a
// move past either end shows no highlight for one frame and edits nothing in it.
#pragma once

#include <cstdint>
#include <span>

#include "ui/toolkit.h"

namespace brimvale {

inline constexpr int kEditorRowsPerPage = 10;

// The editor panel's layout, as fractions of the screen; the creator's main menu lays its boxes
// on the same column.
inline constexpr ScreenRect kEditorPanel{0.7f, 0.5f, 0.4f, 0.9f};
inline constexpr ScreenRect kEditorHeader{0.7f, 0.19f, 0.38f, 0.25f};
inline constexpr float kRowBoxX = 0.7f;
inline constexpr float kRowBoxWidth = 0.3f;
inline constexpr float kRowBoxHeight = 0.05f;
inline constexpr float kRowBoxTop = 0.385f;
inline constexpr float kRowTextTop = 0.37f;
inline constexpr float kRowPitch = 0.05f;
inline constexpr float kRowLabelX = 0.555f;
inline constexpr float kLeftArrowX = 0.76f;
inline constexpr float kRightArrowX = 0.83f;
inline constexpr float kArrowWidth = 0.0264f;
inline constexpr float kArrowHeight = 0.0364f;
inline constexpr float kRuleTopY = 0.36f;
inline constexpr float kRuleBottomY = 0.86f;
inline constexpr float kRuleHeight = 0.01f;
inline constexpr float kHintUpperY = 0.87f;
inline constexpr float kHintLowerY = 0.9f;
inline constexpr float kHintScale = 0.3f;
inline constexpr float kRowTextScale = 0.5f;
inline constexpr float kPageTitleX = 0.68f;
inline constexpr float kPageTitleY = 0.32f;
inline constexpr float kPageTagX = 0.824f;
inline constexpr float kPageTagY = 0.325f;
inline constexpr ScreenRect kEditorLeftIcon{0.57f, 0.22f, 0.1f, 0.1f};
inline constexpr float kScreenTitleScale = 1.0f;
// The highlight over a row and the faint box under every row.
inline constexpr Colour kRowHighlight{255, 0, 0, 255};
inline constexpr Colour kRowBoxColour{255, 255, 255, 40};

struct EditorRow {
  const char* label = "";
  char value[64] = {};
  float valueX = 0.775f;
};

// What the player asked of the highlighted row in this frame (D raises, A lowers).
struct EditorRowEdit {
  int row = -1;  // -1 when no row is highlighted
  bool raise = false;
  bool lower = false;
};

void DrawEditorPanel();
void DrawEditorHeader();
void DrawEditorRules();  // the red lines above and below the rows
void DrawEditorHints(const char* upper, const char* lower);

// Draws the rows, highlights the cursor's row when it is one of them and reads A and D for it.
EditorRowEdit RunEditorRows(std::span<const EditorRow> rows, int32_t cursor);

// Negative becomes the last index, past the last becomes 0.
void WrapCursor(int32_t& cursor, int count);
// Wraps the row, then moves it with W and S.
void MoveEditorRow(int32_t& row, int rowCount);
// Wraps the page, then turns it with Q and E, back to row 0.
void TurnEditorPage(int32_t& page, int32_t& row, int pageCount);

bool EditorPressed(const char* control);  // just pressed on pad 0
void EditorSound(const char* name);       // "HUD_SHOP_SOUNDSET", stopped then played

}  // namespace brimvale
