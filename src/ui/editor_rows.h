// The editor pages of the creator and the wardrobe: the same black panel on the right, rows of a
// box, two arrows, a label and a value, the highlighted row edited with A and D, W/S moving the
// row and Q/E turning the page, all on pad 0. Cursors wrap at the start of the next frame, so a
// move past either end shows no highlight for one frame and edits nothing in it.
#pragma once

#include <cstdint>
#include <span>

namespace brimvale {

inline constexpr int kEditorRowsPerPage = 10;

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
