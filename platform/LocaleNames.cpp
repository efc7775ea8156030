// Language and country names, ISO codes and the ANSI code page of a locale.
#include <unicode/uloc.h>

#include <array>
#include <string_view>

#include "platform/SystemLocale.h"
#include "platform/internal/LocaleData.h"

namespace lx::platform {

namespace {

std::u16string Widened(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::optional<std::u16string> LanguageName(const std::string& name, const std::string& inLocale) {
  return IcuText([&](UChar* out, int32_t capacity, UErrorCode* status) {
    return uloc_getDisplayLanguage(name.c_str(), inLocale.c_str(), out, capacity, status);
  });
}

std::optional<std::u16string> CountryName(const std::string& name, const std::string& inLocale) {
  return IcuText([&](UChar* out, int32_t capacity, UErrorCode* status) {
    return uloc_getDisplayCountry(name.c_str(), inLocale.c_str(), out, capacity, status);
  });
}

// Localised names are in the language of the user's default locale.
std::string UserLanguageLocale() {
  const IcuLocale* user = IcuLocaleFor(UserDefaultLcid());
  return user != nullptr ? user->name : "en";
}

std::u16string UpperCased(std::string_view ascii) {
  std::u16string text = Widened(ascii);
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return text;
}

bool IsOneOf(const std::string& value, std::initializer_list<std::string_view> values) {
  for (std::string_view candidate : values) {
    if (value == candidate) return true;
  }
  return false;
}

std::uint32_t LatinScriptCodePage(const std::string& language) {
  if (IsOneOf(language, {"cs", "pl", "hu", "sk", "sl", "hr", "bs", "sr", "ro", "sq", "tk"})) {
    return 1250;
  }
  if (IsOneOf(language, {"tr", "az", "uz"})) return 1254;
  if (IsOneOf(language, {"et", "lv", "lt"})) return 1257;
  if (language == "vi") return 1258;
  return 1252;
}

// The classic code where there is one; ICU's ISO 639-2 code in capitals for the languages
// that came after it.
std::u16string AbbreviatedLanguageName(const IcuLocale& locale) {
  const std::string_view classic = ClassicLanguageCode(locale.lcid);
  if (!classic.empty()) return Widened(classic);
  return UpperCased(uloc_getISO3Language(locale.name.c_str()));
}

}  // namespace

std::uint32_t AnsiCodePageOf(const IcuLocale& locale) {
  const std::string maximized = LocalePart(locale.name, uloc_addLikelySubtags);
  const std::string language = LocalePart(maximized, uloc_getLanguage);
  const std::string script = LocalePart(maximized, uloc_getScript);
  if (language == "ja") return 932;
  if (language == "ko") return 949;
  if (language == "zh") return script == "Hant" ? 950 : 936;
  if (script == "Arab") return 1256;
  if (script == "Cyrl") return 1251;
  if (script == "Grek") return 1253;
  if (script == "Hebr") return 1255;
  if (script == "Thai") return 874;
  if (script == "Latn") return LatinScriptCodePage(language);
  return 0;
}

std::optional<std::u16string> NameValue(const IcuLocale& locale, LcType type) {
  const std::string& name = locale.name;
  switch (type) {
    case LOCALE_SENGLANGUAGE:
      return LanguageName(name, "en");
    case LOCALE_SNATIVELANGNAME:
      return LanguageName(name, name);
    case LOCALE_SENGCOUNTRY:
      return CountryName(name, "en");
    case LOCALE_SNATIVECTRYNAME:
      return CountryName(name, name);
    case LOCALE_SCOUNTRY:
      return CountryName(name, UserLanguageLocale());
    case LOCALE_SABBREVLANGNAME:
      return AbbreviatedLanguageName(locale);
    case LOCALE_SISO639LANGNAME:
      return Widened(LocalePart(name, uloc_getLanguage));
    case LOCALE_SISO3166CTRYNAME:
      return Widened(LocalePart(name, uloc_getCountry));
    case LOCALE_IDEFAULTANSICODEPAGE:
      return NumberText(AnsiCodePageOf(locale));
    default:
      return std::nullopt;
  }
}

}  // namespace lx::platform
