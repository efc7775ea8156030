#include "platform/LocaleIds.h"

#include <unicode/uloc.h>

#include <algorithm>
#include <array>

#include "platform/internal/LocaleData.h"

namespace lx::platform {

namespace {

std::string CountryOf(const std::string& icuLocale) {
  return LocalePart(icuLocale, uloc_getCountry);
}

// An LCID that names a country-specific locale ICU knows exactly.
bool IsCountryLcid(Lcid lcid) {
  const auto name = IcuLocaleOfLcid(lcid);
  return name && !CountryOf(*name).empty();
}

struct PosixParts {
  std::string language;
  std::string script;
  std::string country;
};

// "de_AT.UTF-8@euro" -> de / AT; the modifiers latin and cyrillic become scripts.
PosixParts SplitPosixLocale(std::string_view text) {
  PosixParts parts;
  std::string_view modifier;
  if (const auto at = text.find('@'); at != std::string_view::npos) {
    modifier = text.substr(at + 1);
    text = text.substr(0, at);
  }
  text = text.substr(0, text.find('.'));
  const auto underscore = text.find_first_of("_-");
  parts.language = std::string(text.substr(0, underscore));
  if (underscore != std::string_view::npos)
    parts.country = std::string(text.substr(underscore + 1));
  if (modifier == "latin") parts.script = "Latn";
  if (modifier == "cyrillic") parts.script = "Cyrl";
  return parts;
}

std::string JoinLocale(const std::string& language, const std::string& script,
                       const std::string& country) {
  std::string name = language;
  if (!script.empty()) name += "_" + script;
  if (!country.empty()) name += "_" + country;
  return name;
}

}  // namespace

std::optional<std::string> IcuLocaleOfLcid(Lcid lcid) {
  std::array<char, ULOC_FULLNAME_CAPACITY> buffer{};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = uloc_getLocaleForLCID(lcid, buffer.data(), buffer.size(), &status);
  if (U_FAILURE(status) || length <= 0 || length >= static_cast<int32_t>(buffer.size())) {
    return std::nullopt;
  }
  const std::string name(buffer.data(), static_cast<std::size_t>(length));
  // ICU answers unknown sub-languages with the language's first entry; Windows
  // knows only the exact ids, so the name must lead back to the same LCID.
  if (name == "root" || uloc_getLCID(name.c_str()) != lcid) return std::nullopt;
  return name;
}

bool IsKnownLcid(Lcid lcid) {
  return IcuLocaleOfLcid(lcid).has_value();
}

Lcid LcidOfIcuLocale(std::string_view icuLocale) {
  return uloc_getLCID(std::string(icuLocale).c_str());
}

Lcid LcidOfPosixLocale(std::string_view posixLocale) {
  const PosixParts parts = SplitPosixLocale(posixLocale);
  if (parts.language.empty() || parts.language == "C" || parts.language == "POSIX") {
    return kEnglishUnitedStates;
  }
  const std::string given = JoinLocale(parts.language, parts.script, parts.country);
  const std::string maximized = LocalePart(given, uloc_addLikelySubtags);
  std::vector<std::string> candidates{given};
  if (!maximized.empty()) {
    const std::string script = LocalePart(maximized, uloc_getScript);
    const std::string country = CountryOf(maximized);
    candidates.push_back(JoinLocale(parts.language, "", country));
    candidates.push_back(JoinLocale(parts.language, script, country));
  }
  for (const std::string& candidate : candidates) {
    const Lcid lcid = LcidOfIcuLocale(candidate);
    if (lcid != 0 && IsCountryLcid(lcid)) return lcid;
  }
  return kEnglishUnitedStates;
}

std::vector<Lcid> IcuSupportedLcids() {
  std::vector<Lcid> lcids;
  const int32_t count = uloc_countAvailable();
  for (int32_t i = 0; i < count; ++i) {
    const Lcid lcid = uloc_getLCID(uloc_getAvailable(i));
    if (lcid != 0 && (lcid >> 16) == 0 && IsCountryLcid(lcid)) lcids.push_back(lcid);
  }
  std::sort(lcids.begin(), lcids.end());
  lcids.erase(std::unique(lcids.begin(), lcids.end()), lcids.end());
  return lcids;
}

}  // namespace lx::platform
