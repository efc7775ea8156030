// Plural categories through icu::PluralRules; the gettext expression is
// written from the rules ICU gives for the locale, read for whole counts.
#include "platform/PluralRules.h"

#include <unicode/numfmt.h>
#include <unicode/plurrule.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <sstream>

#include "platform/internal/LocaleData.h"

namespace lx::platform {

namespace {

constexpr std::array<const char*, 6> kCategoryOrder{"zero", "one", "two", "few", "many", "other"};

icu::Locale LocaleOf(Lcid lcid) {
  const IcuLocale* locale = IcuLocaleFor(lcid);
  return locale != nullptr ? icu::Locale(locale->dataName.c_str()) : icu::Locale::getRoot();
}

std::unique_ptr<icu::PluralRules> RulesOf(Lcid lcid) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::PluralRules> rules(icu::PluralRules::forLocale(LocaleOf(lcid), status));
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    rules.reset(icu::PluralRules::forLocale(icu::Locale::getRoot(), status));
  }
  return U_SUCCESS(status) ? std::move(rules) : nullptr;
}

std::string Utf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

// ---- The rules read for whole counts: n and i are the count, every operand of the
// fraction or the exponent (v, w, f, t, e, c) is 0.

struct Range {
  std::int64_t low = 0, high = 0;
};

struct Relation {
  bool ofCount = true;  // n or i; otherwise an operand that is 0 for whole counts
  std::int64_t modulus = 0;
  bool negated = false;
  std::vector<Range> ranges;
};

using AndChain = std::vector<Relation>;
using Condition = std::vector<AndChain>;

std::vector<std::string> Tokens(const std::string& text) {
  std::vector<std::string> tokens;
  std::string current;
  auto flush = [&] {
    if (!current.empty()) tokens.push_back(current);
    current.clear();
  };
  for (char c : text) {
    if (c == ' ') {
      flush();
    } else if (c == ',') {
      flush();
      tokens.emplace_back(",");
    } else {
      current += c;
    }
  }
  flush();
  return tokens;
}

Range ParseRange(const std::string& token) {
  const auto dots = token.find("..");
  if (dots == std::string::npos) {
    const std::int64_t value = std::stoll(token);
    return {value, value};
  }
  return {std::stoll(token.substr(0, dots)), std::stoll(token.substr(dots + 2))};
}

Condition ParseCondition(const std::vector<std::string>& tokens) {
  Condition condition(1);
  std::size_t at = 0;
  auto next = [&]() -> const std::string& {
    static const std::string kEnd;
    return at < tokens.size() ? tokens[at++] : kEnd;
  };
  while (at < tokens.size()) {
    Relation relation;
    const std::string operand = next();
    relation.ofCount = operand == "n" || operand == "i";
    std::string word = next();
    if (word == "mod" || word == "%") {
      relation.modulus = std::stoll(next());
      word = next();
    }
    if (word == "not" || word == "!=") {
      relation.negated = true;
      if (word == "not") word = next();
    } else if (word == "is") {
      if (at < tokens.size() && tokens[at] == "not") {
        relation.negated = true;
        ++at;
      }
    }
    relation.ranges.push_back(ParseRange(next()));
    while (at < tokens.size() && tokens[at] == ",") {
      ++at;
      relation.ranges.push_back(ParseRange(next()));
    }
    condition.back().push_back(relation);
    const std::string joiner = next();
    if (joiner == "or") condition.emplace_back();
  }
  return condition;
}

// Rules as ICU writes them: "one: i in 1..1 and v in 0..0; other: ".
std::vector<std::pair<std::string, Condition>> ParseRules(const std::string& text) {
  std::vector<std::pair<std::string, Condition>> rules;
  std::stringstream stream(text);
  std::string rule;
  while (std::getline(stream, rule, ';')) {
    const auto colon = rule.find(':');
    if (colon == std::string::npos) continue;
    std::string keyword = rule.substr(0, colon);
    keyword.erase(0, keyword.find_first_not_of(' '));
    rules.emplace_back(keyword, ParseCondition(Tokens(rule.substr(colon + 1))));
  }
  return rules;
}

bool InRanges(std::int64_t value, const std::vector<Range>& ranges) {
  return std::any_of(ranges.begin(), ranges.end(),
                     [&](const Range& r) { return value >= r.low && value <= r.high; });
}

std::string RangeTest(const std::string& operand, const Range& range) {
  if (range.low == range.high) return operand + "==" + std::to_string(range.low);
  return "(" + operand + ">=" + std::to_string(range.low) + " && " + operand +
         "<=" + std::to_string(range.high) + ")";
}

