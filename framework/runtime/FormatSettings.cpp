#include "framework/runtime/FormatSettings.h"

#include "platform/LocaleInfo.h"
#include "platform/SystemLocale.h"
#include "platform/TextUtils.h"

namespace lx::framework {

namespace {

using platform::GetLocaleInfo;
using platform::Lcid;

std::string Text(Lcid lcid, platform::LcType type, const std::string& fallback) {
  return GetLocaleInfo(lcid, type, fallback);
}

char FirstChar(Lcid lcid, platform::LcType type, char fallback) {
  const std::string text = GetLocaleInfo(lcid, type, std::string(1, fallback));
  return text.empty() ? fallback : text.front();
}

std::uint8_t Number(Lcid lcid, platform::LcType type, std::uint8_t fallback) {
  return static_cast<std::uint8_t>(
      platform::StrToIntDef(GetLocaleInfo(lcid, type, std::to_string(fallback)), fallback));
}

void TakeNames(TFormatSettings& settings, Lcid lcid) {
  for (int month = 0; month < 12; ++month) {
    settings.ShortMonthNames[month] =
        Text(lcid, platform::LOCALE_SABBREVMONTHNAME1 + month, settings.ShortMonthNames[month]);
    settings.LongMonthNames[month] =
        Text(lcid, platform::LOCALE_SMONTHNAME1 + month, settings.LongMonthNames[month]);
  }
  // The locale counts days from Monday; the run-time's arrays from Sunday.
  for (int day = 0; day < 7; ++day) {
    const int index = (day + 1) % 7;
    settings.ShortDayNames[index] =
        Text(lcid, platform::LOCALE_SABBREVDAYNAME1 + day, settings.ShortDayNames[index]);
    settings.LongDayNames[index] =
        Text(lcid, platform::LOCALE_SDAYNAME1 + day, settings.LongDayNames[index]);
  }
}

void TakeTimeFormats(TFormatSettings& settings, Lcid lcid) {
  const std::string hour = Number(lcid, platform::LOCALE_ITLZERO, 0) != 0 ? "hh" : "h";
  std::string prefix;
  std::string suffix;
  if (Number(lcid, platform::LOCALE_ITIME, 0) == 0) {  // 12-hour clock
    if (Number(lcid, platform::LOCALE_ITIMEMARKPOSN, 0) == 0) {
      suffix = " AMPM";
    } else {
      prefix = "AMPM ";
    }
  }
  settings.ShortTimeFormat = prefix + hour + ":mm" + suffix;
  settings.LongTimeFormat = prefix + hour + ":mm:ss" + suffix;
}

}  // namespace

TFormatSettings GetLocaleFormatSettings(Lcid lcid) {
  TFormatSettings settings;
  // The code page of the locale's 8-bit answers: its own, the system's for a Unicode-only one.
  const std::uint32_t localePage = platform::LocaleAnsiCodePage(lcid);
  settings.CodePage = localePage != 0 ? localePage : platform::AnsiCodePage();
  settings.CurrencyString = Text(lcid, platform::LOCALE_SCURRENCY, settings.CurrencyString);
  settings.CurrencyFormat = Number(lcid, platform::LOCALE_ICURRENCY, settings.CurrencyFormat);
  settings.NegCurrFormat = Number(lcid, platform::LOCALE_INEGCURR, settings.NegCurrFormat);
  settings.CurrencyDecimals = Number(lcid, platform::LOCALE_ICURRDIGITS, settings.CurrencyDecimals);
  settings.ThousandSeparator =
      FirstChar(lcid, platform::LOCALE_STHOUSAND, settings.ThousandSeparator);
  settings.DecimalSeparator = FirstChar(lcid, platform::LOCALE_SDECIMAL, settings.DecimalSeparator);
  settings.DateSeparator = FirstChar(lcid, platform::LOCALE_SDATE, settings.DateSeparator);
  settings.ShortDateFormat = Text(lcid, platform::LOCALE_SSHORTDATE, settings.ShortDateFormat);
  settings.LongDateFormat = Text(lcid, platform::LOCALE_SLONGDATE, settings.LongDateFormat);
  settings.TimeSeparator = FirstChar(lcid, platform::LOCALE_STIME, settings.TimeSeparator);
  settings.TimeAMString = Text(lcid, platform::LOCALE_S1159, settings.TimeAMString);
  settings.TimePMString = Text(lcid, platform::LOCALE_S2359, settings.TimePMString);
  settings.ListSeparator = FirstChar(lcid, platform::LOCALE_SLIST, settings.ListSeparator);
  TakeTimeFormats(settings, lcid);
  TakeNames(settings, lcid);
  return settings;
}

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = GetLocaleFormatSettings(platform::UserDefaultLcid());
  return settings;
}

}  // namespace lx::framework
