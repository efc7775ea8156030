// Text form to binary form stream.
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <utility>

#include "framework/streaming/Extended.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/TextForm.h"
#include "platform/CodePages.h"
#include "platform/TextUtils.h"

namespace lx::framework {

EParserError::EParserError(std::string reason, int line, int column)
    : EFilerError(reason + " on line " + std::to_string(line) + ", column " +
                  std::to_string(column)),
      reason_(std::move(reason)),
      line_(line),
      column_(column) {}

namespace {

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || (c >= '0' && c <= '9');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

enum class TToken { End, Symbol, Name, Integer, Float, String };

// The tokens of a text form, with where each starts.
class TLexer {
 public:
  explicit TLexer(std::string_view text) : text_(text) {
    if (text_.starts_with("\xEF\xBB\xBF")) text_.remove_prefix(3);
    Next();
  }

  TToken Kind() const { return kind_; }
  char Symbol() const { return symbol_; }
  const std::string& Text() const { return text_token_; }
  std::int64_t Integer() const { return integer_; }
  char FloatSuffix() const { return suffix_; }
  bool Wide() const { return wide_; }
  const std::u16string& Units() const { return units_; }

  /// Where the current token starts and ends, and where the one before it ended.
  std::size_t TokenStart() const { return tokenStart_; }
  std::size_t TokenEnd() const { return tokenEnd_; }
  std::size_t PreviousEnd() const { return previousEnd_; }

  bool IsSymbol(char c) const { return kind_ == TToken::Symbol && symbol_ == c; }
  bool IsName(std::string_view name) const {
    return kind_ == TToken::Name && platform::SameTextAscii(text_token_, name);
  }
  /// The next character after blanks is '=' or '.': the current name starts a property.
  bool NameStartsProperty() const {
    std::size_t at = pos_;
    while (at < text_.size() && IsBlank(text_[at]))
      ++at;
    return at < text_.size() && (text_[at] == '=' || text_[at] == '.');
  }
  /// The next character after blanks.
  char Following() const {
    std::size_t at = pos_;
    while (at < text_.size() && IsBlank(text_[at]))
      ++at;
    return at < text_.size() ? text_[at] : '\0';
  }

  [[noreturn]] void Error(const std::string& reason) const {
    throw EParserError(reason, tokenLine_, tokenColumn_);
  }

  void Next();
  /// The bytes of a binary value, after its '{' up to and including the '}'.
  std::vector<std::uint8_t> ReadHex();

