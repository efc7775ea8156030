// Internal to the platform layer: the readers of ICU's locale data behind
// GetLocaleInfo. Use LocaleInfo.h and FontSignature.h instead.
#pragma once

#include <unicode/utypes.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LocaleInfo.h"

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::platform {

/// An LCID's place in ICU.
struct IcuLocale {
  /// As ICU's LCID table gives it ("de_AT", "zh_Hans"): names and codes come from it.
  std::string name;
  /// With its most likely country when it has none, and Latin digits
  /// ("zh_Hans_CN@numbers=latn"): formats come from it.
  std::string dataName;
  /// The LCID it was found by.
  Lcid lcid = 0;
};

/// The ICU locale of an LCID (no default ids); nullptr when not known. Known
/// locales are kept for the life of the process.
const IcuLocale* IcuLocaleFor(Lcid lcid);

/// Runs one of ICU's locale-name getters (uloc_getCountry, uloc_addLikelySubtags, ...)
/// on name; empty when it fails.
using LocalePartGetter = int32_t (*)(const char* name, char* out, int32_t capacity,
                                     UErrorCode* status);
std::string LocalePart(const std::string& name, LocalePartGetter getter);

/// Runs one of ICU's UTF-16 getters; nullopt when it fails.
using IcuTextGetter = std::function<int32_t(UChar* out, int32_t capacity, UErrorCode* status)>;
std::optional<std::u16string> IcuText(const IcuTextGetter& getter);

/// Decimal text of a number.
std::u16string NumberText(long value);

/// Names, ISO codes and the ANSI code page (LocaleNames.cpp).
std::optional<std::u16string> NameValue(const IcuLocale& locale, LcType type);
/// The classic three-letter code of an LCID's language ("ENU", "DEA", "CHS"; the sort id
/// is ignored), from the table compiled in from LanguageCodes.tsv; empty outside it.
std::string_view ClassicLanguageCode(Lcid lcid);
/// The Windows ANSI code page of the locale's language and script; 0 for Unicode only.
std::uint32_t AnsiCodePageOf(const IcuLocale& locale);

/// Number, currency and measurement values (NumberFormats.cpp).
std::optional<std::u16string> NumberValue(const IcuLocale& locale, LcType type);

/// Date and time formats, calendar, week, day and month names (DateFormats.cpp).
std::optional<std::u16string> DateValue(const IcuLocale& locale, LcType type);

}  // namespace lx::platform
#pragma GCC visibility pop
