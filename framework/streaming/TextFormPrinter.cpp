// Binary form stream to text form.
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

#include "framework/streaming/Extended.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/TextForm.h"
#include "platform/CodePages.h"
#include "platform/TextUtils.h"

namespace lx::framework {

namespace {

constexpr std::size_t kStringPieceLength = 64;
constexpr std::size_t kHexBytesPerLine = 32;

struct TTextItem;

// A value read from the stream, laid out once it is whole.
struct TTextValue {
  enum class TShape { Atom, String, List, Collection, Binary };
  TShape shape = TShape::Atom;
  std::string text;                 // an atom's text; the hex digits of binary data
  std::vector<std::string> pieces;  // a string's pieces
  std::vector<TTextValue> items;
  std::vector<TTextItem> entries;
};

struct TTextItem {
  std::string index;
  std::vector<std::pair<std::string, TTextValue>> properties;
};

bool IsIdent(std::string_view name) {
  auto start = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (name.empty() || !start(name.front())) return false;
  for (char c : name) {
    if (!start(c) && !(c >= '0' && c <= '9')) return false;
  }
  return true;
}

bool IsDottedIdent(std::string_view name) {
  for (;;) {
    const std::size_t dot = name.find('.');
    if (!IsIdent(name.substr(0, dot))) return false;
    if (dot == std::string_view::npos) return true;
    name.remove_prefix(dot + 1);
  }
}

// A name that text cannot carry is refused rather than written as text that does not parse.
[[noreturn]] void RefuseName(const std::string& name) {
  std::string shown;
  for (char c : name)
    shown += c >= ' ' && c < 127 ? c : '?';
  throw platform::EReadError("Invalid name in form stream: '" + shown + "'");
}

const std::string& CheckedName(const std::string& name, bool dotted, bool mayBeEmpty = false) {
  if ((mayBeEmpty && name.empty()) || (dotted ? IsDottedIdent(name) : IsIdent(name))) return name;
  RefuseName(name);
}

// Quoted runs of printable text and #n codes for everything else, cut into pieces of
// kStringPieceLength characters (a code counts as one), which a long string is written as.
class TStringText {
 public:
  void Printable(const char* text, std::size_t length) {
    NextCharacter();
    if (!quoted_) piece_ += '\'';
    quoted_ = true;
    for (std::size_t i = 0; i < length; ++i) {
      if (text[i] == '\'') piece_ += '\'';
      piece_ += text[i];
    }
  }
  void Code(unsigned code) {
    NextCharacter();
    if (quoted_) piece_ += '\'';
    quoted_ = false;
    piece_ += '#' + std::to_string(code);
  }
  std::vector<std::string> Pieces() {
    if (piece_.empty()) return {"''"};
    EndPiece();
    return std::move(pieces_);
  }

 private:
  void NextCharacter() {
    if (count_ == kStringPieceLength) EndPiece();
    ++count_;
  }
  void EndPiece() {
    if (quoted_) piece_ += '\'';
    pieces_.push_back(std::move(piece_));
    piece_.clear();
    quoted_ = false;
    count_ = 0;
  }

  std::vector<std::string> pieces_;
  std::string piece_;
  std::size_t count_ = 0;
  bool quoted_ = false;
};

std::vector<std::string> NarrowStringText(const std::string& bytes) {
  TStringText text;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte < 127) {
      text.Printable(&c, 1);
    } else {
      text.Code(byte);
    }
  }
  return text.Pieces();
}

std::vector<std::string> WideStringText(const std::u16string& units) {
  TStringText text;
  const auto length = static_cast<std::int32_t>(units.size());
  for (std::int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U16_NEXT(units.data(), i, length, c);
    if (U_IS_SURROGATE(c) || c < 32 || c == 127) {
      text.Code(static_cast<unsigned>(c));
    } else {
      char bytes[4];
      std::int32_t size = 0;
      U8_APPEND_UNSAFE(bytes, size, c);
      text.Printable(bytes, static_cast<std::size_t>(size));
    }
  }
  return text.Pieces();
}