 private:
  static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
  char Peek(std::size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  void Advance();
  void ReadToken();
  [[noreturn]] void ErrorHere(const std::string& reason) const {
    throw EParserError(reason, line_, column_);
  }
  [[noreturn]] void ErrorAtNonAscii() const;
  void ReadName();
  void ReadNumber();
  std::uint64_t ReadDigits(int base);
  void ReadString();
  void ReadQuoted();
  void ReadCharCode();

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t tokenStart_ = 0;
  std::size_t tokenEnd_ = 0;
  std::size_t previousEnd_ = 0;
  int line_ = 1;
  int column_ = 1;
  int tokenLine_ = 1;
  int tokenColumn_ = 1;
  TToken kind_ = TToken::End;
  char symbol_ = 0;
  std::string text_token_;
  std::int64_t integer_ = 0;
  char suffix_ = 0;
  bool wide_ = false;
  std::u16string units_;
};

// Columns count characters: the continuation bytes of UTF-8 take none.
void TLexer::Advance() {
  const char c = text_[pos_++];
  if (c == '\n') {
    ++line_;
    column_ = 1;
  } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
    ++column_;
  }
}

void TLexer::Next() {
  previousEnd_ = tokenEnd_;
  while (pos_ < text_.size() && IsBlank(text_[pos_]))
    Advance();
  tokenLine_ = line_;
  tokenColumn_ = column_;
  tokenStart_ = pos_;
  ReadToken();
  tokenEnd_ = pos_;
}

void TLexer::ReadToken() {
  if (pos_ >= text_.size()) {
    kind_ = TToken::End;
    return;
  }
  const char c = Peek();
  if (IsIdentStart(c)) return ReadName();
  if (IsDigit(c) || c == '$' || (c == '-' && (IsDigit(Peek(1)) || Peek(1) == '$'))) {
    return ReadNumber();
  }
  if (c == '\'' || c == '#') return ReadString();
  if (std::string_view("=:.,[](){}<>+").find(c) == std::string_view::npos) {
    if (static_cast<unsigned char>(c) >= 128) ErrorAtNonAscii();
    if (static_cast<unsigned char>(c) < 32 || c == 127) {
      ErrorHere("Invalid character #" + std::to_string(static_cast<unsigned char>(c)));
    }
    ErrorHere(std::string("Invalid character '") + c + "'");
  }
  kind_ = TToken::Symbol;
  symbol_ = c;
  Advance();
}

// A character beyond ASCII outside a string is named whole, with its code point.
void TLexer::ErrorAtNonAscii() const {
  std::int32_t end = static_cast<std::int32_t>(pos_);
  UChar32 codePoint = 0;
  U8_NEXT(reinterpret_cast<const std::uint8_t*>(text_.data()), end,
          static_cast<std::int32_t>(text_.size()), codePoint);
  if (codePoint < 0) ErrorHere("Invalid UTF-8 text");
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(codePoint));
  const std::string_view character = text_.substr(pos_, static_cast<std::size_t>(end) - pos_);
  ErrorHere("Invalid character '" + std::string(character) + "' (" + code + ")");
}

void TLexer::ReadName() {
  kind_ = TToken::Name;
  const std::size_t start = pos_;
  while (pos_ < text_.size() && IsIdentChar(text_[pos_]))
    Advance();
  text_token_.assign(text_.substr(start, pos_ - start));
}

std::uint64_t TLexer::ReadDigits(int base) {
  std::uint64_t value = 0;
  const std::size_t start = pos_;
  for (;;) {
    const int digit = base == 16 ? HexValue(Peek()) : (IsDigit(Peek()) ? Peek() - '0' : -1);
    if (digit < 0) break;
    if (value > (std::numeric_limits<std::uint64_t>::max() - static_cast<unsigned>(digit)) /
                    static_cast<unsigned>(base)) {
      Error("Integer out of range");
    }
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    Advance();
  }
  if (pos_ == start) Error("Invalid number");
  return value;
}

void TLexer::ReadNumber() {
  const std::size_t start = pos_;
  const bool negative = Peek() == '-';
  if (negative) Advance();
  if (Peek() == '$') {
    Advance();
    const std::uint64_t magnitude = ReadDigits(16);
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
    if (magnitude > limit) Error("Integer out of range");
    kind_ = TToken::Integer;
    integer_ =
        negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    if (IsIdentChar(Peek())) Error("Invalid number");
    return;
  }
  while (IsDigit(Peek()))
    Advance();
  bool isFloat = false;
  // "2." is a float too, as some designers write them.
  if (Peek() == '.' && (IsDigit(Peek(1)) || !IsIdentChar(Peek(1)))) {
    isFloat = true;
    Advance();
    while (IsDigit(Peek()))
      Advance();
  }
  if ((Peek() == 'e' || Peek() == 'E') &&
      (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
    isFloat = true;
    Advance();
    if (Peek() == '+' || Peek() == '-') Advance();
    while (IsDigit(Peek()))
      Advance();
  }
  text_token_.assign(text_.substr(start, pos_ - start));
  suffix_ = 0;
  if (std::string_view("sScCdD").find(Peek()) != std::string_view::npos && Peek() != '\0' &&
      !IsIdentChar(Peek(1))) {
    suffix_ = static_cast<char>(Peek() | 0x20);
    isFloat = true;
    Advance();
  }
  if (IsIdentChar(Peek())) Error("Invalid number");
  if (isFloat) {
    kind_ = TToken::Float;
    return;
  }
  kind_ = TToken::Integer;
  const auto parsed =
      std::from_chars(text_token_.data(), text_token_.data() + text_token_.size(), integer_);
  if (parsed.ec != std::errc()) Error("Integer out of range");
}

// Quoted parts and character codes, one after the other without blanks.
void TLexer::ReadString() {
  kind_ = TToken::String;
  wide_ = false;
  units_.clear();
  while (Peek() == '\'' || Peek() == '#') {
    if (Peek() == '\'') {
      ReadQuoted();
    } else {
      ReadCharCode();
    }
  }
}

void TLexer::ReadQuoted() {
  Advance();
  for (;;) {
    if (pos_ >= text_.size() || Peek() == '\n' || Peek() == '\r') {
      ErrorHere("Unterminated string");
    }
    const auto c = static_cast<unsigned char>(Peek());
    if (c == '\'') {
      Advance();
      if (Peek() != '\'') return;
    }
    if (c < 0x80) {
      units_.push_back(c);
      Advance();
      continue;
    }
    // UTF-8 beyond ASCII makes the string wide.
    std::int32_t at = static_cast<std::int32_t>(pos_);
    UChar32 codePoint = 0;
    U8_NEXT(reinterpret_cast<const std::uint8_t*>(text_.data()), at,
            static_cast<std::int32_t>(text_.size()), codePoint);
    if (codePoint < 0) ErrorHere("Invalid UTF-8 text");
    while (pos_ < static_cast<std::size_t>(at))
      Advance();
    char16_t pair[2];
    std::int32_t length = 0;
    U16_APPEND_UNSAFE(pair, length, codePoint);
    units_.append(pair, static_cast<std::size_t>(length));
    wide_ = true;
  }
}

void TLexer::ReadCharCode() {
  const int line = line_;
  const int column = column_;
  Advance();
  std::uint64_t code = 0;
  if (Peek() == '$') {
    Advance();
    code = ReadDigits(16);
  } else {
    code = ReadDigits(10);
  }
  if (code > 0xFFFF) throw EParserError("Invalid character code", line, column);
  if (code > 0xFF) wide_ = true;
  units_.push_back(static_cast<char16_t>(code));
}

std::vector<std::uint8_t> TLexer::ReadHex() {
  std::vector<std::uint8_t> bytes;
  int high = -1;
  for (;;) {
    while (pos_ < text_.size() && IsBlank(Peek()))
      Advance();
    if (pos_ >= text_.size()) ErrorHere("'}' expected");
    if (Peek() == '}' && high < 0) break;
    const int digit = HexValue(Peek());
    if (digit < 0) ErrorHere("Invalid binary value");
    if (high < 0) {
      high = digit;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
      high = -1;
    }
    Advance();
  }
  Advance();
  tokenEnd_ = pos_;
  Next();
  return bytes;
}

// The grammar of a text form, written out through a TWriter.
class TTextFormParser {
 public:
  TTextFormParser(std::string_view text, TWriter& writer, TFormTextMap* map)
      : lexer_(text), writer_(writer), map_(map), text_(text) {}

  void Convert() {
    writer_.WriteSignature();
    ParseObject(0);
    if (lexer_.Kind() != TToken::End) lexer_.Error("End of file expected");
  }

 private:
  void Nest(int depth) const {
    if (depth >= kMaxStreamNesting) lexer_.Error("Nesting too deep");
  }
  bool AtObjectStart() const {
    return (lexer_.IsName("object") || lexer_.IsName("inherited") || lexer_.IsName("inline")) &&
           !lexer_.NameStartsProperty();
  }
  bool AtEnd() const { return lexer_.IsName("end") && !lexer_.NameStartsProperty(); }
  void Expect(char symbol) {
    if (!lexer_.IsSymbol(symbol)) lexer_.Error(std::string("'") + symbol + "' expected");
    lexer_.Next();
  }
  void ExpectEnd() {
    if (!AtEnd()) lexer_.Error("'end' expected");
    lexer_.Next();
  }
  std::string ParseName();
  std::string ParseDottedName();
  void WriteName(const std::string& name);
  void ParseObject(int depth);
  TFilerFlags ParseObjectKind();
  int ParseIndex();
  void ParseProperty(int depth);
  void ParseValue(int depth);
  void ParseFloat();
  void ParseString();
  void ParseSet();
  void ParseList(int depth);
  void ParseCollection(int depth);

  // The start of the line that `at` lies on.
  std::size_t LineStart(std::size_t at) const {
    const std::size_t newline = text_.rfind('\n', at == 0 ? 0 : at - 1);
    return at == 0 || newline == std::string_view::npos ? 0 : newline + 1;
  }

  TLexer lexer_;
  TWriter& writer_;
  TFormTextMap* map_;
  std::string_view text_;
};

std::string TTextFormParser::ParseName() {
  if (lexer_.Kind() != TToken::Name) lexer_.Error("Identifier expected");
  std::string name = lexer_.Text();
  lexer_.Next();
  return name;
}

std::string TTextFormParser::ParseDottedName() {
  std::string name = ParseName();
  while (lexer_.IsSymbol('.')) {
    lexer_.Next();
    name += '.' + ParseName();
  }
  return name;
}

void TTextFormParser::WriteName(const std::string& name) {
  if (name.size() > 255) lexer_.Error("Name too long");
  writer_.WriteStr(name);
}

TFilerFlags TTextFormParser::ParseObjectKind() {
  if (lexer_.IsName("object")) {
    lexer_.Next();
    return {};
  }
  if (lexer_.IsName("inline")) {
    lexer_.Next();
    return {ffInline};
  }
  if (!lexer_.IsName("inherited")) lexer_.Error("'object' expected");
  lexer_.Next();
  // "inherited inline Frame1: TFrame1"; but "inherited inline: TFrame1" names a component.
  if (lexer_.IsName("inline") && lexer_.Following() != ':') {
    lexer_.Next();
    return {ffInherited, ffInline};
  }
  return {ffInherited};
}

void TTextFormParser::ParseObject(int depth) {
  Nest(depth);
  TFilerFlags flags = ParseObjectKind();
  std::string name;
  std::string className = ParseDottedName();
  if (lexer_.IsSymbol(':')) {
    if (className.find('.') != std::string::npos) lexer_.Error("':' not expected");
    lexer_.Next();
    name = std::exchange(className, ParseDottedName());
  }
  int childPos = 0;
  if (lexer_.IsSymbol('[')) {
    childPos = ParseIndex();
    flags.Include(ffChildPos);
  }
  if (className.size() > 255 || name.size() > 255) lexer_.Error("Name too long");
  writer_.WriteComponentHeader(flags, childPos, className, name);
  while (!AtEnd() && !AtObjectStart()) {
    if (lexer_.Kind() == TToken::End) lexer_.Error("'end' expected");
    ParseProperty(depth);
  }
  if (map_ != nullptr) map_->propertiesEnds[writer_.Position()] = LineStart(lexer_.TokenStart());
  writer_.WriteListEnd();
  while (AtObjectStart())
    ParseObject(depth + 1);
  writer_.WriteListEnd();
  ExpectEnd();
}

// "[n]": a child position or an item index, a 32-bit integer as the stream keeps them.
int TTextFormParser::ParseIndex() {
  lexer_.Next();
  if (lexer_.Kind() != TToken::Integer || lexer_.Integer() < std::numeric_limits<int>::min() ||
      lexer_.Integer() > std::numeric_limits<int>::max()) {
    lexer_.Error("Integer expected");
  }
  const int index = static_cast<int>(lexer_.Integer());
  lexer_.Next();
  Expect(']');
  return index;
}

void TTextFormParser::ParseProperty(int depth) {
  if (map_ != nullptr) map_->starts[writer_.Position()] = LineStart(lexer_.TokenStart());
  WriteName(ParseDottedName());
  if (map_ != nullptr && lexer_.IsSymbol('=')) map_->starts[writer_.Position()] = lexer_.TokenEnd();
  Expect('=');
  ParseValue(depth);
  if (map_ != nullptr) map_->valueEnds[writer_.Position()] = lexer_.PreviousEnd();
}

void TTextFormParser::ParseValue(int depth) {
  switch (lexer_.Kind()) {
    case TToken::Integer:
      writer_.WriteInteger(lexer_.Integer());
      return lexer_.Next();
    case TToken::Float:
      return ParseFloat();
    case TToken::String:
      return ParseString();
    case TToken::Name: {
      const std::string ident = ParseDottedName();
      if (ident.size() > 255) lexer_.Error("Name too long");
      return writer_.WriteIdent(ident);
    }
    case TToken::Symbol:
      if (lexer_.IsSymbol('[')) return ParseSet();
      if (lexer_.IsSymbol('(')) return ParseList(depth);
      if (lexer_.IsSymbol('<')) return ParseCollection(depth);
      if (lexer_.IsSymbol('{')) return writer_.WriteBinary(lexer_.ReadHex());
      break;
    case TToken::End:
      break;
  }
  lexer_.Error("Invalid property value");
}

// Currency is stored in ten-thousandths: at most four decimals, read exactly.
std::int64_t ParseCurrency(const std::string& text, bool& valid) {
  const std::size_t dot = text.find('.');
  std::string digits = text.substr(0, dot);
  if (dot != std::string::npos) {
    const std::string fraction = text.substr(dot + 1);
    valid = fraction.size() <= 4 && fraction.find_first_of("eE") == std::string::npos;
    digits += fraction + std::string(4 - std::min<std::size_t>(fraction.size(), 4), '0');
  } else {
    valid = text.find_first_of("eE") == std::string::npos;
    digits += "0000";
  }
  std::int64_t value = 0;
  const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  valid = valid && parsed.ec == std::errc() && parsed.ptr == digits.data() + digits.size();
  return value;
}

void TTextFormParser::ParseFloat() {
  // A std::string, so ended by a null, which the library's float conversion may look for.
  const std::string& text = lexer_.Text();
  const char* first = text.data();
  const char* last = text.data() + text.size();
  bool valid = false;
  switch (lexer_.FloatSuffix()) {
    case 's': {
      float value = 0;
      valid = std::from_chars(first, last, value).ec == std::errc();
      if (valid) writer_.WriteSingle(value);
      break;
    }
    case 'd': {
      double value = 0;
      valid = std::from_chars(first, last, value).ec == std::errc();
      if (valid) writer_.WriteDate(value);
      break;
    }
    case 'c': {
      const std::int64_t value = ParseCurrency(text, valid);
      if (valid) {
        writer_.WriteValue(vaCurrency);
        std::uint8_t bytes[8];
        for (int i = 0; i < 8; ++i)
          bytes[i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i));
        writer_.Write(bytes, sizeof bytes);
      }
      break;
    }
    default: {
      long double value = 0;
      valid = std::from_chars(first, last, value).ec == std::errc();
      if (valid) {
        writer_.WriteValue(vaExtended);
        const TExtendedBytes bytes = EncodeExtended(value);
        writer_.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
      }
    }
  }
  if (!valid) lexer_.Error("Invalid floating point value");
  lexer_.Next();
}

void TTextFormParser::ParseString() {
  std::u16string units;
  bool wide = false;
  for (;;) {
    units += lexer_.Units();
    wide = wide || lexer_.Wide();
    lexer_.Next();
    if (!lexer_.IsSymbol('+')) break;
    lexer_.Next();
    if (lexer_.Kind() != TToken::String) lexer_.Error("String expected");
  }
  if (wide) return writer_.WriteWideString(units);
  std::string bytes;
  bytes.reserve(units.size());
  for (char16_t unit : units)
    bytes.push_back(static_cast<char>(unit));
  writer_.WriteString(bytes);
}

void TTextFormParser::ParseSet() {
  lexer_.Next();
  writer_.WriteValue(vaSet);
  if (!lexer_.IsSymbol(']')) {
    for (;;) {
      WriteName(ParseName());
      if (lexer_.IsSymbol(']')) break;
      Expect(',');
    }
  }
  writer_.WriteStr("");
  lexer_.Next();
}

void TTextFormParser::ParseList(int depth) {
  Nest(depth + 1);
  lexer_.Next();
  writer_.WriteListBegin();
  while (!lexer_.IsSymbol(')')) {
    if (lexer_.Kind() == TToken::End) lexer_.Error("')' expected");
    ParseValue(depth + 1);
  }
  writer_.WriteListEnd();
  lexer_.Next();
}

void TTextFormParser::ParseCollection(int depth) {
  Nest(depth + 1);
  lexer_.Next();
  writer_.WriteValue(vaCollection);
  while (lexer_.IsName("item")) {
    lexer_.Next();
    if (lexer_.IsSymbol('[')) writer_.WriteInteger(ParseIndex());
    writer_.WriteListBegin();
    while (!AtEnd()) {
      if (lexer_.Kind() == TToken::End) lexer_.Error("'end' expected");
      ParseProperty(depth + 1);
    }
    writer_.WriteListEnd();
    lexer_.Next();
  }
  if (!lexer_.IsSymbol('>')) lexer_.Error("'>' expected");
  writer_.WriteListEnd();
  lexer_.Next();
}

}  // namespace

