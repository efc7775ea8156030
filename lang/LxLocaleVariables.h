// What a locale change writes into the process besides the thread locale: the
// run-time's system-locale record and format settings, and the engine-wide
// measurement and calendar values.
#pragma once

#include <cstdint>
#include <string>

#include "framework/runtime/FormatSettings.h"

namespace lx::lang {

class TLxLocale;

/// The engine-wide values that follow the active locale.
struct TLxLocaleValues {
  /// 0 metric, 1 U.S.
  std::uint8_t MeasurementSystem = 0;
  /// 0 Monday .. 6 Sunday.
  std::uint8_t FirstDayOfWeek = 0;
  std::uint8_t FirstWeekOfYear = 0;

  friend bool operator==(const TLxLocaleValues&, const TLxLocaleValues&) = default;
};

/// The values in force for the whole process; `StartupLocaleValues` on first use.
TLxLocaleValues& LocaleValues();

/// The values at start-up: U.S. measurement for a user whose default locale is English with
/// sub-language 0 or 1, else metric; first day and week from the thread locale.
TLxLocaleValues StartupLocaleValues();

/// Re-derives the run-time's system-locale record (framework/runtime/SysLocale.h) from lcid instead
/// of the thread locale: English (United States) for 0; lead bytes of the locale's code page
/// and a far-east or middle-east script, except for the primary languages written in a
/// Western script.
void InitSysLocaleFor(int lcid);

/// The ANSI code page the system names for lcid; the system's own when it names none.
int LocaleCodePage(int lcid);

/// Sets the short and long time formats from the locale's clock: "h" or "hh" for the hour,
/// ":mm" and ":mm:ss", and for a 12-hour clock "AMPM" before or after the time.
void BuildTimeFormats(const TLxLocale& locale, framework::TFormatSettings& settings);

/// A date format with a two-digit year "yy" made four-digit; a format that holds "yyyy"
/// already, or no "yy" at all, comes back unchanged.
std::string WidenYear(const std::string& format);

}  // namespace lx::lang
