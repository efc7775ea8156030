#include "lang/LxLocaleVariables.h"

#include "framework/runtime/SysLocale.h"
#include "lang/LxLanguageIds.h"
#include "lang/LxRecords.h"
#include "platform/CodePages.h"
#include "platform/LocaleInfo.h"
#include "platform/SystemLocale.h"
#include "platform/TextUtils.h"

namespace lx::lang {

namespace {

constexpr int kEnglish = 9;

std::uint8_t ThreadLocaleNumber(platform::LcType type) {
  const std::string text = platform::GetLocaleInfo(platform::ThreadLocale(), type, "0");
  return static_cast<std::uint8_t>(platform::StrToIntDef(text, 0));
}

void AddLeadBytes(framework::TSysLocale& record, int codePage) {
  const auto info = platform::GetCodePageInfo(static_cast<platform::CodePage>(codePage));
  if (!info) return;
  for (const platform::ByteRange& range : info->leadByteRanges) {
    if (range.first == 0 && range.last == 0) break;
    for (unsigned byte = range.first; byte <= range.last; ++byte)
      record.LeadBytes.set(byte);
  }
}

bool HasRightToLeftCharacters(int lcid) {
  for (int byte = 128; byte <= 255; ++byte) {
    if (platform::IsRightToLeftCharacter(static_cast<platform::Lcid>(lcid),
                                         static_cast<char>(byte)))
      return true;
  }
  return false;
}

}  // namespace

TLxLocaleValues StartupLocaleValues() {
  TLxLocaleValues values;
  const int user = static_cast<int>(platform::UserDefaultLcid());
  values.MeasurementSystem =
      PRIMARYLANGID(user) == kEnglish && (SUBLANGID(user) == 0 || SUBLANGID(user) == 1) ? 1 : 0;
  values.FirstDayOfWeek = ThreadLocaleNumber(platform::LOCALE_IFIRSTDAYOFWEEK);
  values.FirstWeekOfYear = ThreadLocaleNumber(platform::LOCALE_IFIRSTWEEKOFYEAR);
  return values;
}

TLxLocaleValues& LocaleValues() {
  static TLxLocaleValues values = StartupLocaleValues();
  return values;
}

int LocaleCodePage(int lcid) {
  const std::string text = platform::GetLocaleInfo(static_cast<platform::Lcid>(lcid),
                                                   platform::LOCALE_IDEFAULTANSICODEPAGE, "");
  if (const auto number = platform::TryStrToInt(text)) return *number;
  return static_cast<int>(platform::AnsiCodePage());
}

void InitSysLocaleFor(int lcid) {
  framework::TSysLocale record;
  if (lcid != 0) {
    record.DefaultLCID = static_cast<platform::Lcid>(lcid);
    if ((lcid & 0xFFFF) != 0) {
      record.PriLangID = PRIMARYLANGID(lcid);
      record.SubLangID = SUBLANGID(lcid);
    }
  }
  const int locale = static_cast<int>(record.DefaultLCID);
  if (platform::IsPlatformNT()) {
    if (!IsWesternLanguage(record.PriLangID)) {
      AddLeadBytes(record, LocaleCodePage(locale));
      record.FarEast = record.LeadBytes.any();
      record.MiddleEast = !record.FarEast && HasRightToLeftCharacters(locale);
    }
  } else {
    record.MiddleEast = platform::MiddleEastEnabled();
    record.FarEast = platform::DbcsEnabled();
    if (record.FarEast) AddLeadBytes(record, LocaleCodePage(locale));
  }
  framework::SysLocale() = record;
}

void BuildTimeFormats(const TLxLocale& locale, framework::TFormatSettings& settings) {
  const std::string hour = locale.HourLeadingZero ? "hh" : "h";
  std::string prefix;
  std::string suffix;
  if (locale.TimeFormat == 0) {
    if (locale.TimeMarkPosition == 0) suffix = " AMPM";
    if (locale.TimeMarkPosition == 1) prefix = "AMPM ";
  }
  settings.ShortTimeFormat = prefix + hour + ":mm" + suffix;
  settings.LongTimeFormat = prefix + hour + ":mm:ss" + suffix;
}

std::string WidenYear(const std::string& format) {
  if (format.find("yyyy") != std::string::npos) return format;
  std::string widened = format;
  // A format without a year has none to widen.
  if (const auto year = widened.find("yy"); year != std::string::npos) widened.insert(year, "yy");
  return widened;
}

}  // namespace lx::lang
