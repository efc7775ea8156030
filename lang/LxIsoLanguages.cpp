#include "lang/LxIsoLanguages.h"

#include <string>

#include "lang/LxLanguageIds.h"
#include "platform/LocaleIds.h"
#include "platform/TextUtils.h"

namespace lx::lang {

namespace {

bool IsLetters(std::string_view text) {
  for (const char c : text) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
  }
  return true;
}

}  // namespace

bool LanguageFromIsoCode(std::string_view iso, std::string_view country, TLxLanguage& language) {
  if (iso.size() < 2 || iso.size() > 3 || !IsLetters(iso) || !IsLetters(country)) return false;
  std::string posix = platform::LowerCaseAscii(iso);
  if (!country.empty()) posix += "_" + platform::UpperCaseAscii(country);
  const platform::Lcid lcid = platform::LcidOfPosixLocale(posix);
  // Whatever the database does not know comes back as English (United States).
  if (lcid == platform::kEnglishUnitedStates && posix != "en" && posix != "en_US") return false;
  language.PrimaryLanguage = PRIMARYLANGID(static_cast<int>(lcid));
  language.SubLanguage = SUBLANGID(static_cast<int>(lcid));
  language.Validate();
  return true;
}

}  // namespace lx::lang