std::string RelationExpression(const Relation& relation) {
  const std::string operand =
      relation.modulus != 0 ? "n%" + std::to_string(relation.modulus) : std::string("n");
  if (relation.ranges.size() == 1 && relation.ranges[0].low == relation.ranges[0].high) {
    return operand + (relation.negated ? "!=" : "==") + std::to_string(relation.ranges[0].low);
  }
  std::string tests;
  for (const Range& range : relation.ranges) {
    tests += (tests.empty() ? "" : " || ") + RangeTest(operand, range);
  }
  if (relation.ranges.size() > 1) tests = "(" + tests + ")";
  return relation.negated ? "!" + (relation.ranges.size() > 1 ? tests : "(" + tests + ")") : tests;
}

// The condition as C for whole counts; nullopt when no whole count meets it.
std::optional<std::string> ConditionExpression(const Condition& condition) {
  std::vector<std::string> alternatives;
  for (const AndChain& chain : condition) {
    std::vector<std::string> terms;
    bool possible = true;
    for (const Relation& relation : chain) {
      if (!relation.ofCount) {
        possible = possible && InRanges(0, relation.ranges) != relation.negated;
        continue;
      }
      terms.push_back(RelationExpression(relation));
    }
    if (!possible) continue;
    if (terms.empty()) return std::string("1");
    std::string joined;
    for (const std::string& term : terms)
      joined += (joined.empty() ? "" : " && ") + term;
    alternatives.push_back(joined);
  }
  if (alternatives.empty()) return std::nullopt;
  if (alternatives.size() == 1) return alternatives[0];
  std::string joined;
  for (const std::string& alternative : alternatives) {
    const bool grouped = alternative.find("&&") != std::string::npos;
    joined += (joined.empty() ? "" : " || ") + (grouped ? "(" + alternative + ")" : alternative);
  }
  return joined;
}

// The test in parentheses, unless one pair holds it whole already.
std::string Grouped(const std::string& test) {
  int depth = 0;
  for (std::size_t i = 0; i < test.size(); ++i) {
    depth += test[i] == '(' ? 1 : test[i] == ')' ? -1 : 0;
    if (depth == 0 && i + 1 < test.size()) return "(" + test + ")";
  }
  return test.front() == '(' ? test : "(" + test + ")";
}

}  // namespace

std::string PluralCategory(Lcid lcid, std::int64_t count) {
  const auto rules = RulesOf(lcid);
  if (!rules) return "other";
  return Utf8(rules->select(static_cast<double>(count)));
}

std::vector<std::int64_t> PluralSamples(Lcid lcid, const std::string& category) {
  std::vector<std::int64_t> samples;
  const auto rules = RulesOf(lcid);
  if (!rules) return samples;
  std::array<double, 20> values{};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t count = rules->getSamples(icu::UnicodeString::fromUTF8(category), values.data(),
                                          static_cast<int32_t>(values.size()), status);
  for (int32_t i = 0; U_SUCCESS(status) && i < count; ++i) {
    if (values[i] == std::floor(values[i]) && values[i] >= 0 && values[i] < 1e15) {
      const auto value = static_cast<std::int64_t>(values[i]);
      if (std::find(samples.begin(), samples.end(), value) == samples.end()) {
        samples.push_back(value);
      }
    }
  }
  return samples;
}

std::vector<std::string> IntegerPluralCategories(Lcid lcid) {
  std::vector<std::string> categories;
  for (const char* category : kCategoryOrder) {
    if (!PluralSamples(lcid, category).empty()) categories.emplace_back(category);
  }
  if (categories.empty()) categories.emplace_back("other");
  return categories;
}

std::u16string FormatCount(Lcid lcid, std::int64_t count) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::NumberFormat> format(
      icu::NumberFormat::createInstance(LocaleOf(lcid), status));
  if (U_FAILURE(status) || !format) return NumberText(static_cast<long>(count));
  icu::UnicodeString text;
  format->format(static_cast<int64_t>(count), text);
  return std::u16string(reinterpret_cast<const char16_t*>(text.getBuffer()),
                        static_cast<std::size_t>(text.length()));
}

std::string GettextPluralForms::Header() const {
  return "nplurals=" + std::to_string(count) + "; plural=" + expression + ";";
}

GettextPluralForms GettextPlurals(Lcid lcid) {
  GettextPluralForms forms;
  forms.categories = IntegerPluralCategories(lcid);
  forms.count = static_cast<int>(forms.categories.size());
  const auto rules = RulesOf(lcid);
  if (!rules || forms.count == 1) return forms;
  const auto parsed = ParseRules(Utf8(rules->getRules()));
  // Each category but the last is tested in turn; whole counts that meet none take the last.
  std::string expression = std::to_string(forms.count - 1);
  for (int index = forms.count - 2; index >= 0; --index) {
    for (const auto& [keyword, condition] : parsed) {
      if (keyword != forms.categories[index]) continue;
      if (const auto test = ConditionExpression(condition)) {
        expression = Grouped(*test) + " ? " + std::to_string(index) + " : " + expression;
      }
    }
  }
  forms.expression = expression;
  return forms;
}

}  // namespace lx::platform
