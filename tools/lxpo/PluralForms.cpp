#include "lxpo/PluralForms.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "lxpo/PoFile.h"
#include "platform/PluralRules.h"

namespace lx::tools {

namespace {

// Recursive descent over gettext's grammar: ?:, ||, &&, == !=, < > <= >=, + -, * / %,
// unary !, n, decimal numbers and parentheses.
class Evaluator {
 public:
  Evaluator(std::string_view text, unsigned long n) : text_(text), n_(n) {}

  unsigned long Whole() {
    const unsigned long value = Conditional();
    Blanks();
    if (at_ != text_.size()) Fail("unexpected \"" + std::string(text_.substr(at_, 1)) + "\"");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw PoError("plural expression \"" + std::string(text_) + "\": " + what);
  }
  void Blanks() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])))
      ++at_;
  }
  bool Take(std::string_view token) {
    Blanks();
    if (text_.substr(at_, token.size()) != token) return false;
    at_ += token.size();
    return true;
  }
  // Outside data: a nesting deep enough to exhaust the stack is refused instead.
  static constexpr int kMaxDepth = 64;

  unsigned long Conditional() {
    if (++depth_ > kMaxDepth) Fail("nested too deeply");
    const unsigned long test = Or();
    --depth_;
    if (!Take("?")) return test;
    ++depth_;
    const unsigned long yes = Conditional();
    if (!Take(":")) Fail("\":\" expected");
    const unsigned long no = Conditional();
    --depth_;
    return test != 0 ? yes : no;
  }
  unsigned long Or() {
    unsigned long value = And();
    while (Take("||"))
      value = (And() != 0) | (value != 0);
    return value;
  }
  unsigned long And() {
    unsigned long value = Equality();
    while (Take("&&"))
      value = (Equality() != 0) & (value != 0);
    return value;
  }
  unsigned long Equality() {
    unsigned long value = Relation();
    for (;;) {
      if (Take("==")) {
        value = value == Relation();
      } else if (Take("!=")) {
        value = value != Relation();
      } else {
        return value;
      }
    }
  }
  unsigned long Relation() {
    unsigned long value = Sum();
    for (;;) {
      if (Take("<=")) {
        value = value <= Sum();
      } else if (Take(">=")) {
        value = value >= Sum();
      } else if (Take("<")) {
        value = value < Sum();
      } else if (Take(">")) {
        value = value > Sum();
      } else {
        return value;
      }
    }
  }
  unsigned long Sum() {
    unsigned long value = Product();
    for (;;) {
      if (Take("+")) {
        value += Product();
      } else if (Take("-")) {
        value -= Product();
      } else {
        return value;
      }
    }
  }
  unsigned long Product() {
    unsigned long value = Unary();
    for (;;) {
      const bool times = Take("*");
      const bool divide = !times && Take("/");
      const bool modulo = !times && !divide && Take("%");
      if (!times && !divide && !modulo) return value;
      const unsigned long right = Unary();
      if (!times && right == 0) Fail("division by 0");
      value = times ? value * right : divide ? value / right : value % right;
    }
  }
  unsigned long Unary() {
    if (!Take("!")) return Primary();
    if (++depth_ > kMaxDepth) Fail("nested too deeply");
    const unsigned long value = Unary() == 0;
    --depth_;
    return value;
  }
  unsigned long Primary() {
    if (Take("(")) {
      const unsigned long value = Conditional();
      if (!Take(")")) Fail("\")\" expected");
      return value;
    }
    if (Take("n")) return n_;
    Blanks();
    if (at_ >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[at_]))) {
      Fail(at_ >= text_.size() ? "the expression ends early" : "a number or n expected");
    }
    unsigned long value = 0;
    while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
      value = value * 10 + static_cast<unsigned long>(text_[at_++] - '0');
    return value;
  }

  std::string_view text_;
  unsigned long n_;
  std::size_t at_ = 0;
  int depth_ = 0;
};

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\n");
  if (first == std::string_view::npos) return std::string();
  const auto last = text.find_last_not_of(" \t\n");
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

PluralFormsHeader ParsePluralForms(std::string_view header) {
  auto fail = [&](const std::string& what) -> PoError {
    return PoError("Plural-Forms \"" + std::string(header) + "\": " + what);
  };
  PluralFormsHeader forms;
  const auto count = header.find("nplurals=");
  const auto plural = header.find("plural=", count == std::string_view::npos ? 0 : count + 9);
  if (count == std::string_view::npos || plural == std::string_view::npos) {
    throw fail("\"nplurals=N; plural=EXPRESSION;\" expected");
  }
  const std::string number = Trimmed(header.substr(count + 9, header.find(';', count) - count - 9));
  if (number.empty() || number.size() > 3 ||
      number.find_first_not_of("0123456789") != std::string::npos || std::stoi(number) < 1) {
    throw fail("nplurals is not a number from 1 up");
  }
  forms.count = std::stoi(number);
  std::string expression(header.substr(plural + 7));
  expression = Trimmed(expression.substr(0, expression.find(';')));
  if (expression.empty()) throw fail("no plural expression");
  EvaluatePluralExpression(expression, 0);
  forms.expression = expression;
  return forms;
}