// The shortest text that reads back as `value`. Infinities, NaNs and the subnormal values
// that the parser's number conversion refuses have no text. The text is ended by a null
// before it is read back: the library's conversion may look past the given end for one.
template <typename F>
std::string ShortestText(F value) {
  if (!std::isfinite(value)) throw platform::EReadError("Invalid floating point value");
  char text[64];
  const auto written = std::to_chars(text, text + sizeof text - 1, value);
  if (written.ec != std::errc()) throw platform::EReadError("Invalid floating point value");
  *written.ptr = '\0';
  F back = 0;
  const auto parsed = std::from_chars(text, written.ptr, back);
  if (parsed.ec != std::errc() || back != value) {
    throw platform::EReadError("Invalid floating point value");
  }
  return std::string(text, written.ptr);
}

// An extended float needs a point or an exponent to be told from an integer.
std::string ExtendedText(long double value) {
  std::string text = ShortestText(value);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

std::string CurrencyText(std::int64_t value) {
  const bool negative = value < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / 10000);
  std::string fraction = std::to_string(magnitude % 10000);
  fraction.insert(0, 4 - fraction.size(), '0');
  while (!fraction.empty() && fraction.back() == '0')
    fraction.pop_back();
  if (!fraction.empty()) text += '.' + fraction;
  return text + 'c';
}

