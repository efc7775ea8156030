// PO strings and references laid out as gettext lays them out (page width 79), so that
// msgcat, msgmerge and PO editors give back the same bytes. Lines break where the Unicode
// line-breaking rules allow it, for the scripts of a program's texts: after spaces, hyphens,
// slashes and punctuation, around CJK ideographs and kana; a string on more than one line
// starts with an empty one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lx::tools {

/// `keyword` ("msgid", "msgstr"...) and `text` as escaped, quoted lines, each ending in "\n":
/// the C control characters by name (\n, \t...), every other byte as it is.
std::string WrappedPoString(std::string_view keyword, std::string_view text);

/// "#:" lines of `references`, as many a line as the page width takes; a reference given
/// twice is written once, as gettext keeps it. Empty for none.
std::string PoReferenceLines(const std::vector<std::string>& references);

}  // namespace lx::tools
