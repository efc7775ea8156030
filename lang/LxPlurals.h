// Texts in code that depend on a count or on a keyword: plural forms chosen by
// the CLDR rules of the active language (through ICU), and choices such as a
// gender ("male", "female", "other").
//
// A dictionary holds them as variants of an entry, keyed like the entry by its
// native text (for a plural, the native singular), its context and its id. The
// count's category comes from the active language; the native language follows
// the singular and plural the program gives (the singular for 1). Every "%d"
// of the chosen text becomes the count, written in the digits and grouping of
// the active language's locale ("1.234 Dateien").
#pragma once

#include <cstdint>
#include <string>

#include "framework/runtime/ResourceStrings.h"

namespace lx::lang {

class TLxDictionary;

/// The text for `count` through `dictionary`: the variant of the count's plural category
/// in the active language, keyed by `singular` (with `context` and `id`, or the word
/// alone when both are empty). Without such a variant, without a dictionary or with the
/// native language active, the native form after the missing-translation rule.
std::string TranslatePluralWith(TLxDictionary* dictionary, const std::string& singular,
                                const std::string& plural, std::int64_t count,
                                const std::string& context = {}, const std::string& id = {});
/// `TranslatePluralWith` the default dictionary (null when none is registered).
std::string TranslatePlural(const std::string& singular, const std::string& plural,
                            std::int64_t count);

/// The variant `keyword` of `text` through `dictionary`; else its variant "other"; else
/// the plain translation of `text` (`TranslateWith`).
std::string TranslateChoiceWith(TLxDictionary* dictionary, const std::string& text,
                                const std::string& keyword, const std::string& context = {},
                                const std::string& id = {});
std::string TranslateChoice(const std::string& text, const std::string& keyword);

/// A string table's text with a count (a line with two texts): the entry's native singular
/// and plural, then `TranslatePluralWith` the default dictionary keyed by the singular and
/// the entry's identifier as the id (else the singular alone). An entry without a plural
/// takes its one text for every count.
std::string LoadResPlural(const framework::TResStringRec& record, std::int64_t count);

/// Every "%d" of `text` replaced by `count` in the digits of the locale `lcid`, converted
/// to `codePage`.
std::string FormatPluralText(const std::string& text, std::int64_t count, int lcid, int codePage);

}  // namespace lx::lang
