// Language and locale ids the Windows way, and the little the engine knows of
// a language by its primary id alone: its reading-direction class and whether
// it is written in a Western script.
//
// A primary language id is 10 bits and a sub-language id 6 bits; a language
// id is primary | sub << 10 and a locale id (LCID) is language id | sort id
// << 16. Primary language 0 is a dictionary's own native language. The engine
// keeps every id as a 32-bit signed integer.
#pragma once

#include <array>

namespace lx::lang {

/// Stands for the user's default locale (neutral, sub-language 1).
inline constexpr int kLxUserDefaultLcid = 0x0400;
/// Stands for the system's default locale (neutral, sub-language 2).
inline constexpr int kLxSystemDefaultLcid = 0x0800;

/// Ids wider than their fields are cut to them, so that one part never spills into the other.
constexpr int MAKELANGID(int primary, int sub) {
  return ((sub & 0x3F) << 10) | (primary & 0x3FF);
}
constexpr int MAKELCID(int languageId, int sortId) {
  return ((sortId & 0xFFFF) << 16) | (languageId & 0xFFFF);
}
constexpr int PRIMARYLANGID(int id) {
  return id & 0x3FF;
}
constexpr int SUBLANGID(int id) {
  return (id >> 10) & 0x3F;
}

/// Reading-direction classes of `ScriptClassOf`.
inline constexpr int kLxScriptWestern = 0;
inline constexpr int kLxScriptFarEast = 1;
inline constexpr int kLxScriptRightToLeft = 2;

/// kLxScriptRightToLeft for Arabic, Hebrew and Farsi, kLxScriptFarEast for Chinese,
/// Japanese and Korean, kLxScriptWestern for every other primary language of lcid.
int ScriptClassOf(int lcid);

/// The primary languages written in a Western script: no lead bytes and no
/// right-to-left characters to look for.
inline constexpr std::array<int, 12> WesternLanguages{0, 6, 7, 9, 10, 11, 12, 16, 19, 20, 22, 29};

bool IsWesternLanguage(int primaryLanguage);

}  // namespace lx::lang
