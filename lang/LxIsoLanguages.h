// Languages named by their ISO codes, as a dictionary's source may name them: "ar" alone
// stands for Arabic with its ids, code page and names from the locale database.
#pragma once

#include <string_view>

#include "lang/LxRecords.h"

namespace lx::lang {

/// Fills `language` for the ISO 639 code `iso` ("ar", "de"; case ignored) and the ISO 3166
/// country `country` ("AT"; empty for the language's most likely one): the primary and
/// sub-language ids of that locale, then what `TLxLanguage::Validate` completes from the
/// system (ISO codes, English and native names, code page, character set) where `language`
/// leaves it empty or 0. False, with `language` unchanged, when the locale database knows no
/// such locale.
bool LanguageFromIsoCode(std::string_view iso, std::string_view country, TLxLanguage& language);

}  // namespace lx::lang
