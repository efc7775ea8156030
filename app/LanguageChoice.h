// The languages probe offers: how it names each of its dictionary's languages, and the one a
// command line's --language chooses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lang/LxDictionary.h"

namespace lx::app {

/// The language probe's window was designed in: the dictionary's native language (position 0),
/// which the dictionary's records name "Native".
inline constexpr const char* kDesignLanguage = "English";

/// The English name of the language at `position` (kDesignLanguage for position 0).
/// `dictionary` is open, or null for none (then only position 0 exists).
std::string EnglishNameAt(lang::TLxDictionary* dictionary, int position);
/// Its own name in UTF-8 ("Deutsch", "日本語"), or its English name when it has none.
std::string OwnNameAt(lang::TLxDictionary* dictionary, int position);

/// The position that `text` names: a position of the dictionary (or -1 and -2, the user's and
/// the system's language), an English name, an own name or, for the native language,
/// "Native" (ASCII letters of any case); nullopt for none.
std::optional<int> FindLanguageChoice(lang::TLxDictionary* dictionary, std::string_view text);

/// The choices, one a line: "  1  German (Deutsch)".
std::string LanguageChoices(lang::TLxDictionary* dictionary);

}  // namespace lx::app
