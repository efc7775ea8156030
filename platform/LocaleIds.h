// Windows locale ids (LCIDs) and their place in ICU's locale names.
//
// An LCID holds the language id in its low 16 bits (primary language in bits
// 0..9, sub-language in bits 10..15) and the sort id in bits 16..19. Which
// LCIDs exist, and which ICU locale each stands for, comes from ICU's own LCID
// table; this unit adds only the strictness Windows has (an LCID whose
// sub-language ICU would merely guess is unknown) and the reading of POSIX
// locale texts such as "de_AT.UTF-8".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lx::platform {

using Lcid = std::uint32_t;

/// Language-neutral: stands for the user's default locale in every query.
inline constexpr Lcid LOCALE_NEUTRAL = 0x0000;
/// The invariant locale (English, computer-neutral formats).
inline constexpr Lcid LOCALE_INVARIANT = 0x007F;
/// Stands for the user's default locale.
inline constexpr Lcid LOCALE_USER_DEFAULT = 0x0400;
/// Stands for the system's default locale.
inline constexpr Lcid LOCALE_SYSTEM_DEFAULT = 0x0800;
/// English (United States): what an unset or "C" environment means.
inline constexpr Lcid kEnglishUnitedStates = 0x0409;

/// The ICU locale name of an LCID ("de_AT", "zh_Hant_TW", "de_DE@collation=phonebook"),
/// or nullopt when ICU's table does not hold exactly this LCID. The stand-in ids
/// 0, 0x0400 and 0x0800 are not resolved here: they give nullopt (see
/// `ResolveDefaultLcid` in SystemLocale.h).
std::optional<std::string> IcuLocaleOfLcid(Lcid lcid);

/// True when `IcuLocaleOfLcid` knows the LCID.
bool IsKnownLcid(Lcid lcid);

/// The LCID that ICU's table gives for an ICU locale name; 0 when it has none.
/// ICU falls back to the language alone for unknown countries ("de_XX" -> 0x0007).
Lcid LcidOfIcuLocale(std::string_view icuLocale);

/// The LCID of a POSIX locale text as found in LANG or LC_ALL: "de_AT.UTF-8",
/// "sr_RS@latin" (the modifiers latin and cyrillic choose the script), or a
/// language alone ("de"), which takes its most likely country (German (Germany)).
/// "C", "POSIX", an empty text and anything that does not name a country-specific
/// locale ICU knows give English (United States), 0x0409.
Lcid LcidOfPosixLocale(std::string_view posixLocale);

/// Every country-specific LCID (sort id 0) of the locales ICU has data for, ascending.
/// This is what a system reports as its supported locales.
std::vector<Lcid> IcuSupportedLcids();

}  // namespace lx::platform