std::vector<std::uint8_t> FormTextToBinary(std::string_view text, TFormTextMap* map) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    TTextFormParser(text, writer, map).Convert();
    writer.FlushBuffer();
  }
  return stream.Bytes();
}

std::string FormTextFromCodePage(std::string_view text, platform::CodePage codePage) {
  if (!platform::IsValidCodePage(codePage)) {
    throw platform::EConvertError("Code page " + std::to_string(codePage) + " is not installed");
  }
  // UTF-8 is what the parser reads, and checks, itself.
  if (platform::ResolveCodePage(codePage) == platform::CP_UTF8) return std::string(text);
  const std::u16string wide = platform::MultiByteToWide(text, codePage);
  // The conversion puts U+FFFD for bytes that are no character of the code page; unless the
  // code page can hold U+FFFD itself, that is text in another code page, and no guess is kept.
  const std::size_t bad = wide.find(u'\uFFFD');
  if (bad != std::u16string::npos && !platform::CanEncode(u"\uFFFD", codePage)) {
    const std::u16string_view before = std::u16string_view(wide).substr(0, bad);
    const std::size_t lineStart = before.rfind(u'\n') + 1;  // npos + 1 is 0
    const auto line = static_cast<int>(std::count(before.begin(), before.end(), u'\n')) + 1;
    const std::u16string_view lineText = before.substr(lineStart);
    const auto column =
        static_cast<int>(std::count_if(lineText.begin(), lineText.end(),
                                       [](char16_t unit) { return !U16_IS_TRAIL(unit); })) +
        1;
    throw EParserError("Invalid text in code page " + std::to_string(codePage), line, column);
  }
  return platform::WideToMultiByte(wide, platform::CP_UTF8);
}

void ObjectTextToBinary(TStream& input, TStream& output) {
  std::string text(static_cast<std::size_t>(std::max<std::int64_t>(0, input.Remaining())), '\0');
  input.ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
  const std::vector<std::uint8_t> bytes = FormTextToBinary(text);
  output.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

}  // namespace lx::framework
