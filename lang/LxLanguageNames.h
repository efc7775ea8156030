// Display names of languages and locales, composed from the system's names.
//
// The system's English names do not tell the scripts and variants of some
// languages apart (Chinese, Korean, Norwegian, Serbian/Croatian, Azeri,
// Uzbek): for those a name is cut to its first word and the script or
// variant follows, as in "Chinese , Traditional" or "Norwegian (Nynorsk)".
//
// A translated name has its pieces (the name, the variant word, the
// country) translated one by one through a replaceable hook, which the
// dictionary unit points at its look-up; until then pieces stay as they are.
#pragma once

#include <string>

namespace lx::lang {

class TLxDictionary;

/// Translates one piece of a name with `dictionary`, or with the default dictionary when it
/// is null.
using TLxTranslatePieceFunc = std::string (*)(TLxDictionary* dictionary, const std::string& piece);

/// Installs `translate` for every later translated name and returns the hook it replaces, so
/// that the caller can put it back; nullptr installs the default, which keeps every piece.
TLxTranslatePieceFunc SetTranslatePieceHook(TLxTranslatePieceFunc translate);

/// `piece` through the installed hook.
std::string TranslatePiece(TLxDictionary* dictionary, const std::string& piece);

/// The display name of a language from the system's name of it, its primary language id and
/// its code page; with `translate`, the name and the variant word are translated each.
std::string LanguageDisplayName(const std::string& name, int primaryLanguage, int codePage,
                                TLxDictionary* dictionary, bool translate);

/// The display name of a locale: the language as above, then " (<country>)" unless
/// subLanguage is 0; with `translate`, every piece is translated.
std::string LocaleDisplayName(const std::string& languageName, const std::string& countryName,
                              int primaryLanguage, int subLanguage, int codePage,
                              TLxDictionary* dictionary, bool translate);

}  // namespace lx::lang
