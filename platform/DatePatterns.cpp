#include "platform/DatePatterns.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <vector>

namespace lx::platform {

namespace {

constexpr char16_t kQuote = u'\'';

bool IsAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsBidiMark(char16_t c) {
  return c == 0x200E || c == 0x200F || c == 0x061C;
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == 0x00A0 || c == 0x202F || c == 0x2009;
}

bool NeedsQuotes(char16_t c) {
  return IsAsciiLetter(c) || c >= 0x80 || c == kQuote || c == u'"';
}

std::u16string Repeat(char16_t letter, std::size_t count) {
  return std::u16string(count, letter);
}

// The Windows field for an ICU field; empty for a field that has no counterpart.
std::u16string WindowsField(char16_t letter, std::size_t count) {
  switch (letter) {
    case u'y':
    case u'Y':
    case u'u':
    case u'r':
      return u"yyyy";
    case u'M':
    case u'L':
      return Repeat(u'M', count == 5 ? 3 : std::min<std::size_t>(count, 4));
    case u'd':
      return Repeat(u'd', std::min<std::size_t>(count, 2));
    case u'E':
    case u'c':
    case u'e':
      return count == 4 ? u"dddd" : u"ddd";
    case u'h':
    case u'K':
      return Repeat(u'h', std::min<std::size_t>(count, 2));
    case u'H':
    case u'k':
      return Repeat(u'H', std::min<std::size_t>(count, 2));
    case u'm':
    case u's':
      return Repeat(letter, std::min<std::size_t>(count, 2));
    case u'a':
    case u'b':
    case u'B':
      return u"tt";
    default:
      return {};
  }
}

// Collects fields and literal text into a Windows picture.
class PictureBuilder {
 public:
  void AddLiteral(char16_t c) {
    if (IsBidiMark(c)) return;
    if (IsBlank(c)) {
      if (!skipBlanks_) literal_ += u' ';
      return;
    }
    skipBlanks_ = false;
    literal_ += c;
  }

  void AddField(std::u16string_view field) {
    FlushLiteral();
    picture_ += field;
    skipBlanks_ = false;
  }

  // A dropped field takes the blank that sets it apart with it: the one before
  // it, or the one after it when there is none before.
  void DropField() {
    if (!literal_.empty() && literal_.back() == u' ') {
      while (!literal_.empty() && literal_.back() == u' ')
        literal_.pop_back();
    } else {
      skipBlanks_ = true;
    }
  }

  std::u16string Finish() {
    FlushLiteral();
    return std::move(picture_);
  }

 private:
  void FlushLiteral() {
    bool quoted = false;
    for (char16_t c : literal_) {
      if (NeedsQuotes(c) != quoted) {
        picture_ += kQuote;
        quoted = !quoted;
      }
      if (c == kQuote) picture_ += kQuote;
      picture_ += c;
    }
    if (quoted) picture_ += kQuote;
    literal_.clear();
  }

  std::u16string picture_;
  std::u16string literal_;
  bool skipBlanks_ = false;
};

// Reads quoted text starting after the opening quote; returns the index after the closing one.
std::size_t ReadQuoted(std::u16string_view pattern, std::size_t i, std::u16string& text) {
  while (i < pattern.size()) {
    if (pattern[i] != kQuote) {
      text += pattern[i++];
    } else if (i + 1 < pattern.size() && pattern[i + 1] == kQuote) {
      text += kQuote;
      i += 2;
    } else {
      return i + 1;
    }
  }
  return i;
}

std::size_t RunLength(std::u16string_view pattern, std::size_t i) {
  std::size_t end = i;
  while (end < pattern.size() && pattern[end] == pattern[i])
    ++end;
  return end - i;
}

// A piece of a Windows picture: a field (letter and count) or literal text (letter 0).
struct Token {
  char16_t letter = 0;
  std::size_t count = 0;
  std::u16string text;
};

std::vector<Token> Tokenize(std::u16string_view picture) {
  std::vector<Token> tokens;
  auto literal = [&tokens]() -> std::u16string& {
    if (tokens.empty() || tokens.back().letter != 0) tokens.emplace_back();
    return tokens.back().text;
  };
  std::size_t i = 0;
  while (i < picture.size()) {
    const char16_t c = picture[i];
    if (c == kQuote && i + 1 < picture.size() && picture[i + 1] == kQuote) {
      literal() += kQuote;
      i += 2;
    } else if (c == kQuote) {
      i = ReadQuoted(picture, i + 1, literal());
    } else if (IsAsciiLetter(c)) {
      const std::size_t count = RunLength(picture, i);
      tokens.push_back({c, count, {}});
      i += count;
    } else {
      literal() += c;
      ++i;
    }
  }
  return tokens;
}

bool IsDateField(char16_t letter) {
  return letter == u'd' || letter == u'M' || letter == u'y';
}

bool IsHourField(char16_t letter) {
  return letter == u'h' || letter == u'H';
}

// The literal between the first field that `isFirst` accepts and the field after it.
template <typename Predicate>
std::u16string LiteralAfterField(std::u16string_view picture, Predicate isFirst,
                                 std::u16string fallback) {
  const std::vector<Token> tokens = Tokenize(picture);
  for (std::size_t i = 0; i + 2 < tokens.size(); ++i) {
    if (tokens[i].letter == 0 || !isFirst(tokens[i].letter)) continue;
    if (tokens[i + 1].letter == 0 && tokens[i + 2].letter != 0) return tokens[i + 1].text;
    break;
  }
  return fallback;
}

}  // namespace

std::u16string WindowsDatePattern(std::u16string_view icuPattern) {
  PictureBuilder builder;
  std::size_t i = 0;
  while (i < icuPattern.size()) {
    const char16_t c = icuPattern[i];
    if (c == kQuote && i + 1 < icuPattern.size() && icuPattern[i + 1] == kQuote) {
      builder.AddLiteral(kQuote);
      i += 2;
    } else if (c == kQuote) {
      std::u16string text;
      i = ReadQuoted(icuPattern, i + 1, text);
      for (char16_t quoted : text)
        builder.AddLiteral(quoted);
    } else if (IsAsciiLetter(c)) {
      const std::size_t count = RunLength(icuPattern, i);
      const std::u16string field = WindowsField(c, count);
      if (field.empty()) {
        builder.DropField();
      } else {
        builder.AddField(field);
      }
      i += count;
    } else {
      builder.AddLiteral(c);
      ++i;
    }
  }
  return builder.Finish();
}

std::u16string DateSeparatorOf(std::u16string_view windowsPattern) {
  return LiteralAfterField(windowsPattern, IsDateField, u"/");
}

std::u16string TimeSeparatorOf(std::u16string_view windowsPattern) {
  std::u16string separator = LiteralAfterField(windowsPattern, IsHourField, u":");
  // "HH 'h' mm" spells the units out: such a clock separates its fields by nothing a
  // re-built time format could use.
  if (separator.empty() || IsBlank(separator.front()) || u_isalpha(separator.front())) return u":";
  return separator;
}

TimeStyle TimeStyleOf(std::u16string_view windowsPattern) {
  TimeStyle style;
  bool markSeen = false;
  for (const Token& token : Tokenize(windowsPattern)) {
    if (token.letter == u't') markSeen = true;
    if (!IsHourField(token.letter)) continue;
    style.twentyFourHour = token.letter == u'H';
    style.hourLeadingZero = token.count >= 2;
    style.markBeforeTime = markSeen;
    break;
  }
  return style;
}

}  // namespace lx::platform
