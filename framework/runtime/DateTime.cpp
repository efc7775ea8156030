#include "framework/runtime/DateTime.h"

#include <cmath>
#include <cstdio>

#include "platform/Exception.h"
#include "platform/TextUtils.h"

namespace lx::framework {

namespace {

constexpr std::int64_t kMsPerDay = 86400000;
// Days from 0000-03-01 (proleptic Gregorian) to 1899-12-30.
constexpr std::int64_t kEpochShift = 693899;

std::int64_t DaysFromCivil(int year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - kEpochShift;
}

void CivilFromDays(std::int64_t days, TDateParts& parts) {
  days += kEpochShift;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  parts.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  parts.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  parts.year = static_cast<int>(yearOfEra + era * 400 + (parts.month <= 2));
}

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

char LowerLetter(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 'a' - 'A') : c;
}

std::string Padded(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

// Walks a format once; nested formats (c, ddddd, t, ...) recurse a little.
class DateTimeFormatter {
 public:
  DateTimeFormatter(const TDateParts& parts, bool hasTime, const TFormatSettings& settings)
      : parts_(parts), hasTime_(hasTime), settings_(settings) {}

  void Append(std::string_view format, int depth);
  std::string Result() && { return std::move(result_); }

 private:
  // Consumes the run of `c` at the start of `format` and returns its length.
  static int TakeRun(std::string_view& format, char c);
  static bool UsesTwelveHourClock(std::string_view rest);
  bool AppendMarker(std::string_view& format);
  void AppendDay(int count, int depth);
  void AppendMonthOrMinute(int count);
  void AppendHour(int count, std::string_view rest);

  const TDateParts& parts_;
  bool hasTime_;
  const TFormatSettings& settings_;
  std::string result_;
  char lastLetter_ = 0;           // "m" right after an hour means minutes
  bool twelveHourClock_ = false;  // a marker before the hour counts too
};

int DateTimeFormatter::TakeRun(std::string_view& format, char c) {
  int count = 0;
  while (!format.empty() && LowerLetter(format.front()) == c) {
    format.remove_prefix(1);
    ++count;
  }
  return count;
}

// An hour is on the 12-hour clock when the next "a" outside quotes, before any
// further hour, starts a marker.
bool DateTimeFormatter::UsesTwelveHourClock(std::string_view rest) {
  bool quoted = false;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    const char c = LowerLetter(rest[i]);
    if (rest[i] == '"' || rest[i] == '\'') quoted = !quoted;
    if (quoted) continue;
    if (c == 'h') return false;
    if (c == 'a') {
      const std::string upper = platform::UpperCaseAscii(rest.substr(i, 5));
      return upper.starts_with("AM/PM") || upper.starts_with("A/P") || upper.starts_with("AMPM");
    }
  }
  return false;
}

// Handles am/pm, a/p and ampm; false when the "a" starts none of them.
bool DateTimeFormatter::AppendMarker(std::string_view& format) {
  const bool pm = parts_.hour >= 12;
  const std::string upper = platform::UpperCaseAscii(format.substr(0, 5));
  if (upper.starts_with("AM/PM")) {
    const std::string_view marker = format.substr(pm ? 3 : 0, 2);
    result_ += marker;
    format.remove_prefix(5);
  } else if (upper.starts_with("A/P")) {
    result_ += format[pm ? 2 : 0];
    format.remove_prefix(3);
  } else if (upper.starts_with("AMPM")) {
    result_ += pm ? settings_.TimePMString : settings_.TimeAMString;
    format.remove_prefix(4);
  } else {
    return false;
  }
  twelveHourClock_ = true;
  return true;
}

void DateTimeFormatter::AppendDay(int count, int depth) {
  switch (count) {
    case 1:
      result_ += std::to_string(parts_.day);
      break;
    case 2:
      result_ += Padded(parts_.day, 2);
      break;
    case 3:
      result_ += settings_.ShortDayNames[parts_.dayOfWeek - 1];
      break;
    case 4:
      result_ += settings_.LongDayNames[parts_.dayOfWeek - 1];
      break;
    case 5:
      Append(settings_.ShortDateFormat, depth + 1);
      break;
    default:
      Append(settings_.LongDateFormat, depth + 1);
      break;
  }
}

void DateTimeFormatter::AppendMonthOrMinute(int count) {
  if (lastLetter_ == 'h') {
    result_ += count == 1 ? std::to_string(parts_.minute) : Padded(parts_.minute, 2);
    return;
  }
  switch (count) {
    case 1:
      result_ += std::to_string(parts_.month);
      break;
    case 2:
      result_ += Padded(parts_.month, 2);
      break;
    case 3:
      result_ += settings_.ShortMonthNames[parts_.month - 1];
      break;
    default:
      result_ += settings_.LongMonthNames[parts_.month - 1];
      break;
  }
}

void DateTimeFormatter::AppendHour(int count, std::string_view rest) {
  int hour = parts_.hour;
  if (twelveHourClock_ || UsesTwelveHourClock(rest)) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  result_ += count == 1 ? std::to_string(hour) : Padded(hour, 2);
}

void DateTimeFormatter::Append(std::string_view format, int depth) {
  if (depth > 2) return;  // a format naming itself must not recurse for ever
  while (!format.empty()) {
    const char c = LowerLetter(format.front());
    const char previousLetter = lastLetter_;
    if (c >= 'a' && c <= 'z') lastLetter_ = c;
    if (c == 'a' && AppendMarker(format)) continue;
    switch (c) {
      case 'c':
        format.remove_prefix(1);
        Append(settings_.ShortDateFormat, depth + 1);
        if (hasTime_) {
          result_ += ' ';
          Append(settings_.LongTimeFormat, depth + 1);
        }
        break;
      case 'd':
        AppendDay(TakeRun(format, 'd'), depth);
        break;
      case 'm':
        lastLetter_ = previousLetter;
        AppendMonthOrMinute(TakeRun(format, 'm'));
        lastLetter_ = 'm';
        break;
      case 'y':
        result_ +=
            TakeRun(format, 'y') <= 2 ? Padded(parts_.year % 100, 2) : Padded(parts_.year, 4);
        break;
      case 'e':
        TakeRun(format, 'e');
        result_ += std::to_string(parts_.year);
        break;
      case 'g':
        TakeRun(format, 'g');  // the Gregorian calendar shows no era
        break;
      case 'h': {
        const int count = TakeRun(format, 'h');
        AppendHour(count, format);
        break;
      }
      case 'n':
        result_ +=
            TakeRun(format, 'n') == 1 ? std::to_string(parts_.minute) : Padded(parts_.minute, 2);
        break;
      case 's':
        result_ +=
            TakeRun(format, 's') == 1 ? std::to_string(parts_.second) : Padded(parts_.second, 2);
        break;
      case 'z':
        result_ += TakeRun(format, 'z') < 3 ? std::to_string(parts_.millisecond)
                                            : Padded(parts_.millisecond, 3);
        break;
      case 't':
        Append(TakeRun(format, 't') == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat,
               depth + 1);
        break;
      case '/':
        format.remove_prefix(1);
        result_ += settings_.DateSeparator;
        break;
      case ':':
        format.remove_prefix(1);
        result_ += settings_.TimeSeparator;
        break;
      case '"':
      case '\'': {
        const char quote = format.front();
        const std::size_t close = format.find(quote, 1);
        result_ +=
            format.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        format.remove_prefix(close == std::string_view::npos ? format.size() : close + 1);
        break;
      }
      default:
        result_ += format.front();
        format.remove_prefix(1);
        break;
    }
  }
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    throw platform::EConvertError("Invalid argument to date encode");
  }
  return static_cast<TDateTime>(DaysFromCivil(year, month, day));
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999) {
    throw platform::EConvertError("Invalid argument to time encode");
  }
  const std::int64_t ms = ((hour * 60 + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<TDateTime>(ms) / kMsPerDay;
}

TDateParts DecodeDateTime(TDateTime value) {
  std::int64_t days = static_cast<std::int64_t>(std::trunc(value));
  std::int64_t ms = std::llround(std::fabs(value - std::trunc(value)) * kMsPerDay);
  if (ms >= kMsPerDay) {  // rounding reached the next midnight
    ms -= kMsPerDay;
    days += value < 0 ? -1 : 1;
  }
  TDateParts parts;
  CivilFromDays(days, parts);
  parts.hour = static_cast<int>(ms / 3600000);
  parts.minute = static_cast<int>(ms / 60000 % 60);
  parts.second = static_cast<int>(ms / 1000 % 60);
  parts.millisecond = static_cast<int>(ms % 1000);
  // 30 December 1899 was a Saturday.
  parts.dayOfWeek = static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;
  return parts;
}

std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings) {
  const TDateParts parts = DecodeDateTime(value);
  const bool hasTime = value != std::trunc(value);
  DateTimeFormatter formatter(parts, hasTime, settings);
  formatter.Append(format.empty() ? std::string_view("c") : format, 0);
  return std::move(formatter).Result();
}

}  // namespace lx::framework
