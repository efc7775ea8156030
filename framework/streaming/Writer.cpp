// TWriter: the held bytes and the values. Components are written in WriterComponents.cpp.
#include <bit>
#include <cmath>
#include <exception>
#include <limits>

#include "framework/core/Collection.h"
#include "framework/core/ScopeExit.h"
#include "framework/streaming/Extended.h"
#include "framework/streaming/Filer.h"
#include "platform/TextUtils.h"

namespace lx::framework {

namespace {

template <typename T>
void AppendLittleEndian(std::vector<std::uint8_t>& bytes, T value) {
  auto bits = static_cast<std::make_unsigned_t<T>>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    bytes.push_back(static_cast<std::uint8_t>(bits & 0xFF));
    bits = static_cast<std::make_unsigned_t<T>>(bits >> 8);
  }
}

std::uint32_t CheckedLength(std::size_t length) {
  if (length > std::numeric_limits<std::uint32_t>::max()) {
    throw platform::EWriteError("Value too large for a form stream");
  }
  return static_cast<std::uint32_t>(length);
}

}  // namespace

TWriter::TNesting::TNesting(TWriter& writer) : writer_(writer) {
  if (writer_.nesting_ >= kMaxStreamNesting) {
    throw platform::EWriteError("Stream nesting too deep");
  }
  ++writer_.nesting_;
}

TWriter::TWriter(TStream& stream) : TFiler(stream), uncaught_(std::uncaught_exceptions()) {}

TWriter::~TWriter() {
  // A writer left by an exception holds half a form: it is not written.
  if (std::uncaught_exceptions() > uncaught_) return;
  try {
    FlushBuffer();
  } catch (...) {
    // Nothing can be reported from here; FlushBuffer tells its failure to those who call it.
  }
}

void TWriter::FlushBuffer() {
  if (bytes_.empty()) return;
  Stream().WriteBuffer(bytes_.data(), static_cast<std::int64_t>(bytes_.size()));
  flushed_ += static_cast<std::int64_t>(bytes_.size());
  bytes_.clear();
}

void TWriter::Write(const void* buffer, std::int64_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  if (count > 0) bytes_.insert(bytes_.end(), bytes, bytes + count);
}

void TWriter::WriteValue(TValueType kind) {
  bytes_.push_back(kind);
}

void TWriter::WriteInteger(std::int64_t value) {
  if (value >= -128 && value <= 127) {
    WriteValue(vaInt8);
    AppendLittleEndian(bytes_, static_cast<std::int8_t>(value));
  } else if (value >= -32768 && value <= 32767) {
    WriteValue(vaInt16);
    AppendLittleEndian(bytes_, static_cast<std::int16_t>(value));
  } else if (value >= std::numeric_limits<std::int32_t>::min() &&
             value <= std::numeric_limits<std::int32_t>::max()) {
    WriteValue(vaInt32);
    AppendLittleEndian(bytes_, static_cast<std::int32_t>(value));
  } else {
    WriteValue(vaInt64);
    AppendLittleEndian(bytes_, value);
  }
}

void TWriter::WriteChar(char value) {
  WriteValue(vaString);
  bytes_.push_back(1);
  bytes_.push_back(static_cast<std::uint8_t>(value));
}

void TWriter::WriteWideChar(char16_t value) {
  if (value < 128) return WriteChar(static_cast<char>(value));
  WriteValue(vaWString);
  AppendLittleEndian(bytes_, std::uint32_t{1});
  AppendLittleEndian(bytes_, static_cast<std::uint16_t>(value));
}

void TWriter::WriteFloat(double value) {
  WriteValue(vaExtended);
  const TExtendedBytes bytes = EncodeExtended(ExtendedOfDouble(value));
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void TWriter::WriteSingle(float value) {
  WriteValue(vaSingle);
  AppendLittleEndian(bytes_, std::bit_cast<std::uint32_t>(value));
}

void TWriter::WriteCurrency(double value) {
  const double scaled = std::round(value * 10000.0);
  // 2^63 is the first value outside; its double is exact.
  if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0)) {
    throw platform::EWriteError("Currency value out of range");
  }
  WriteValue(vaCurrency);
  AppendLittleEndian(bytes_, static_cast<std::int64_t>(scaled));
}

