#include "platform/SystemLocale.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "platform/CodePages.h"
#include "platform/LocaleInfo.h"

namespace lx::platform {

namespace {

constexpr std::uint32_t kFallbackAnsiCodePage = 1252;

// What a system may have installed: the ANSI pages, the common OEM pages, UTF-8.
constexpr std::uint32_t kCandidateCodePages[] = {
    437, 850, 852, 855,  857,  860,  861,  862,  863,  864,  865,  866,  869,  874,   932,
    936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 1361, 20127, 65001};

std::optional<SystemDescription>& Current() {
  static std::optional<SystemDescription> description;
  return description;
}

// The environment's description lists its installed locales when first asked for them:
// ICU takes longer to name its locales than a program takes to show its first window.
bool& LocalesPending() {
  static bool pending = false;
  return pending;
}

bool Contains(std::initializer_list<std::uint32_t> values, std::uint32_t value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

std::string HexText(Lcid lcid) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", lcid);
  return text;
}

const char* FirstNonEmptyEnvironmentValue(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return "";
}

Lcid EnvironmentLcid() {
  return LcidOfPosixLocale(FirstNonEmptyEnvironmentValue({"LC_ALL", "LC_MESSAGES", "LANG"}));
}

SystemDescription DescriptionWithoutLocales(Lcid lcid) {
  SystemDescription description;
  description.userDefaultLcid = lcid;
  description.systemDefaultLcid = lcid;
  description.threadLocale = lcid;
  const std::uint32_t codePage = LocaleAnsiCodePage(lcid);
  description.ansiCodePage = codePage != 0 ? codePage : kFallbackAnsiCodePage;
  for (std::uint32_t candidate : kCandidateCodePages) {
    if (IsValidCodePage(candidate)) description.installedCodePages.push_back(candidate);
  }
  description.middleEastEnabled = Contains({1255, 1256}, description.ansiCodePage);
  description.dbcsEnabled = Contains({932, 936, 949, 950, 1361}, description.ansiCodePage);
  return description;
}

SystemDescription& MutableCurrent() {
  if (!Current()) {
    Current() = DescriptionWithoutLocales(EnvironmentLcid());
    LocalesPending() = true;
  }
  return *Current();
}

// The description in force, its installed locales perhaps not listed yet.
const SystemDescription& Base() {
  return MutableCurrent();
}

}  // namespace

SystemDescription SystemDescriptionFor(Lcid lcid) {
  SystemDescription description = DescriptionWithoutLocales(lcid);
  description.installedLocales = IcuSupportedLcids();
  return description;
}

SystemDescription SystemDescriptionFromEnvironment() {
  return SystemDescriptionFor(EnvironmentLcid());
}

const SystemDescription& CurrentSystemDescription() {
  SystemDescription& description = MutableCurrent();
  if (LocalesPending()) {
    description.installedLocales = IcuSupportedLcids();
    LocalesPending() = false;
  }
  return description;
}

ScopedSystemDescription::ScopedSystemDescription(SystemDescription description)
    : saved_(std::move(Current())), savedPending_(LocalesPending()) {
  Current() = std::move(description);
  LocalesPending() = false;
}

ScopedSystemDescription::~ScopedSystemDescription() {
  Current() = std::move(saved_);
  LocalesPending() = savedPending_;
}

Lcid UserDefaultLcid() {
  return Base().userDefaultLcid;
}

Lcid SystemDefaultLcid() {
  return Base().systemDefaultLcid;
}

Lcid ResolveDefaultLcid(Lcid lcid) {
  if (lcid == LOCALE_NEUTRAL || lcid == LOCALE_USER_DEFAULT) return UserDefaultLcid();
  if (lcid == LOCALE_SYSTEM_DEFAULT) return SystemDefaultLcid();
  return lcid;
}

Lcid ThreadLocale() {
  return Base().threadLocale;
}

bool SetThreadLocale(Lcid lcid) {
  const Lcid resolved = ResolveDefaultLcid(lcid);
  if (!IsKnownLcid(resolved)) return false;
  MutableCurrent().threadLocale = resolved;
  return true;
}

std::uint32_t AnsiCodePage() {
  return Base().ansiCodePage;
}

std::vector<std::string> SupportedLocaleTexts() {
  std::vector<std::string> texts;
  for (Lcid lcid : CurrentSystemDescription().installedLocales)
    texts.push_back(HexText(lcid));
  return texts;
}

std::vector<std::string> InstalledCodePageTexts() {
  std::vector<std::string> texts;
  for (std::uint32_t codePage : CurrentSystemDescription().installedCodePages) {
    if (IsValidCodePage(codePage)) texts.push_back(std::to_string(codePage));
  }
  return texts;
}

bool IsRightToLeftCharacter(Lcid lcid, char c) {
  const Lcid resolved = ResolveDefaultLcid(lcid);
  if (!IsKnownLcid(resolved)) return false;
  const std::uint32_t codePage = LocaleAnsiCodePage(resolved);
  const std::u16string decoded =
      MultiByteToWide(std::string_view(&c, 1), codePage != 0 ? codePage : AnsiCodePage());
  if (decoded.size() != 1) return false;
  const UCharDirection direction = u_charDirection(decoded.front());
  return direction == U_RIGHT_TO_LEFT || direction == U_RIGHT_TO_LEFT_ARABIC;
}

bool MiddleEastEnabled() {
  return Base().middleEastEnabled;
}

bool DbcsEnabled() {
  return Base().dbcsEnabled;
}

bool IsPlatformNT() {
  return true;
}

}  // namespace lx::platform
