#include "lang/LxLanguageNames.h"

namespace lx::lang {

namespace {

std::string KeepPiece(TLxDictionary*, const std::string& piece) {
  return piece;
}

TLxTranslatePieceFunc translatePiece = KeepPiece;

constexpr int kChinese = 4;
constexpr int kSpanish = 10;
constexpr int kKorean = 18;
constexpr int kNorwegian = 20;
constexpr int kSerbianCroatian = 26;
constexpr int kAzeri = 44;
constexpr int kUzbek = 67;

// The text before the first `delimiter`, untrimmed; the whole text when there is none.
std::string TextBefore(const std::string& text, char delimiter) {
  return text.substr(0, text.find(delimiter));
}

// What the system's name of a language is cut to.
std::string BaseText(const std::string& name, int primaryLanguage) {
  switch (primaryLanguage) {
    case kChinese:
    case kKorean:
      return TextBefore(name, '(');
    case kSpanish:
    case kNorwegian:
    case kSerbianCroatian:
    case kAzeri:
    case kUzbek:
      return TextBefore(name, ' ');
    default:
      return name;
  }
}

std::string LanguageVariant(int primaryLanguage, int codePage) {
  switch (primaryLanguage) {
    case kChinese:
      return codePage == 950 ? "Traditional" : codePage == 936 ? "Simplified" : "";
    case kKorean:
      return codePage == 1361 ? "Johab" : "";
    case kSerbianCroatian:
      return codePage == 1250 ? "Latin" : codePage == 1251 ? "Cyrillic" : "";
    case kAzeri:
    case kUzbek:
      return codePage == 1254 ? "Latin" : codePage == 1251 ? "Cyrillic" : "";
    default:
      return "";
  }
}

std::string LocaleVariant(int primaryLanguage, int subLanguage, int codePage) {
  switch (primaryLanguage) {
    case kChinese:
      return codePage == 0 ? "" : codePage == 950 ? "Traditional" : "Simplified";
    case kKorean:
      return codePage == 1361 ? "Johab" : "";
    case kSerbianCroatian:
      if (subLanguage == 1 || codePage == 0) return "";
      return codePage == 1251 ? "Cyrillic" : "Latin";
    case kAzeri:
    case kUzbek:
      return codePage == 0 ? "" : codePage == 1251 ? "Cyrillic" : "Latin";
    default:
      return "";
  }
}

std::string LocaleCountry(const std::string& countryName, int primaryLanguage, int subLanguage) {
  if (primaryLanguage == kKorean && subLanguage == 2) return "Johab";
  if (primaryLanguage == kNorwegian && subLanguage == 1) return "Bokmal";
  if (primaryLanguage == kNorwegian && subLanguage == 2) return "Nynorsk";
  return countryName;
}

std::string MaybeTranslated(const std::string& piece, TLxDictionary* dictionary, bool translate) {
  return translate ? TranslatePiece(dictionary, piece) : piece;
}

std::string WithVariant(const std::string& base, const std::string& variant,
                        TLxDictionary* dictionary, bool translate) {
  std::string result = MaybeTranslated(base, dictionary, translate);
  if (!variant.empty()) result += ", " + MaybeTranslated(variant, dictionary, translate);
  return result;
}

}  // namespace

TLxTranslatePieceFunc SetTranslatePieceHook(TLxTranslatePieceFunc translate) {
  const TLxTranslatePieceFunc previous = translatePiece;
  translatePiece = translate != nullptr ? translate : KeepPiece;
  return previous;
}

std::string TranslatePiece(TLxDictionary* dictionary, const std::string& piece) {
  return translatePiece(dictionary, piece);
}

std::string LanguageDisplayName(const std::string& name, int primaryLanguage, int codePage,
                                TLxDictionary* dictionary, bool translate) {
  return WithVariant(BaseText(name, primaryLanguage), LanguageVariant(primaryLanguage, codePage),
                     dictionary, translate);
}

std::string LocaleDisplayName(const std::string& languageName, const std::string& countryName,
                              int primaryLanguage, int subLanguage, int codePage,
                              TLxDictionary* dictionary, bool translate) {
  std::string result =
      WithVariant(BaseText(languageName, primaryLanguage),
                  LocaleVariant(primaryLanguage, subLanguage, codePage), dictionary, translate);
  if (subLanguage == 0) return result;
  const std::string country = LocaleCountry(countryName, primaryLanguage, subLanguage);
  return result + " (" + MaybeTranslated(country, dictionary, translate) + ")";
}

}  // namespace lx::lang