void TWriter::WriteDate(double value) {
  WriteValue(vaDate);
  AppendLittleEndian(bytes_, std::bit_cast<std::uint64_t>(value));
}

void TWriter::WriteString(std::string_view value) {
  if (value.size() <= 255) {
    WriteValue(vaString);
    bytes_.push_back(static_cast<std::uint8_t>(value.size()));
  } else {
    WriteValue(vaLString);
    AppendLittleEndian(bytes_, CheckedLength(value.size()));
  }
  bytes_.insert(bytes_.end(), value.begin(), value.end());
}

void TWriter::WriteWideString(std::u16string_view value) {
  bool ascii = true;
  for (char16_t c : value)
    ascii = ascii && c < 128;
  if (ascii) return WriteString(std::string(value.begin(), value.end()));
  WriteValue(vaWString);
  AppendLittleEndian(bytes_, CheckedLength(value.size()));
  for (char16_t c : value)
    AppendLittleEndian(bytes_, static_cast<std::uint16_t>(c));
}

void TWriter::WriteIdent(std::string_view ident) {
  if (platform::SameTextAscii(ident, "False")) return WriteValue(vaFalse);
  if (platform::SameTextAscii(ident, "True")) return WriteValue(vaTrue);
  if (platform::SameTextAscii(ident, "nil")) return WriteValue(vaNil);
  WriteValue(vaIdent);
  WriteStr(ident);
}

void TWriter::WriteSet(const TEnumInfo& elements, std::uint64_t mask) {
  WriteValue(vaSet);
  for (int element = 0; element < elements.Count() && element < 64; ++element) {
    if (((mask >> element) & 1u) != 0) WriteStr(elements.NameOf(element));
  }
  WriteStr("");
}

void TWriter::WriteBinary(std::span<const std::uint8_t> bytes) {
  WriteValue(vaBinary);
  AppendLittleEndian(bytes_, CheckedLength(bytes.size()));
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void TWriter::WriteSignature() {
  Write(kFormSignature.data(), static_cast<std::int64_t>(kFormSignature.size()));
}

void TWriter::WritePrefix(TFilerFlags flags, int childPos) {
  if (flags.Empty()) return;
  bytes_.push_back(static_cast<std::uint8_t>(0xF0 | flags.ToMask()));
  if (flags.Contains(ffChildPos)) WriteInteger(childPos);
}

void TWriter::WriteComponentHeader(TFilerFlags flags, int childPos, std::string_view className,
                                   std::string_view name) {
  if (flags.Empty() && className.size() >= 0xF0) {
    bytes_.push_back(0xF0);
  } else {
    WritePrefix(flags, childPos);
  }
  WriteStr(className);
  WriteStr(name);
}

void TWriter::WriteStr(std::string_view text) {
  if (text.size() > 255) throw platform::EWriteError("String too long for a short string");
  bytes_.push_back(static_cast<std::uint8_t>(text.size()));
  bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void TWriter::WriteCollection(TCollection* collection) {
  // The items are written whole, each for itself: their names start afresh.
  TNesting nesting(*this);
  TScopeExit restore([this, oldAncestor = Ancestor(), oldPath = std::exchange(propPath_, {})] {
    SetAncestor(oldAncestor);
    propPath_ = oldPath;
  });
  SetAncestor(nullptr);
  WriteValue(vaCollection);
  for (int i = 0; collection != nullptr && i < collection->Count(); ++i) {
    WriteListBegin();
    WriteProperties(*collection->Items(i));
    WriteListEnd();
  }
  WriteListEnd();
}

}  // namespace lx::framework
