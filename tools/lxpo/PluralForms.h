// gettext's "Plural-Forms" header: read, evaluated, and matched with a language's CLDR
// plural categories, so that msgstr[n] of a PO file goes into the dictionary as the
// variant of its category whatever order the file's expression gives the forms.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "lxpo/PoFile.h"
#include "pldimage/PldImage.h"

namespace lx::tools {

/// A template's plural forms: the two native ones, msgid for 1 and msgid_plural for every
/// other count, so that msgfmt checks it; msginit puts the language's own in their place.
inline constexpr std::string_view kTemplatePluralForms = "nplurals=2; plural=(n != 1);";

/// "nplurals=3; plural=(n==1 ? 0 : 1);" taken apart.
struct PluralFormsHeader {
  int count = 0;
  std::string expression;
};

/// Raises PoError "Plural-Forms \"<header>\": <what>" for a header that does not parse.
PluralFormsHeader ParsePluralForms(std::string_view header);

/// The value of a gettext plural expression (C operators on n) for `n`. Raises PoError
/// "plural expression \"<expression>\": <what>" for one that does not parse or divides by 0.
unsigned long EvaluatePluralExpression(std::string_view expression, unsigned long n);

/// The form index that the file's expression gives each CLDR category of whole counts of
/// the language `lcid`, found at ICU's samples of the category. Raises PoError
/// "Plural-Forms \"<header>\" does not agree with the plural rules of <language>: <what>"
/// when the samples of one category take different forms or a form the file does not have.
std::map<std::string, int> FormOfCategories(std::string_view header, unsigned lcid,
                                            std::string_view language);

/// The LCID of a dictionary language (its primary and sub-language ids).
unsigned LcidOf(const PldLanguage& language);

/// Puts the forms of a translated plural entry into `translation` as its plural variants
/// in `language` (of `languageCount`), by `formOf` (`FormOfCategories`); the native forms
/// become the variants "one" (msgid) and "other" (msgid_plural). The plain text of the
/// language is the form of its last category, what a reader without variants shows.
void AddPluralEntry(PldTranslation& translation, std::size_t language, std::size_t languageCount,
                    const PoEntry& entry, const std::map<std::string, int>& formOf);

/// A plural translation as a PO entry of `language` (0: the template): msgid and
/// msgid_plural from the native variants, and one msgstr[n] per category of the language's
/// gettext forms (`platform::GettextPlurals`), in their order.
void ExportPluralEntry(const PldTranslation& translation, std::size_t language, unsigned lcid,
                       PoEntry& entry);

/// Pseudo-texts for a plural entry of a file in the language `lcid`: one form per category
/// of its gettext forms, made by `pseudo` from msgid for "one" and from msgid_plural for the
/// others.
void PseudoPluralEntry(PoEntry& entry, unsigned lcid, std::string (*pseudo)(std::string_view));

}  // namespace lx::tools
