// Locale information by LCID and LCTYPE, the way GetLocaleInfo answers it,
// read from ICU's locale data.
//
// Every query takes a default text, which is the answer when the LCID is not
// known (`IsKnownLcid`) or the LCTYPE is not one listed here; that is how a
// caller tells an unknown locale apart. A known value may be empty (a
// language-only locale has no country names). 0, LOCALE_USER_DEFAULT and
// LOCALE_SYSTEM_DEFAULT stand for the defaults of the system description
// (SystemLocale.h).
//
// Values follow Windows conventions: numbers are decimal texts, date and time
// formats are Windows pictures (DatePatterns.h), days count from Monday (day 1,
// first day of week 0). Where ICU's data and Windows usage differ, the values
// are what a Windows user expects: a four-digit year in the short date, Latin
// digits and their separators, a no-break space (U+00A0) for a narrow one as
// thousand separator, ";" as list separator where the decimal separator is ",".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/LocaleIds.h"

namespace lx::platform {

using LcType = std::uint32_t;

// Flags that may be or-ed into an LCTYPE.
/// Ignored: there are no user overrides.
inline constexpr LcType LOCALE_NOUSEROVERRIDE = 0x80000000;
/// The narrow answer is in the system's ANSI code page instead of the locale's.
inline constexpr LcType LOCALE_USE_CP_ACP = 0x40000000;

// Names and codes.
inline constexpr LcType LOCALE_SENGLANGUAGE = 0x1001;      // "German"
inline constexpr LcType LOCALE_SNATIVELANGNAME = 0x0004;   // "Deutsch"
inline constexpr LcType LOCALE_SABBREVLANGNAME = 0x0003;   // "DEA": classic code, else ISO 639-2
inline constexpr LcType LOCALE_SENGCOUNTRY = 0x1002;       // "Austria"
inline constexpr LcType LOCALE_SNATIVECTRYNAME = 0x0008;   // "Österreich"
inline constexpr LcType LOCALE_SCOUNTRY = 0x0006;          // in the user's default language
inline constexpr LcType LOCALE_SISO639LANGNAME = 0x0059;   // "de"
inline constexpr LcType LOCALE_SISO3166CTRYNAME = 0x005A;  // "AT"
inline constexpr LcType LOCALE_IDEFAULTANSICODEPAGE = 0x1004;  // "1252"; "0" = Unicode only

// Numbers and currency.
inline constexpr LcType LOCALE_SCURRENCY = 0x0014;    // "€"
inline constexpr LcType LOCALE_SINTLSYMBOL = 0x0015;  // "EUR"
/// Positive currency: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
inline constexpr LcType LOCALE_ICURRENCY = 0x001B;
/// Negative currency, 0..15: 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$",
/// 6 "1-$", 7 "1$-", 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $",
/// 14 "($ 1)", 15 "(1 $)".
inline constexpr LcType LOCALE_INEGCURR = 0x001C;
inline constexpr LcType LOCALE_ICURRDIGITS = 0x0019;
inline constexpr LcType LOCALE_STHOUSAND = 0x000F;
inline constexpr LcType LOCALE_SDECIMAL = 0x000E;
inline constexpr LcType LOCALE_SLIST = 0x000C;
/// 0 metric, 1 U.S.
inline constexpr LcType LOCALE_IMEASURE = 0x000D;

// Dates and times.
inline constexpr LcType LOCALE_SDATE = 0x001D;
inline constexpr LcType LOCALE_STIME = 0x001E;
inline constexpr LcType LOCALE_SSHORTDATE = 0x001F;   // "dd.MM.yyyy"
inline constexpr LcType LOCALE_SLONGDATE = 0x0020;    // "dddd, d. MMMM yyyy"
inline constexpr LcType LOCALE_STIMEFORMAT = 0x1003;  // "HH:mm:ss"
inline constexpr LcType LOCALE_S1159 = 0x0028;        // AM designator
inline constexpr LcType LOCALE_S2359 = 0x0029;        // PM designator
/// 1 when hours have a leading zero.
inline constexpr LcType LOCALE_ITLZERO = 0x0025;
/// 0 12-hour clock, 1 24-hour clock.
inline constexpr LcType LOCALE_ITIME = 0x0023;
/// 0 AM/PM after the time, 1 before it.
inline constexpr LcType LOCALE_ITIMEMARKPOSN = 0x1005;
/// 1 Gregorian, 3 Japanese era, 4 Taiwan, 5 Korean, 6 Hijri, 7 Thai Buddhist,
/// 8 Hebrew, 22 Persian, 23 Umm al-Qura.
inline constexpr LcType LOCALE_ICALENDARTYPE = 0x1009;
/// 1 (Gregorian) for a locale whose own calendar is another one, else 0.
inline constexpr LcType LOCALE_IOPTIONALCALENDAR = 0x100B;
/// 0 Monday .. 6 Sunday.
inline constexpr LcType LOCALE_IFIRSTDAYOFWEEK = 0x100C;
/// 0 the week of January 1, 1 the first full week, 2 the first week of four days.
inline constexpr LcType LOCALE_IFIRSTWEEKOFYEAR = 0x100D;

// Day names: 1 is Monday, 7 is Sunday.
inline constexpr LcType LOCALE_SDAYNAME1 = 0x002A;
inline constexpr LcType LOCALE_SDAYNAME2 = 0x002B;
inline constexpr LcType LOCALE_SDAYNAME3 = 0x002C;
inline constexpr LcType LOCALE_SDAYNAME4 = 0x002D;
inline constexpr LcType LOCALE_SDAYNAME5 = 0x002E;
inline constexpr LcType LOCALE_SDAYNAME6 = 0x002F;
inline constexpr LcType LOCALE_SDAYNAME7 = 0x0030;
inline constexpr LcType LOCALE_SABBREVDAYNAME1 = 0x0031;
inline constexpr LcType LOCALE_SABBREVDAYNAME2 = 0x0032;
inline constexpr LcType LOCALE_SABBREVDAYNAME3 = 0x0033;
inline constexpr LcType LOCALE_SABBREVDAYNAME4 = 0x0034;
inline constexpr LcType LOCALE_SABBREVDAYNAME5 = 0x0035;
inline constexpr LcType LOCALE_SABBREVDAYNAME6 = 0x0036;
inline constexpr LcType LOCALE_SABBREVDAYNAME7 = 0x0037;

// Month names (stand-alone forms), 1 is January.
inline constexpr LcType LOCALE_SMONTHNAME1 = 0x0038;
inline constexpr LcType LOCALE_SMONTHNAME2 = 0x0039;
inline constexpr LcType LOCALE_SMONTHNAME3 = 0x003A;
inline constexpr LcType LOCALE_SMONTHNAME4 = 0x003B;
inline constexpr LcType LOCALE_SMONTHNAME5 = 0x003C;
inline constexpr LcType LOCALE_SMONTHNAME6 = 0x003D;
inline constexpr LcType LOCALE_SMONTHNAME7 = 0x003E;
inline constexpr LcType LOCALE_SMONTHNAME8 = 0x003F;
inline constexpr LcType LOCALE_SMONTHNAME9 = 0x0040;
inline constexpr LcType LOCALE_SMONTHNAME10 = 0x0041;
inline constexpr LcType LOCALE_SMONTHNAME11 = 0x0042;
inline constexpr LcType LOCALE_SMONTHNAME12 = 0x0043;
inline constexpr LcType LOCALE_SABBREVMONTHNAME1 = 0x0044;
inline constexpr LcType LOCALE_SABBREVMONTHNAME2 = 0x0045;
inline constexpr LcType LOCALE_SABBREVMONTHNAME3 = 0x0046;
inline constexpr LcType LOCALE_SABBREVMONTHNAME4 = 0x0047;
inline constexpr LcType LOCALE_SABBREVMONTHNAME5 = 0x0048;
inline constexpr LcType LOCALE_SABBREVMONTHNAME6 = 0x0049;
inline constexpr LcType LOCALE_SABBREVMONTHNAME7 = 0x004A;
inline constexpr LcType LOCALE_SABBREVMONTHNAME8 = 0x004B;
inline constexpr LcType LOCALE_SABBREVMONTHNAME9 = 0x004C;
inline constexpr LcType LOCALE_SABBREVMONTHNAME10 = 0x004D;
inline constexpr LcType LOCALE_SABBREVMONTHNAME11 = 0x004E;
inline constexpr LcType LOCALE_SABBREVMONTHNAME12 = 0x004F;

/// The locale's font signature (FontSignature.h): 32 bytes, the eight 32-bit words
/// little-endian. The narrow answer holds the 32 bytes, the wide one 16 units.
inline constexpr LcType LOCALE_FONTSIGNATURE = 0x0058;

/// The value as 8-bit text in the locale's ANSI code page (the system's for a
/// Unicode-only locale, or with LOCALE_USE_CP_ACP); characters that code page
/// lacks become '?'. defaultText when the LCID or the LCTYPE is not known.
std::string GetLocaleInfo(Lcid lcid, LcType type, std::string_view defaultText);

/// The value as UTF-16 text; defaultText when the LCID or the LCTYPE is not known.
std::u16string GetLocaleInfoW(Lcid lcid, LcType type, std::u16string_view defaultText);

/// LOCALE_IDEFAULTANSICODEPAGE as a number: the Windows ANSI code page of the
/// locale's language and script (1252 Western, 1250 Central European, 1251
/// Cyrillic, 1253 Greek, 1254 Turkish and Latin Azeri/Uzbek, 1255 Hebrew, 1256
/// Arabic script, 1257 Baltic, 1258 Vietnamese, 874 Thai, 932 Japanese, 936
/// Simplified and 950 Traditional Chinese, 949 Korean). 0 for a Unicode-only locale
/// (Hindi, Georgian, ...) and for an unknown LCID.
std::uint32_t LocaleAnsiCodePage(Lcid lcid);

}  // namespace lx::platform
