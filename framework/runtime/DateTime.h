// Dates and times as the run-time counts them, and their conversion to text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/runtime/FormatSettings.h"

namespace lx::framework {

/// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

/// Raises EConvertError "Invalid argument to date encode" outside 1/1/1..31/12/9999.
TDateTime EncodeDate(int year, int month, int day);
/// Raises EConvertError "Invalid argument to time encode" outside 0:00:00.000..23:59:59.999.
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);

struct TDateParts {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  /// 1 is Sunday, 7 is Saturday.
  int dayOfWeek = 0;
};

TDateParts DecodeDateTime(TDateTime value);

/// Formats a date and time with the run-time's format specifiers (case does
/// not matter): c, d..dddddd, m..mmmm (minutes right after an hour), yy,
/// yyyy, h, hh, n, nn, s, ss, z, zzz, t, tt, am/pm, a/p, ampm, "/" for the
/// date separator, ":" for the time separator, and quoted literal text.
std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings = FormatSettings());

}  // namespace lx::framework
