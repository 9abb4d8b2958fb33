#include "pictures/markup.h"

namespace brimvale::sim {
namespace {

// The FONT tags around and inside a text; anything else in angle brackets is kept as words.
size_t SkipFontTag(std::string_view text, size_t i) {
  if (text.substr(i, 5) != "<FONT" && text.substr(i, 7) != "</FONT>") return i;
  const size_t end = text.find('>', i);
  return end == std::string_view::npos ? text.size() : end + 1;
}

void AddWords(std::vector<MarkupRun>& runs, char colour, char ch) {
  if (runs.empty() || runs.back().kind != RunKind::Words || runs.back().colour != colour)
    runs.push_back({RunKind::Words, {}, colour});
  runs.back().text += ch;
}

}  // namespace

std::vector<MarkupRun> ParseMarkup(std::string_view text) {
  std::vector<MarkupRun> runs;
  char colour = 's';
  size_t i = 0;
  while (i < text.size()) {
    if (const size_t next = SkipFontTag(text, i); next != i) {
      i = next;
      continue;
    }
    const size_t close = text[i] == '~' ? text.find('~', i + 1) : std::string_view::npos;
    if (close == std::string_view::npos) {
      AddWords(runs, colour, text[i++]);
      continue;
    }
    const std::string_view code = text.substr(i + 1, close - i - 1);
    i = close + 1;
    if (code == "n") {
      runs.push_back({RunKind::NewLine, {}, colour});
    } else if (code.starts_with("INPUT_")) {
      runs.push_back({RunKind::Icon, std::string(code.substr(6)), colour});
    } else if (code.size() == 1) {
      colour = code[0];  // a code the game does not colour keeps the text's own colour
    }
  }
  return runs;
}

std::string PlainText(std::string_view text) {
  std::string plain;
  for (const MarkupRun& run : ParseMarkup(text)) {
    switch (run.kind) {
      case RunKind::Words:
        plain += run.text;
        break;
      case RunKind::Icon:
        plain += "[" + run.text + "]";
        break;
      case RunKind::NewLine:
        if (!plain.empty() && plain.back() != ' ') plain += ' ';
        break;
    }
  }
  // "Continue~n~ Your" reads as one blank, not two.
  std::string out;
  for (char ch : plain) {
    if (ch == ' ' && !out.empty() && out.back() == ' ') continue;
    out += ch;
  }
  while (!out.empty() && out.back() == ' ')
    out.pop_back();
  return out;
}

}  // namespace brimvale::sim
