#include "lang/LxLanguageIds.h"

#include <algorithm>

namespace lx::lang {

namespace {

constexpr int kArabic = 1;
constexpr int kChinese = 4;
constexpr int kHebrew = 13;
constexpr int kJapanese = 17;
constexpr int kKorean = 18;
constexpr int kFarsi = 41;

}  // namespace

int ScriptClassOf(int lcid) {
  switch (PRIMARYLANGID(lcid)) {
    case kArabic:
    case kHebrew:
    case kFarsi:
      return kLxScriptRightToLeft;
    case kChinese:
    case kJapanese:
    case kKorean:
      return kLxScriptFarEast;
    default:
      return kLxScriptWestern;
  }
}

bool IsWesternLanguage(int primaryLanguage) {
  return std::ranges::find(WesternLanguages, primaryLanguage) != WesternLanguages.end();
}

}  // namespace lx::lang
