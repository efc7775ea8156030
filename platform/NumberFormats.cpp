// Number, currency and measurement values of a locale, read from ICU's
// currency format and its symbols.
#include <unicode/ulocdata.h>
#include <unicode/unum.h>

#include <array>
#include <memory>
#include <string_view>

#include "platform/internal/LocaleData.h"

namespace lx::platform {

namespace {

struct NumberFormatCloser {
  void operator()(UNumberFormat* format) const { unum_close(format); }
};
using NumberFormatPtr = std::unique_ptr<UNumberFormat, NumberFormatCloser>;

constexpr char16_t kCurrencySign = 0x00A4;
constexpr char16_t kNoBreakSpace = 0x00A0;

NumberFormatPtr OpenCurrencyFormat(const IcuLocale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  NumberFormatPtr format(
      unum_open(UNUM_CURRENCY, nullptr, 0, locale.dataName.c_str(), nullptr, &status));
  return U_SUCCESS(status) ? std::move(format) : nullptr;
}

std::optional<std::u16string> Symbol(const UNumberFormat* format, UNumberFormatSymbol symbol) {
  return IcuText([&](UChar* out, int32_t capacity, UErrorCode* status) {
    return unum_getSymbol(format, symbol, out, capacity, status);
  });
}

std::optional<std::u16string> Pattern(const UNumberFormat* format) {
  return IcuText([&](UChar* out, int32_t capacity, UErrorCode* status) {
    return unum_toPattern(format, false, out, capacity, status);
  });
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == kNoBreakSpace || c == 0x202F || c == 0x2009;
}

bool IsNumberPart(char16_t c) {
  return (c >= u'0' && c <= u'9') || c == u'#' || c == u',' || c == u'.' || c == u'@';
}

// The shape of a currency subpattern: S for the symbol, N for the number, the
// signs - ( ) and single blanks; anything else (marks, quoted text) is left out.
std::u16string CurrencyShape(std::u16string_view subpattern) {
  std::u16string shape;
  for (std::size_t i = 0; i < subpattern.size(); ++i) {
    const char16_t c = subpattern[i];
    char16_t piece = 0;
    if (c == u'\'') {
      i = subpattern.find(u'\'', i + 1);
      if (i == std::u16string_view::npos) break;
      continue;
    }
    if (c == kCurrencySign) piece = u'S';
    if (IsNumberPart(c)) piece = u'N';
    if (c == u'-' || c == u'(' || c == u')') piece = c;
    if (IsBlank(c)) piece = u' ';
    if (piece == 0 || (piece != u'-' && !shape.empty() && shape.back() == piece)) continue;
    shape += piece;
  }
  while (!shape.empty() && shape.back() == u' ')
    shape.pop_back();
  while (!shape.empty() && shape.front() == u' ')
    shape.erase(0, 1);
  return shape;
}

struct CurrencyShapes {
  std::u16string positive;
  std::u16string negative;
};

// Without a negative subpattern a minus sign goes in front of the positive one.
CurrencyShapes ShapesOf(std::u16string_view pattern) {
  const std::size_t semicolon = pattern.find(u';');
  CurrencyShapes shapes{CurrencyShape(pattern.substr(0, semicolon)), {}};
  shapes.negative = semicolon == std::u16string_view::npos
                        ? u"-" + shapes.positive
                        : CurrencyShape(pattern.substr(semicolon + 1));
  return shapes;
}

int PositiveCurrencyCode(std::u16string_view shape) {
  constexpr std::array<std::u16string_view, 4> kShapes{u"SN", u"NS", u"S N", u"N S"};
  for (std::size_t code = 0; code < kShapes.size(); ++code) {
    if (shape == kShapes[code]) return static_cast<int>(code);
  }
  return 0;
}

int NegativeCurrencyCode(const CurrencyShapes& shapes) {
  constexpr std::array<std::u16string_view, 16> kShapes{
      u"(SN)", u"-SN",  u"S-N",  u"SN-",  u"(NS)", u"-NS",  u"N-S",   u"NS-",
      u"-N S", u"-S N", u"N S-", u"S N-", u"S -N", u"N- S", u"(S N)", u"(N S)"};
  for (std::size_t code = 0; code < kShapes.size(); ++code) {
    if (shapes.negative == kShapes[code]) return static_cast<int>(code);
  }
  // A shape Windows has no code for: the minus sign in front of the positive form.
  constexpr std::array<int, 4> kMinusInFront{1, 5, 9, 8};
  return kMinusInFront[static_cast<std::size_t>(PositiveCurrencyCode(shapes.positive))];
}

// Windows keeps the plain no-break space where ICU has the narrow one.
std::u16string ThousandSeparator(std::u16string separator) {
  for (char16_t& c : separator) {
    if (IsBlank(c)) c = kNoBreakSpace;
  }
  return separator;
}

std::optional<std::u16string> Measurement(const IcuLocale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  const UMeasurementSystem system = ulocdata_getMeasurementSystem(locale.dataName.c_str(), &status);
  if (U_FAILURE(status)) return std::nullopt;
  return NumberText(system == UMS_US ? 1 : 0);
}

std::optional<std::u16string> FormatValue(const UNumberFormat* format, LcType type) {
  switch (type) {
    case LOCALE_SCURRENCY:
      return Symbol(format, UNUM_CURRENCY_SYMBOL);
    case LOCALE_SINTLSYMBOL:
      return Symbol(format, UNUM_INTL_CURRENCY_SYMBOL);
    case LOCALE_ICURRDIGITS:
      return NumberText(unum_getAttribute(format, UNUM_FRACTION_DIGITS));
    case LOCALE_SDECIMAL:
      return Symbol(format, UNUM_DECIMAL_SEPARATOR_SYMBOL);
    case LOCALE_STHOUSAND: {
      auto separator = Symbol(format, UNUM_GROUPING_SEPARATOR_SYMBOL);
      return separator ? std::optional(ThousandSeparator(*separator)) : std::nullopt;
    }
    case LOCALE_SLIST: {
      auto decimal = Symbol(format, UNUM_DECIMAL_SEPARATOR_SYMBOL);
      return decimal ? std::optional<std::u16string>(*decimal == u"," ? u";" : u",") : std::nullopt;
    }
    default:
      break;
  }
  auto pattern = Pattern(format);
  if (!pattern) return std::nullopt;
  if (type == LOCALE_ICURRENCY)
    return NumberText(PositiveCurrencyCode(ShapesOf(*pattern).positive));
  return NumberText(NegativeCurrencyCode(ShapesOf(*pattern)));
}

bool IsNumberType(LcType type) {
  switch (type) {
    case LOCALE_SCURRENCY:
    case LOCALE_SINTLSYMBOL:
    case LOCALE_ICURRENCY:
    case LOCALE_INEGCURR:
    case LOCALE_ICURRDIGITS:
    case LOCALE_SDECIMAL:
    case LOCALE_STHOUSAND:
    case LOCALE_SLIST:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<std::u16string> NumberValue(const IcuLocale& locale, LcType type) {
  if (type == LOCALE_IMEASURE) return Measurement(locale);
  if (!IsNumberType(type)) return std::nullopt;
  const NumberFormatPtr format = OpenCurrencyFormat(locale);
  return format ? FormatValue(format.get(), type) : std::nullopt;
}

}  // namespace lx::platform
