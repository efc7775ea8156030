#include "lang/LxPlurals.h"

#include "lang/LxDictionaries.h"
#include "lang/LxDictionary.h"
#include "lang/LxParser.h"
#include "platform/CodePages.h"
#include "platform/PluralRules.h"
#include "platform/SystemLocale.h"

namespace lx::lang {

namespace {

// The keyed variant, else the word's first one.
bool FindVariant(TLxDictionary* dictionary, const std::string& word, const std::string& context,
                 const std::string& id, const std::string& keyword, std::string& value) {
  if (dictionary->TranslateVariant(word, context, id, keyword, value)) return true;
  return (!context.empty() || !id.empty()) &&
         dictionary->TranslateVariant(word, "", "", keyword, value);
}

bool NativeActive(const TLxDictionary* dictionary) {
  return dictionary == nullptr || dictionary->ActiveLanguageIndex() <= 0;
}

int LocaleOf(const TLxDictionary* dictionary) {
  if (dictionary != nullptr && dictionary->LanguageLocaleId() != 0) {
    return dictionary->LanguageLocaleId();
  }
  return static_cast<int>(platform::UserDefaultLcid());
}

int CodePageOf(const TLxDictionary* dictionary) {
  if (!NativeActive(dictionary) && dictionary->CurrentLanguage().CodePage != 0) {
    return dictionary->CurrentLanguage().CodePage;
  }
  return static_cast<int>(platform::AnsiCodePage());
}

}  // namespace

std::string FormatPluralText(const std::string& text, std::int64_t count, int lcid, int codePage) {
  static constexpr std::string_view kPlaceholder = "%d";
  auto at = text.find(kPlaceholder);
  if (at == std::string::npos) return text;
  const std::string number =
      WideToAnsi(platform::FormatCount(static_cast<platform::Lcid>(lcid), count), codePage);
  std::string result;
  std::size_t from = 0;
  for (; at != std::string::npos; at = text.find(kPlaceholder, from)) {
    result.append(text, from, at - from).append(number);
    from = at + kPlaceholder.size();
  }
  return result.append(text, from);
}

std::string TranslatePluralWith(TLxDictionary* dictionary, const std::string& singular,
                                const std::string& plural, std::int64_t count,
                                const std::string& context, const std::string& id) {
  const std::string& native = count == 1 ? singular : plural;
  std::string value;
  bool found = false;
  if (!NativeActive(dictionary) && !singular.empty()) {
    const std::string category =
        platform::PluralCategory(static_cast<platform::Lcid>(LocaleOf(dictionary)), count);
    found = FindVariant(dictionary, singular, context, id, category, value);
  }
  const std::string text =
      NativeActive(dictionary) ? native : ApplyMissingTranslation(dictionary, native, value, found);
  return FormatPluralText(text, count, LocaleOf(dictionary), CodePageOf(dictionary));
}

std::string TranslatePlural(const std::string& singular, const std::string& plural,
                            std::int64_t count) {
  return TranslatePluralWith(DefaultDictionary(), singular, plural, count);
}

std::string TranslateChoiceWith(TLxDictionary* dictionary, const std::string& text,
                                const std::string& keyword, const std::string& context,
                                const std::string& id) {
  if (dictionary == nullptr || text.empty()) return text;
  std::string value;
  if ((FindVariant(dictionary, text, context, id, keyword, value) ||
       FindVariant(dictionary, text, context, id, "other", value)) &&
      !value.empty()) {
    return value;
  }
  return TranslateWith(dictionary, text);
}

std::string TranslateChoice(const std::string& text, const std::string& keyword) {
  return TranslateChoiceWith(DefaultDictionary(), text, keyword);
}

std::string LoadResPlural(const framework::TResStringRec& record, std::int64_t count) {
  const std::string singular = framework::DefaultLoadResString(record);
  if (record.Identifier > framework::kMaxStringTableIdentifier) {
    return TranslatePluralWith(DefaultDictionary(), singular, singular, count);
  }
  const auto identifier = static_cast<unsigned>(record.Identifier);
  std::string plural = framework::LoadPluralStr(record.Module, identifier);
  if (plural.empty()) plural = singular;
  return TranslatePluralWith(DefaultDictionary(), singular, plural, count, {},
                             std::to_string(identifier));
}

}  // namespace lx::lang
