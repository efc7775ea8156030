// The engine's small text tools: a tokenizer on a one-character delimiter,
// the escape decoding of texts kept in stored forms, and the conversions
// between 8-bit texts in a code page and wide texts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "framework/core/Object.h"

namespace lx::lang {

/// Splits a text at a delimiter, one token at a time: "1,2,,3" gives "1", "2", "" and "3".
/// A leading delimiter gives an empty first token, a trailing one ends the text without a
/// further token. Read tokens until `AtEnd`.
class TLxStringParser : public framework::TObject {
  LX_CLASS(TLxStringParser, framework::TObject)

 public:
  TLxStringParser() = default;
  TLxStringParser(std::string_view text, char delimiter);

  /// Starts over at the first character.
  void Reset();
  /// Splits `text` from its first character on.
  void SetText(std::string_view text);
  /// May change between tokens: "Chinese (Taiwan)" cut at "(" first gives "Chinese ".
  void SetDelimiter(char delimiter) { delimiter_ = delimiter; }

  const std::string& Text() const { return text_; }
  char Delimiter() const { return delimiter_; }
  /// 1-based index of the next character to read.
  std::size_t Position() const { return position_; }
  /// Length of the text + 1.
  std::size_t Limit() const { return limit_; }

  bool AtEnd() const { return position_ >= limit_; }
  /// The characters up to the next delimiter (or the end), which is passed over. An empty
  /// text gives one empty token after another; a text read to its end gives empty tokens.
  std::string NextToken();
  /// The next token as an integer; raises EConvertError "'<token>' is not a valid integer
  /// value" when it is none (an empty token included).
  int NextInteger();

  /// Undoes the escapes of texts kept in stored forms: "##" is "#", "#C" a carriage return,
  /// "#L" a line feed, "#T" a tab (upper case only); any other "#" stays as it is.
  static std::string DecodeString(std::string_view text);

 private:
  std::string text_;
  std::size_t position_ = 1;
  std::size_t limit_ = 1;
  char delimiter_ = ',';
};

/// `text` read in `codePage` (0: the system's ANSI code page); empty for an empty text and
/// when the code page is not installed.
std::u16string AnsiToWide(std::string_view text, int codePage);

/// `text` written in `codePage` (0: the system's ANSI code page), "?" for what the code page
/// cannot hold; empty for an empty text and when the code page is not installed.
std::string WideToAnsi(std::u16string_view text, int codePage);

}  // namespace lx::lang
