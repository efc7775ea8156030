#include "platform/LocaleInfo.h"

#include <map>
#include <optional>
#include <utility>

#include "platform/CodePages.h"
#include "platform/FontSignature.h"
#include "platform/SystemLocale.h"
#include "platform/internal/LocaleData.h"

namespace lx::platform {

namespace {

constexpr LcType kFlags = LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP;

std::optional<std::u16string> ValueOf(const IcuLocale& locale, LcType type) {
  if (auto value = NameValue(locale, type)) return value;
  if (auto value = NumberValue(locale, type)) return value;
  return DateValue(locale, type);
}

// Locale data does not change while the process runs, so each answer is read
// once; only the country name in the user's language follows the system.
std::optional<std::u16string> LocaleValue(Lcid lcid, LcType type) {
  const IcuLocale* locale = IcuLocaleFor(lcid);
  if (locale == nullptr) return std::nullopt;
  if (type == LOCALE_SCOUNTRY) return ValueOf(*locale, type);
  static std::map<std::pair<Lcid, LcType>, std::optional<std::u16string>> cache;
  const auto key = std::make_pair(lcid, type);
  auto found = cache.find(key);
  if (found == cache.end()) found = cache.emplace(key, ValueOf(*locale, type)).first;
  return found->second;
}

std::optional<std::array<std::uint8_t, 32>> FontSignatureBytes(Lcid lcid) {
  const auto signature = LocaleFontSignature(lcid);
  if (!signature) return std::nullopt;
  return signature->Bytes();
}

std::uint32_t NarrowCodePage(Lcid lcid, LcType type) {
  const std::uint32_t codePage = (type & LOCALE_USE_CP_ACP) ? 0 : LocaleAnsiCodePage(lcid);
  return codePage != 0 ? codePage : AnsiCodePage();
}

}  // namespace

std::string GetLocaleInfo(Lcid lcid, LcType type, std::string_view defaultText) {
  const Lcid resolved = ResolveDefaultLcid(lcid);
  const LcType bare = type & ~kFlags;
  if (bare == LOCALE_FONTSIGNATURE) {
    const auto bytes = FontSignatureBytes(resolved);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string(defaultText);
  }
  const auto value = LocaleValue(resolved, bare);
  if (!value) return std::string(defaultText);
  return WideToMultiByte(*value, NarrowCodePage(resolved, type));
}

std::u16string GetLocaleInfoW(Lcid lcid, LcType type, std::u16string_view defaultText) {
  const Lcid resolved = ResolveDefaultLcid(lcid);
  const LcType bare = type & ~kFlags;
  if (bare == LOCALE_FONTSIGNATURE) {
    const auto bytes = FontSignatureBytes(resolved);
    if (!bytes) return std::u16string(defaultText);
    std::u16string units;
    for (std::size_t i = 0; i < bytes->size(); i += 2) {
      units += static_cast<char16_t>((*bytes)[i] | ((*bytes)[i + 1] << 8));
    }
    return units;
  }
  const auto value = LocaleValue(resolved, bare);
  return value ? *value : std::u16string(defaultText);
}

std::uint32_t LocaleAnsiCodePage(Lcid lcid) {
  const IcuLocale* locale = IcuLocaleFor(ResolveDefaultLcid(lcid));
  return locale != nullptr ? AnsiCodePageOf(*locale) : 0;
}

}  // namespace lx::platform
