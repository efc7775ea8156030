// Date and time formats, calendar and week rules, day and month names of a
// locale, read from ICU's date formats and calendar.
#include <unicode/ucal.h>
#include <unicode/udat.h>

#include <cstring>
#include <memory>

#include "platform/DatePatterns.h"
#include "platform/internal/LocaleData.h"

namespace lx::platform {

namespace {

struct DateFormatCloser {
  void operator()(UDateFormat* format) const { udat_close(format); }
};
using DateFormatPtr = std::unique_ptr<UDateFormat, DateFormatCloser>;

struct CalendarCloser {
  void operator()(UCalendar* calendar) const { ucal_close(calendar); }
};
using CalendarPtr = std::unique_ptr<UCalendar, CalendarCloser>;

constexpr int kDaysPerWeek = 7;
constexpr int kMonthsPerYear = 12;

DateFormatPtr OpenDateFormat(const IcuLocale& locale, UDateFormatStyle time,
                             UDateFormatStyle date) {
  UErrorCode status = U_ZERO_ERROR;
  DateFormatPtr format(
      udat_open(time, date, locale.dataName.c_str(), nullptr, 0, nullptr, 0, &status));
  return U_SUCCESS(status) ? std::move(format) : nullptr;
}

// The Windows picture of one of the locale's ICU formats.
std::optional<std::u16string> Picture(const IcuLocale& locale, UDateFormatStyle time,
                                      UDateFormatStyle date) {
  const DateFormatPtr format = OpenDateFormat(locale, time, date);
  if (!format) return std::nullopt;
  auto pattern = IcuText([&](UChar* out, int32_t capacity, UErrorCode* status) {
    return udat_toPattern(format.get(), false, out, capacity, status);
  });
  return pattern ? std::optional(WindowsDatePattern(*pattern)) : std::nullopt;
}

std::optional<std::u16string> ShortDate(const IcuLocale& locale) {
  return Picture(locale, UDAT_NONE, UDAT_SHORT);
}

std::optional<std::u16string> Time(const IcuLocale& locale) {
  return Picture(locale, UDAT_MEDIUM, UDAT_NONE);
}

std::optional<std::u16string> DateSymbol(const IcuLocale& locale, UDateFormatSymbolType type,
                                         int32_t index) {
  const DateFormatPtr format = OpenDateFormat(locale, UDAT_SHORT, UDAT_SHORT);
  if (!format) return std::nullopt;
  return IcuText([&](UChar* out, int32_t capacity, UErrorCode* status) {
    return udat_getSymbols(format.get(), type, index, out, capacity, status);
  });
}

// Day 1 is Monday; ICU counts from Sunday = 1.
std::optional<std::u16string> DayName(const IcuLocale& locale, LcType first, LcType type,
                                      UDateFormatSymbolType symbols) {
  const int day = static_cast<int>(type - first) + 1;
  return DateSymbol(locale, symbols, day % kDaysPerWeek + 1);
}

std::optional<std::u16string> MonthName(const IcuLocale& locale, LcType first, LcType type,
                                        UDateFormatSymbolType symbols) {
  return DateSymbol(locale, symbols, static_cast<int32_t>(type - first));
}

bool InRange(LcType type, LcType first, int count) {
  return type >= first && type < first + static_cast<LcType>(count);
}

std::optional<std::u16string> NameOfDayOrMonth(const IcuLocale& locale, LcType type) {
  if (InRange(type, LOCALE_SDAYNAME1, kDaysPerWeek)) {
    return DayName(locale, LOCALE_SDAYNAME1, type, UDAT_STANDALONE_WEEKDAYS);
  }
  if (InRange(type, LOCALE_SABBREVDAYNAME1, kDaysPerWeek)) {
    return DayName(locale, LOCALE_SABBREVDAYNAME1, type, UDAT_STANDALONE_SHORT_WEEKDAYS);
  }
  if (InRange(type, LOCALE_SMONTHNAME1, kMonthsPerYear)) {
    return MonthName(locale, LOCALE_SMONTHNAME1, type, UDAT_STANDALONE_MONTHS);
  }
  if (InRange(type, LOCALE_SABBREVMONTHNAME1, kMonthsPerYear)) {
    return MonthName(locale, LOCALE_SABBREVMONTHNAME1, type, UDAT_STANDALONE_SHORT_MONTHS);
  }
  return std::nullopt;
}

int WindowsCalendarType(const char* icuType) {
  struct Entry {
    const char* icuType;
    int windowsType;
  };
  static constexpr Entry kCalendars[] = {{"japanese", 3},
                                         {"roc", 4},
                                         {"dangi", 5},
                                         {"islamic", 6},
                                         {"islamic-civil", 6},
                                         {"islamic-tbla", 6},
                                         {"islamic-rgsa", 6},
                                         {"buddhist", 7},
                                         {"hebrew", 8},
                                         {"persian", 22},
                                         {"islamic-umalqura", 23}};
  for (const Entry& entry : kCalendars) {
    if (std::strcmp(entry.icuType, icuType) == 0) return entry.windowsType;
  }
  return 1;
}

// Windows: 0 the week of January 1, 1 the first full week, 2 the first week of four days.
int FirstWeekCode(int32_t minimalDays) {
  if (minimalDays >= kDaysPerWeek) return 1;
  return minimalDays >= 4 ? 2 : 0;
}

std::optional<std::u16string> CalendarValue(const IcuLocale& locale, LcType type) {
  UErrorCode status = U_ZERO_ERROR;
  const CalendarPtr calendar(ucal_open(nullptr, 0, locale.dataName.c_str(), UCAL_DEFAULT, &status));
  if (U_FAILURE(status)) return std::nullopt;
  const int calendarType = WindowsCalendarType(ucal_getType(calendar.get(), &status));
  switch (type) {
    case LOCALE_ICALENDARTYPE:
      return NumberText(calendarType);
    case LOCALE_IOPTIONALCALENDAR:
      return NumberText(calendarType == 1 ? 0 : 1);
    case LOCALE_IFIRSTDAYOFWEEK:
      // ICU: Sunday 1 .. Saturday 7; Windows: Monday 0 .. Sunday 6.
      return NumberText((ucal_getAttribute(calendar.get(), UCAL_FIRST_DAY_OF_WEEK) + 5) %
                        kDaysPerWeek);
    default:
      return NumberText(
          FirstWeekCode(ucal_getAttribute(calendar.get(), UCAL_MINIMAL_DAYS_IN_FIRST_WEEK)));
  }
}

std::optional<std::u16string> TimeCode(const IcuLocale& locale, LcType type) {
  auto time = Time(locale);
  if (!time) return std::nullopt;
  const TimeStyle style = TimeStyleOf(*time);
  if (type == LOCALE_ITIME) return NumberText(style.twentyFourHour ? 1 : 0);
  if (type == LOCALE_ITLZERO) return NumberText(style.hourLeadingZero ? 1 : 0);
  return NumberText(style.markBeforeTime ? 1 : 0);
}

}  // namespace

std::optional<std::u16string> DateValue(const IcuLocale& locale, LcType type) {
  switch (type) {
    case LOCALE_SSHORTDATE:
      return ShortDate(locale);
    case LOCALE_SLONGDATE:
      return Picture(locale, UDAT_NONE, UDAT_FULL);
    case LOCALE_STIMEFORMAT:
      return Time(locale);
    case LOCALE_SDATE: {
      auto shortDate = ShortDate(locale);
      return shortDate ? std::optional(DateSeparatorOf(*shortDate)) : std::nullopt;
    }
    case LOCALE_STIME: {
      auto time = Time(locale);
      return time ? std::optional(TimeSeparatorOf(*time)) : std::nullopt;
    }
    case LOCALE_ITIME:
    case LOCALE_ITLZERO:
    case LOCALE_ITIMEMARKPOSN:
      return TimeCode(locale, type);
    case LOCALE_S1159:
      return DateSymbol(locale, UDAT_AM_PMS, 0);
    case LOCALE_S2359:
      return DateSymbol(locale, UDAT_AM_PMS, 1);
    case LOCALE_ICALENDARTYPE:
    case LOCALE_IOPTIONALCALENDAR:
    case LOCALE_IFIRSTDAYOFWEEK:
    case LOCALE_IFIRSTWEEKOFYEAR:
      return CalendarValue(locale, type);
    default:
      return NameOfDayOrMonth(locale, type);
  }
}

}  // namespace lx::platform
