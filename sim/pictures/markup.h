// The game's text markup as a reader sees it: the FONT wrapper dropped, "~n~" a new line, "~s~"
// "~o~" "~e~" "~p~" colour switches and "~INPUT_...~" a control icon. The playthrough's screenshots
// draw these runs and its milestone lines print them as plain words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brimvale::sim {

enum class RunKind { Words, Icon, NewLine };

struct MarkupRun {
  RunKind kind = RunKind::Words;
  std::string text;   // the words, or the icon's action name without "INPUT_"
  char colour = 's';  // the colour code in force: 's' is the text's own colour
};

std::vector<MarkupRun> ParseMarkup(std::string_view text);

// One line of plain words: icons as "[LOOT]", new lines as a blank, colours left out.
std::string PlainText(std::string_view text);

}  // namespace brimvale::sim
