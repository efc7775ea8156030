// The run-time's process-wide format settings: how dates, times, numbers and
// currency amounts are turned into text. The engine switches them when a
// dictionary changes its locale; the application frame fixes two of them at
// start-up.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/LocaleIds.h"

namespace lx::framework {

struct TFormatSettings {
  std::string CurrencyString = "$";
  std::uint8_t CurrencyFormat = 0;
  std::uint8_t NegCurrFormat = 0;
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  std::uint8_t CurrencyDecimals = 2;
  char DateSeparator = '/';
  std::string ShortDateFormat = "M/d/yyyy";
  std::string LongDateFormat = "dddd, MMMM d, yyyy";
  char TimeSeparator = ':';
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::string ShortTimeFormat = "h:mm AMPM";
  std::string LongTimeFormat = "h:mm:ss AMPM";
  /// Index 0 is January.
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
  /// Index 0 is Sunday, as in the run-time's own arrays.
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
  char ListSeparator = ',';
  /// The code page the texts above are in: that of the locale they came from. A window in
  /// another code page converts them before it shows them.
  std::uint32_t CodePage = 1252;
};

/// The settings a locale gives, as the run-time derives them at start-up
/// (times follow the locale's clock style: "h:mm AMPM", "hh:mm:ss", ...).
TFormatSettings GetLocaleFormatSettings(platform::Lcid lcid);

/// The settings in force for the whole process; taken from the user's
/// default locale on first use.
TFormatSettings& FormatSettings();

}  // namespace lx::framework
