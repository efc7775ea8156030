// The system's side of the locale services: default locales, the thread
// locale, the ANSI code page, what is installed, and the metrics that say
// whether right-to-left and double-byte support are on.
//
// All of it is read from one `SystemDescription`. By default that is built
// from the environment the first time it is needed (LC_ALL, else LC_MESSAGES,
// else LANG, e.g. "de_AT.UTF-8" -> German (Austria)); a test replaces the whole
// description with `ScopedSystemDescription`, so nothing depends on the machine.
// Single-threaded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/LocaleIds.h"

namespace lx::platform {

/// Everything the locale services ask of the system.
struct SystemDescription {
  Lcid userDefaultLcid = kEnglishUnitedStates;
  Lcid systemDefaultLcid = kEnglishUnitedStates;
  Lcid threadLocale = kEnglishUnitedStates;
  std::uint32_t ansiCodePage = 1252;
  /// Reported by `InstalledCodePageTexts`, in this order.
  std::vector<std::uint32_t> installedCodePages;
  /// Reported by `SupportedLocaleTexts`, in this order.
  std::vector<Lcid> installedLocales;
  /// Right-to-left (Hebrew, Arabic) support is enabled.
  bool middleEastEnabled = false;
  /// The system runs a double-byte ANSI code page.
  bool dbcsEnabled = false;
};

/// A system whose user, system and thread locale are all lcid: its ANSI code page
/// (1252 for a Unicode-only locale), every candidate code page ICU can convert
/// (the ANSI, OEM and UTF-8 pages), every locale of `IcuSupportedLcids`, middle-east
/// support for the code pages 1255 and 1256 and double-byte support for 932, 936,
/// 949, 950 and 1361.
SystemDescription SystemDescriptionFor(Lcid lcid);

/// `SystemDescriptionFor` the locale of the first non-empty of LC_ALL, LC_MESSAGES
/// and LANG (`LcidOfPosixLocale`; none set means English (United States)).
SystemDescription SystemDescriptionFromEnvironment();

/// The description in force.
const SystemDescription& CurrentSystemDescription();

/// Puts a description in force for its lifetime and then restores the one before
/// (the thread locale included). Scopes nest.
class ScopedSystemDescription {
 public:
  explicit ScopedSystemDescription(SystemDescription description);
  ~ScopedSystemDescription();
  ScopedSystemDescription(const ScopedSystemDescription&) = delete;
  ScopedSystemDescription& operator=(const ScopedSystemDescription&) = delete;

 private:
  std::optional<SystemDescription> saved_;
  bool savedPending_;
};

Lcid UserDefaultLcid();
Lcid SystemDefaultLcid();
/// 0 and LOCALE_USER_DEFAULT (0x0400) give the user's default LCID,
/// LOCALE_SYSTEM_DEFAULT (0x0800) the system's; any other LCID stays as it is.
Lcid ResolveDefaultLcid(Lcid lcid);

Lcid ThreadLocale();
/// Sets the thread locale to lcid (after `ResolveDefaultLcid`); false, and nothing
/// changes, when the LCID is not known (`IsKnownLcid`).
bool SetThreadLocale(Lcid lcid);

/// The system's ANSI code page.
std::uint32_t AnsiCodePage();

/// The installed locales as the system enumerates them: eight upper-case
/// hexadecimal digits each ("00000C07").
std::vector<std::string> SupportedLocaleTexts();
/// The installed code pages as decimal texts ("1252"), leaving out those that
/// cannot be converted (`IsValidCodePage`).
std::vector<std::string> InstalledCodePageTexts();

/// Whether byte c, read in the ANSI code page of lcid (the system's for a
/// Unicode-only locale), is a right-to-left character (bidirectional class R or AL).
/// False for an unknown LCID and for a lead byte, which is no character on its own.
bool IsRightToLeftCharacter(Lcid lcid, char c);

/// The middle-east (right-to-left) system metric.
bool MiddleEastEnabled();
/// The double-byte system metric.
bool DbcsEnabled();
/// The platform counts as the NT family (always true).
bool IsPlatformNT();

}  // namespace lx::platform
