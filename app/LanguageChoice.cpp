#include "app/LanguageChoice.h"

#include "lang/LxParser.h"
#include "platform/TextUtils.h"

namespace lx::app {

namespace {

constexpr int kUtf8 = 65001;

int Count(lang::TLxDictionary* dictionary) {
  return dictionary == nullptr ? 1 : dictionary->GetLanguageCount();
}

}  // namespace

std::string EnglishNameAt(lang::TLxDictionary* dictionary, int position) {
  if (position == 0 || dictionary == nullptr) return kDesignLanguage;
  return dictionary->LanguageAt(position).EnglishName;
}

std::string OwnNameAt(lang::TLxDictionary* dictionary, int position) {
  if (position == 0 || dictionary == nullptr) return kDesignLanguage;
  const lang::TLxLanguage& language = dictionary->LanguageAt(position);
  if (language.NativeName.empty()) return language.EnglishName;
  return lang::WideToAnsi(lang::AnsiToWide(language.NativeName, language.CodePage), kUtf8);
}

std::optional<int> FindLanguageChoice(lang::TLxDictionary* dictionary, std::string_view text) {
  const std::optional<std::int32_t> number = platform::TryStrToInt(text);
  if (number) {
    // -1 and -2 stand for the user's and the system's language, as in the settings file.
    const bool standIn = dictionary != nullptr && (*number == -1 || *number == -2);
    if (standIn || (*number >= 0 && *number < Count(dictionary))) return *number;
    return std::nullopt;
  }
  if (platform::SameTextAscii(text, "Native")) return 0;
  for (int position = 0; position < Count(dictionary); ++position) {
    if (platform::SameTextAscii(text, EnglishNameAt(dictionary, position)) ||
        platform::SameTextAscii(text, OwnNameAt(dictionary, position)))
      return position;
  }
  return std::nullopt;
}

std::string LanguageChoices(lang::TLxDictionary* dictionary) {
  std::string list;
  for (int position = 0; position < Count(dictionary); ++position) {
    const std::string english = EnglishNameAt(dictionary, position);
    const std::string own = OwnNameAt(dictionary, position);
    list += "  " + std::to_string(position) + "  " + english;
    if (own != english) list += " (" + own + ")";
    list += "\n";
  }
  return list;
}

}  // namespace lx::app