std::string HexText(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

std::string Spaces(std::size_t count) {
  return std::string(count, ' ');
}

class TTextFormPrinter {
 public:
  /// `narrowCodePage`: the code page of the 8-bit strings, to write them as characters.
  TTextFormPrinter(TReader& reader, std::optional<platform::CodePage> narrowCodePage)
      : reader_(reader), narrowCodePage_(narrowCodePage) {}

  std::string Convert() {
    reader_.ReadSignature();
    PrintObject(0, 0);
    return std::move(out_);
  }
  std::string ConvertValue(std::size_t indent) {
    out_ = " ";
    Render(ReadValue(0), indent);
    return std::move(out_);
  }

 private:
  void Nest(int depth) const {
    if (depth >= kMaxStreamNesting) throw platform::EReadError("Stream nesting too deep");
  }
  void PrintObject(std::size_t indent, int depth);
  TTextValue ReadValue(int depth);
  TTextValue ReadScalar(TValueType kind);
  TTextValue ReadList(int depth);
  TTextValue ReadCollection(int depth);
  std::string ReadSet();
  void Render(const TTextValue& value, std::size_t indent);
  void RenderString(const TTextValue& value, std::size_t indent);
  void RenderCollection(const TTextValue& value, std::size_t indent);
  void RenderProperty(const std::string& name, const TTextValue& value, std::size_t indent);

  TReader& reader_;
  std::optional<platform::CodePage> narrowCodePage_;
  std::string out_;
};

void TTextFormPrinter::PrintObject(std::size_t indent, int depth) {
  Nest(depth);
  TFilerFlags flags;
  int childPos = 0;
  reader_.ReadPrefix(flags, childPos);
  const std::string className = CheckedName(reader_.ReadStr(), true);
  const std::string name = CheckedName(reader_.ReadStr(), false, true);
  // "inherited inline" would read as the flags of a frame.
  if (name.empty() && flags == TFilerFlags{ffInherited} &&
      platform::SameTextAscii(className, "inline")) {
    RefuseName(className);
  }
  out_ += Spaces(indent);
  if (flags.Contains(ffInherited)) {
    out_ += flags.Contains(ffInline) ? "inherited inline " : "inherited ";
  } else {
    out_ += flags.Contains(ffInline) ? "inline " : "object ";
  }
  if (!name.empty()) out_ += name + ": ";
  out_ += className;
  if (flags.Contains(ffChildPos)) out_ += " [" + std::to_string(childPos) + "]";
  out_ += '\n';
  while (!reader_.EndOfList()) {
    const std::string property = CheckedName(reader_.ReadStr(), true);
    RenderProperty(property, ReadValue(depth), indent + 2);
  }
  reader_.ReadListEnd();
  while (!reader_.EndOfList())
    PrintObject(indent + 2, depth + 1);
  reader_.ReadListEnd();
  out_ += Spaces(indent) + "end\n";
}

void TTextFormPrinter::RenderProperty(const std::string& name, const TTextValue& value,
                                      std::size_t indent) {
  out_ += Spaces(indent) + name + " = ";
  Render(value, indent);
  out_ += '\n';
}

TTextValue TTextFormPrinter::ReadValue(int depth) {
  const TValueType kind = reader_.NextValue();
  if (kind == vaList) return ReadList(depth + 1);
  if (kind == vaCollection) return ReadCollection(depth + 1);
  if (kind == vaBinary) {
    return TTextValue{TTextValue::TShape::Binary, HexText(reader_.ReadBinary()), {}, {}, {}};
  }
  return ReadScalar(kind);
}

TTextValue TTextFormPrinter::ReadScalar(TValueType kind) {
  std::string text;
  switch (kind) {
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
      text = std::to_string(reader_.ReadInt64());
      break;
    case vaExtended: {
      reader_.ReadValue();
      TExtendedBytes bytes;
      reader_.Read(bytes.data(), bytes.size());
      text = ExtendedText(DecodeExtended(bytes));
      break;
    }
    case vaSingle:
      text = ShortestText(reader_.ReadSingle()) + 's';
      break;
    case vaDate:
      text = ShortestText(reader_.ReadDate()) + 'd';
      break;
    case vaCurrency: {
      reader_.ReadValue();
      std::uint8_t bytes[8];
      reader_.Read(bytes, sizeof bytes);
      std::uint64_t value = 0;
      for (int i = 7; i >= 0; --i)
        value = (value << 8) | bytes[i];
      text = CurrencyText(static_cast<std::int64_t>(value));
      break;
    }
    case vaString:
    case vaLString: {
      const std::string bytes = reader_.ReadString();
      return TTextValue{TTextValue::TShape::String,
                        {},
                        narrowCodePage_
                            ? WideStringText(platform::MultiByteToWide(bytes, *narrowCodePage_))
                            : NarrowStringText(bytes),
                        {},
                        {}};
    }
    case vaWString:
    case vaUTF8String:
      return TTextValue{
          TTextValue::TShape::String, {}, WideStringText(reader_.ReadWideString()), {}, {}};
    case vaIdent:
    case vaFalse:
    case vaTrue:
    case vaNil:
      text = CheckedName(reader_.ReadIdent(), true);
      break;
    case vaSet:
      text = ReadSet();
      break;
    case vaNull:
      throw platform::EReadError("Invalid property value");
    default:
      throw platform::EReadError("Unknown property value: " +
                                 std::to_string(static_cast<int>(kind)));
  }
  return TTextValue{TTextValue::TShape::Atom, std::move(text), {}, {}, {}};
}

std::string TTextFormPrinter::ReadSet() {
  reader_.ReadValue();
  std::string text = "[";
  for (std::string element = reader_.ReadStr(); !element.empty(); element = reader_.ReadStr()) {
    if (text.size() > 1) text += ", ";
    text += CheckedName(element, false);
  }
  return text + ']';
}

TTextValue TTextFormPrinter::ReadList(int depth) {
  Nest(depth);
  reader_.ReadListBegin();
  TTextValue list{TTextValue::TShape::List, {}, {}, {}, {}};
  while (!reader_.EndOfList())
    list.items.push_back(ReadValue(depth));
  reader_.ReadListEnd();
  return list;
}

TTextValue TTextFormPrinter::ReadCollection(int depth) {
  Nest(depth);
  reader_.ReadValue();
  TTextValue collection{TTextValue::TShape::Collection, {}, {}, {}, {}};
  while (!reader_.EndOfList()) {
    TTextItem item;
    const TValueType next = reader_.NextValue();
    if (next == vaInt8 || next == vaInt16 || next == vaInt32) {
      item.index = std::to_string(reader_.ReadInteger());
    }
    reader_.ReadListBegin();
    while (!reader_.EndOfList()) {
      std::string name = CheckedName(reader_.ReadStr(), true);
      item.properties.emplace_back(std::move(name), ReadValue(depth));
    }
    reader_.ReadListEnd();
    collection.entries.push_back(std::move(item));
  }
  reader_.ReadListEnd();
  return collection;
}

// A list has one item a line, two blanks further in, and closes right after its last item.
void TTextFormPrinter::Render(const TTextValue& value, std::size_t indent) {
  switch (value.shape) {
    case TTextValue::TShape::Atom:
      out_ += value.text;
      return;
    case TTextValue::TShape::String:
      return RenderString(value, indent);
    case TTextValue::TShape::Binary:
      out_ += '{';
      for (std::size_t at = 0; at < value.text.size(); at += 2 * kHexBytesPerLine)
        out_ += '\n' + Spaces(indent + 2) + value.text.substr(at, 2 * kHexBytesPerLine);
      out_ += '}';
      return;
    case TTextValue::TShape::Collection:
      return RenderCollection(value, indent);
    case TTextValue::TShape::List:
      break;
  }
  out_ += '(';
  for (const TTextValue& item : value.items) {
    out_ += '\n' + Spaces(indent + 2);
    Render(item, indent + 2);
  }
  out_ += ')';
}

// A string of one piece stays where it is; a longer one starts on a line of its own, two
// blanks further in, one piece a line, joined by '+' (as the designers lay them out).
void TTextFormPrinter::RenderString(const TTextValue& value, std::size_t indent) {
  if (value.pieces.size() == 1) {
    out_ += value.pieces.front();
    return;
  }
  for (std::size_t i = 0; i < value.pieces.size(); ++i) {
    if (i > 0) out_ += " +";
    out_ += '\n' + Spaces(indent + 2) + value.pieces[i];
  }
}

void TTextFormPrinter::RenderCollection(const TTextValue& value, std::size_t indent) {
  out_ += '<';
  for (const TTextItem& item : value.entries) {
    out_ += '\n' + Spaces(indent + 2) + "item";
    if (!item.index.empty()) out_ += " [" + item.index + ']';
    out_ += '\n';
    for (const auto& [name, propertyValue] : item.properties)
      RenderProperty(name, propertyValue, indent + 4);
    out_ += Spaces(indent + 2) + "end";
  }
  out_ += '>';
}

}  // namespace

