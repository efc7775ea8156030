// Plural categories of a language by the CLDR rules that ICU carries, the
// count written in a locale's digits, and the same rules as a gettext
// "Plural-Forms" expression.
//
// Categories are CLDR's keywords: "zero", "one", "two", "few", "many" and
// "other". Counts are whole numbers; a language ICU does not know follows the
// root rules (every count is "other").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/LocaleIds.h"

namespace lx::platform {

/// The category of `count` in the language of `lcid`.
std::string PluralCategory(Lcid lcid, std::int64_t count);

/// The categories that whole counts take in the language of `lcid`, in CLDR's order
/// (zero, one, two, few, many, other). Japanese has "other" only; Russian "one", "few" and
/// "many" (its "other" is for fractions).
std::vector<std::string> IntegerPluralCategories(Lcid lcid);

/// ICU's sample whole counts of `category` (at most 20; none for a category whole counts
/// never take).
std::vector<std::int64_t> PluralSamples(Lcid lcid, const std::string& category);

/// `count` in the digits and grouping of the locale `lcid` ("1.234" in German), as UTF-16.
std::u16string FormatCount(Lcid lcid, std::int64_t count);

/// The rules as gettext writes them: `count` forms, one per category of
/// `IntegerPluralCategories` in that order, and a C expression of n that gives each whole
/// count the index of its category ("n==1 ? 0 : 1").
struct GettextPluralForms {
  int count = 1;
  std::string expression = "0";
  std::vector<std::string> categories{"other"};
  /// "nplurals=<count>; plural=<expression>;"
  std::string Header() const;
};
GettextPluralForms GettextPlurals(Lcid lcid);

}  // namespace lx::platform
