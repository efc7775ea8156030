#include "platform/internal/LocaleData.h"

#include <unicode/uloc.h>

#include <array>
#include <map>

namespace lx::platform {

namespace {

constexpr int32_t kTextCapacity = 256;

// A language-only locale ("de", "zh_Hans") takes its most likely country, so that
// currency, week and measurement data have a region to come from.
std::string WithCountry(const std::string& name) {
  if (!LocalePart(name, uloc_getCountry).empty()) return name;
  const std::string maximized = LocalePart(name, uloc_addLikelySubtags);
  const std::string country = LocalePart(maximized, uloc_getCountry);
  if (country.empty()) return name;
  std::string result = LocalePart(name, uloc_getLanguage);
  const std::string script = LocalePart(name, uloc_getScript);
  if (!script.empty()) result += "_" + script;
  return result + "_" + country;
}

std::string WithLatinDigits(const std::string& name) {
  std::array<char, ULOC_FULLNAME_CAPACITY> buffer{};
  name.copy(buffer.data(), buffer.size() - 1);
  UErrorCode status = U_ZERO_ERROR;
  uloc_setKeywordValue("numbers", "latn", buffer.data(), buffer.size(), &status);
  return U_SUCCESS(status) ? std::string(buffer.data()) : name;
}

}  // namespace

std::string LocalePart(const std::string& name, LocalePartGetter getter) {
  std::array<char, ULOC_FULLNAME_CAPACITY> buffer{};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = getter(name.c_str(), buffer.data(), buffer.size(), &status);
  if (U_FAILURE(status) || length <= 0 || length >= static_cast<int32_t>(buffer.size())) return {};
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

const IcuLocale* IcuLocaleFor(Lcid lcid) {
  static std::map<Lcid, IcuLocale> cache;
  auto found = cache.find(lcid);
  if (found != cache.end()) return &found->second;
  const auto name = IcuLocaleOfLcid(lcid);
  if (!name) return nullptr;
  IcuLocale locale{*name, WithLatinDigits(WithCountry(*name)), lcid};
  return &cache.emplace(lcid, std::move(locale)).first->second;
}

std::optional<std::u16string> IcuText(const IcuTextGetter& getter) {
  std::u16string text(kTextCapacity, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = getter(text.data(), kTextCapacity, &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    text.assign(static_cast<std::size_t>(length), u'\0');
    status = U_ZERO_ERROR;
    length = getter(text.data(), length, &status);
  }
  if (U_FAILURE(status) || length < 0) return std::nullopt;
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::u16string NumberText(long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace lx::platform
