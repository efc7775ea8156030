// ICU date and time patterns turned into the Windows picture form that the
// run-time formats use ("EEEE, d. MMMM y" -> "dddd, d. MMMM yyyy",
// "h:mm:ss a" -> "h:mm:ss tt"), and the facts the locale codes are read from.
#pragma once

#include <string>
#include <string_view>

namespace lx::platform {

/// The Windows picture of an ICU pattern:
/// - years (y, u, r, Y, any count) -> yyyy; months M/L -> M, MM, MMM, MMMM by count;
///   days d -> d/dd; weekdays E/c/e -> ddd, or dddd for the full name;
///   hours h/K -> h/hh, H/k -> H/HH; minutes m/mm; seconds s/ss; AM/PM a/b/B -> tt;
/// - eras, time zones, fractions of seconds and the rarer fields are dropped with
///   the blank that sets them apart;
/// - literal text stays; letters and non-ASCII characters in it are quoted the
///   Windows way ('de', '年', '' for a quote); bidirectional marks are dropped and
///   no-break spaces become plain blanks.
std::u16string WindowsDatePattern(std::u16string_view icuPattern);

/// The literal text between the first two date fields of a Windows picture
/// ("dd.MM.yyyy" -> "."); "/" when there is none.
std::u16string DateSeparatorOf(std::u16string_view windowsPattern);

/// The literal text between the hour field and the next field of a Windows picture
/// ("HH:mm:ss" -> ":"); ":" when there is none, or when that text begins with a blank or
/// a letter ("HH 'h' mm", "H時mm分").
std::u16string TimeSeparatorOf(std::u16string_view windowsPattern);

/// The clock of a Windows time picture.
struct TimeStyle {
  bool twentyFourHour = false;   // H rather than h
  bool hourLeadingZero = false;  // HH or hh
  bool markBeforeTime = false;   // tt before the hour
};
TimeStyle TimeStyleOf(std::u16string_view windowsPattern);

}  // namespace lx::platform
