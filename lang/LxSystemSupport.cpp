#include "lang/LxSystemSupport.h"

#include <charconv>
#include <string>

#include "lang/LxRecords.h"
#include "platform/SystemLocale.h"
#include "platform/TextUtils.h"

namespace lx::lang {

namespace {

bool AlwaysSupported(int primaryLanguage) {
  return primaryLanguage == 0 || primaryLanguage == 9 || primaryLanguage == 33;
}

bool IsSystemAnsiCodePage(int codePage) {
  return codePage == static_cast<int>(platform::AnsiCodePage());
}

}  // namespace

bool IsCodePageSupported(int codePage) {
  if (codePage == 0) return true;
  for (const std::string& text : platform::InstalledCodePageTexts()) {
    if (platform::TryStrToInt(text) == codePage) return true;
  }
  return false;
}

bool LanguageSupportedBySystem(const TLxLanguage& language) {
  if (AlwaysSupported(language.PrimaryLanguage)) return true;
  return language.Flags.Contains(lfAnyCodePage) || IsCodePageSupported(language.CodePage);
}

bool LanguageSupportedByCodePage(const TLxLanguage& language) {
  if (AlwaysSupported(language.PrimaryLanguage)) return true;
  if (language.Flags.Contains(lfAnyCodePage) || language.CodePage == 0) return true;
  return IsSystemAnsiCodePage(language.CodePage);
}

bool LocaleSupportedByCodePage(const TLxLocale& locale) {
  if (AlwaysSupported(locale.PrimaryLanguage) || locale.CodePage == 0) return true;
  return IsSystemAnsiCodePage(locale.CodePage);
}

void AppendSystemLocales(std::vector<int>& lcids) {
  for (const std::string& text : platform::SupportedLocaleTexts()) {
    std::uint32_t lcid = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), lcid, 16);
    // A text that is not a whole hexadecimal number names no locale.
    if (error == std::errc() && end == text.data() + text.size()) {
      lcids.push_back(static_cast<int>(lcid));
    }
  }
}

}  // namespace lx::lang
