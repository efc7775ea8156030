// What a text carries besides its words: the placeholders of the program's format routine
// and hot-key markers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lx::tools {

/// One placeholder: the argument it takes and its type letter (lower case; '*' for a width
/// or precision taken from an argument).
struct Placeholder {
  int index = 0;
  char type = 's';

  auto operator<=>(const Placeholder&) const = default;
};

/// The placeholders of `text` in the order they take their arguments ("%s", "%d", "%1:d",
/// "%-8.2f", "%*d"; "%%" is a percent sign). An index given ("%1:") sets the argument, and
/// those after it go on from there. Empty optional when a "%" starts neither.
std::optional<std::vector<Placeholder>> Placeholders(std::string_view text);

/// Whether `text` is a format text: at least one placeholder and nothing else after a "%".
bool IsFormatText(std::string_view text);

/// The character after each hot-key marker "&" ("&&" is an ampersand), one UTF-8 character
/// each, ASCII letters in lower case.
std::vector<std::string> HotKeys(std::string_view text);

}  // namespace lx::tools