unsigned long EvaluatePluralExpression(std::string_view expression, unsigned long n) {
  return Evaluator(expression, n).Whole();
}

std::map<std::string, int> FormOfCategories(std::string_view header, unsigned lcid,
                                            std::string_view language) {
  const PluralFormsHeader forms = ParsePluralForms(header);
  auto fail = [&](const std::string& what) -> PoError {
    return PoError("Plural-Forms \"" + std::string(header) +
                   "\" does not agree with the plural rules of " + std::string(language) + ": " +
                   what);
  };
  std::map<std::string, int> formOf;
  for (const std::string& category : platform::IntegerPluralCategories(lcid)) {
    for (const std::int64_t sample : platform::PluralSamples(lcid, category)) {
      const unsigned long form =
          EvaluatePluralExpression(forms.expression, static_cast<unsigned long>(sample));
      if (form >= static_cast<unsigned long>(forms.count)) {
        throw fail(std::to_string(sample) + " takes form " + std::to_string(form) + " of " +
                   std::to_string(forms.count));
      }
      const auto [place, added] = formOf.emplace(category, static_cast<int>(form));
      if (!added && place->second != static_cast<int>(form)) {
        throw fail(std::to_string(sample) + " (\"" + category + "\") takes form " +
                   std::to_string(form) + ", other counts of \"" + category + "\" form " +
                   std::to_string(place->second));
      }
    }
  }
  return formOf;
}

namespace {

constexpr std::array<std::string_view, 6> kCategoryOrder{"zero", "one",  "two",
                                                         "few",  "many", "other"};

int OrderOf(const std::string& keyword) {
  const auto at = std::find(kCategoryOrder.begin(), kCategoryOrder.end(), keyword);
  return static_cast<int>(at - kCategoryOrder.begin());
}

// The variant of `keyword`, added in CLDR's order when missing.
PldVariant& VariantOf(PldTranslation& translation, const std::string& keyword,
                      std::size_t languageCount) {
  auto at = std::find_if(translation.variants.begin(), translation.variants.end(),
                         [&](const PldVariant& v) { return v.keyword == keyword; });
  if (at != translation.variants.end()) return *at;
  at = std::find_if(translation.variants.begin(), translation.variants.end(),
                    [&](const PldVariant& v) { return OrderOf(v.keyword) > OrderOf(keyword); });
  return *translation.variants.insert(at,
                                      PldVariant{keyword, std::vector<std::string>(languageCount)});
}

const std::string* NativeVariant(const PldTranslation& translation, std::string_view keyword) {
  for (const PldVariant& variant : translation.variants) {
    if (variant.keyword == keyword && !variant.texts.empty()) return &variant.texts[0];
  }
  return nullptr;
}

}  // namespace

unsigned LcidOf(const PldLanguage& language) {
  return static_cast<unsigned>(language.primaryLanguage) |
         static_cast<unsigned>(language.subLanguage) << 10;
}

void AddPluralEntry(PldTranslation& translation, std::size_t language, std::size_t languageCount,
                    const PoEntry& entry, const std::map<std::string, int>& formOf) {
  translation.variantKind = PldVariantKind::Plural;
  VariantOf(translation, "one", languageCount).texts[0] = entry.msgid;
  VariantOf(translation, "other", languageCount).texts[0] = entry.msgidPlural;
  int lastOrder = -1;
  for (const auto& [category, form] : formOf) {
    const std::string& text = entry.msgstrPlural[static_cast<std::size_t>(form)];
    VariantOf(translation, category, languageCount).texts[language] = text;
    if (OrderOf(category) > lastOrder) {
      lastOrder = OrderOf(category);
      translation.texts[language] = text;
    }
  }
}

void ExportPluralEntry(const PldTranslation& translation, std::size_t language, unsigned lcid,
                       PoEntry& entry) {
  const std::string* one = NativeVariant(translation, "one");
  const std::string* other = NativeVariant(translation, "other");
  entry.msgid = one != nullptr && !one->empty() ? *one : translation.texts[0];
  entry.msgidPlural = other != nullptr && !other->empty() ? *other : entry.msgid;
  if (language == 0) {
    entry.msgstrPlural.assign(2, std::string());
    return;
  }
  for (const std::string& category : platform::GettextPlurals(lcid).categories) {
    const PldVariant* variant = nullptr;
    for (const PldVariant& each : translation.variants) {
      if (each.keyword == category) variant = &each;
    }
    entry.msgstrPlural.push_back(variant != nullptr && language < variant->texts.size()
                                     ? variant->texts[language]
                                     : std::string());
  }
}

void PseudoPluralEntry(PoEntry& entry, unsigned lcid, std::string (*pseudo)(std::string_view)) {
  entry.msgstrPlural.clear();
  for (const std::string& category : platform::GettextPlurals(lcid).categories)
    entry.msgstrPlural.push_back(pseudo(category == "one" ? entry.msgid : entry.msgidPlural));
}

}  // namespace lx::tools
