// Whether the system can show a language or locale, and which locales it
// supports.
//
// English (primary 9), Indonesian (33) and a dictionary's native language
// (0) are written in plain Latin letters and always pass.
#pragma once

#include <vector>

namespace lx::lang {

class TLxLanguage;
class TLxLocale;

/// True for 0 (no particular code page) and for every code page the system has installed.
bool IsCodePageSupported(int codePage);

/// The system can convert the language's texts: its code page is installed (or it carries
/// lfAnyCodePage).
bool LanguageSupportedBySystem(const TLxLanguage& language);

/// The language's texts are in the system's ANSI code page, or in no particular one (code
/// page 0 or lfAnyCodePage).
bool LanguageSupportedByCodePage(const TLxLanguage& language);

/// The locale's texts are in the system's ANSI code page, or in no particular one.
bool LocaleSupportedByCodePage(const TLxLocale& locale);

/// Appends the LCIDs of the locales the system supports, in the system's order.
void AppendSystemLocales(std::vector<int>& lcids);

}  // namespace lx::lang
