#include "lang/LxParser.h"

#include "framework/rtti/Published.h"
#include "platform/CodePages.h"
#include "platform/TextUtils.h"

namespace lx::lang {

LX_PUBLISHED(TLxStringParser)

TLxStringParser::TLxStringParser(std::string_view text, char delimiter) {
  Reset();
  SetText(text);
  SetDelimiter(delimiter);
}

void TLxStringParser::Reset() {
  position_ = 1;
}

void TLxStringParser::SetText(std::string_view text) {
  text_ = text;
  limit_ = text_.size() + 1;
  position_ = 1;
}

std::string TLxStringParser::NextToken() {
  if (text_.empty()) return {};
  const std::size_t start = position_;
  while (position_ < limit_ && text_[position_ - 1] != delimiter_)
    ++position_;
  std::string token;
  // Past the end there is nothing left to take.
  if (start < limit_) token = text_.substr(start - 1, position_ - start);
  ++position_;
  return token;
}

int TLxStringParser::NextInteger() {
  return platform::StrToInt(NextToken());
}

namespace {

// The character an escape "#<letter>" stands for, or 0 when the letter is no escape.
char EscapedCharacter(char letter) {
  switch (letter) {
    case '#':
      return '#';
    case 'C':
      return '\r';
    case 'L':
      return '\n';
    case 'T':
      return '\t';
    default:
      return 0;
  }
}

}  // namespace

std::string TLxStringParser::DecodeString(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char escaped = text[i] == '#' && i + 1 < text.size() ? EscapedCharacter(text[i + 1]) : 0;
    if (escaped != 0) {
      result += escaped;
      ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

std::u16string AnsiToWide(std::string_view text, int codePage) {
  if (text.empty()) return {};
  return platform::MultiByteToWide(text, static_cast<platform::CodePage>(codePage));
}

std::string WideToAnsi(std::u16string_view text, int codePage) {
  if (text.empty()) return {};
  return platform::WideToMultiByte(text, static_cast<platform::CodePage>(codePage));
}

}  // namespace lx::lang