namespace {

void BinaryToText(TStream& input, TStream& output, std::optional<platform::CodePage> codePage) {
  std::string text;
  {
    TReader reader(input, 4096);
    text = TTextFormPrinter(reader, codePage).Convert();
    if (reader.Position() != input.Size()) {
      throw platform::EReadError("Unexpected data after the form");
    }
  }
  output.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

std::string BytesToText(std::span<const std::uint8_t> bytes,
                        std::optional<platform::CodePage> codePage) {
  TReadOnlyMemoryStream input(bytes);
  TMemoryStream output;
  BinaryToText(input, output, codePage);
  return std::string(output.Bytes().begin(), output.Bytes().end());
}

}  // namespace

void ObjectBinaryToText(TStream& input, TStream& output) {
  BinaryToText(input, output, std::nullopt);
}

std::string FormBinaryToText(std::span<const std::uint8_t> bytes) {
  return BytesToText(bytes, std::nullopt);
}

std::string FormBinaryToText(std::span<const std::uint8_t> bytes, platform::CodePage codePage) {
  return BytesToText(bytes, codePage);
}

std::string FormValueText(std::span<const std::uint8_t> value, std::size_t indent,
                          std::optional<platform::CodePage> narrowCodePage) {
  TReadOnlyMemoryStream input(value);
  TReader reader(input, 4096);
  std::string text = TTextFormPrinter(reader, narrowCodePage).ConvertValue(indent);
  if (reader.Position() != input.Size()) throw platform::EReadError("Invalid property value");
  return text;
}

}  // namespace lx::framework
