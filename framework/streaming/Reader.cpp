// TReader: the buffer, the values and skipping. Components are read in ReaderComponents.cpp.
#include <algorithm>
#include <bit>
#include <cstring>

#include "framework/streaming/Extended.h"
#include "framework/streaming/Filer.h"
#include "platform/CodePages.h"
#include "platform/TextUtils.h"

namespace lx::framework {

namespace {

// Texts are read in pieces, so that a length field larger than the stream costs no more
// memory than the bytes that are really there.
constexpr std::int64_t kPiece = 64 * 1024;

bool IsIntegerKind(TValueType kind) {
  return kind == vaInt8 || kind == vaInt16 || kind == vaInt32;
}

bool IsStringKind(TValueType kind) {
  return kind == vaString || kind == vaLString || kind == vaWString || kind == vaUTF8String;
}

}  // namespace

void TReader::FlushBuffer() {
  const auto unread = static_cast<std::int64_t>(bufEnd_ - bufPos_);
  if (unread > 0) Stream().Seek(-unread, TSeekOrigin::soCurrent);
  bufPos_ = bufEnd_ = 0;
}

std::int64_t TReader::Position() {
  return Stream().Position() - static_cast<std::int64_t>(bufEnd_ - bufPos_);
}

// Refills the buffer once it is used up; the stream's end is a read error.
void TReader::Fill() {
  const std::int64_t got = Stream().Read(buffer_.data(), static_cast<std::int64_t>(buffer_.size()));
  if (got <= 0) throw platform::EReadError("Stream read error");
  bufPos_ = 0;
  bufEnd_ = static_cast<std::size_t>(got);
}

void TReader::Read(void* buffer, std::int64_t count) {
  auto* dest = static_cast<std::uint8_t*>(buffer);
  while (count > 0) {
    if (bufPos_ == bufEnd_) Fill();
    const auto piece = std::min<std::int64_t>(count, static_cast<std::int64_t>(bufEnd_ - bufPos_));
    std::memcpy(dest, buffer_.data() + bufPos_, static_cast<std::size_t>(piece));
    bufPos_ += static_cast<std::size_t>(piece);
    dest += piece;
    count -= piece;
  }
}

void TReader::SkipBytes(std::int64_t count) {
  while (count > 0) {
    if (bufPos_ == bufEnd_) Fill();
    const auto piece = std::min<std::int64_t>(count, static_cast<std::int64_t>(bufEnd_ - bufPos_));
    bufPos_ += static_cast<std::size_t>(piece);
    count -= piece;
  }
}

std::uint8_t TReader::ReadByte() {
  if (bufPos_ == bufEnd_) Fill();
  return buffer_[bufPos_++];
}

template <typename T>
T TReader::ReadLittleEndian() {
  std::uint8_t bytes[sizeof(T)];
  Read(bytes, sizeof(T));
  std::make_unsigned_t<T> value = 0;
  for (std::size_t i = sizeof(T); i-- > 0;)
    value = static_cast<std::make_unsigned_t<T>>((value << 8) | bytes[i]);
  return static_cast<T>(value);
}

TReader::TNesting::TNesting(TReader& reader) : reader_(reader) {
  if (reader_.nesting_ >= kMaxStreamNesting) {
    throw platform::EReadError("Stream nesting too deep");
  }
  ++reader_.nesting_;
}

void TReader::PropValueError() {
  throw platform::EReadError("Invalid property value");
}

TValueType TReader::ReadValue() {
  return static_cast<TValueType>(ReadByte());
}

TValueType TReader::NextValue() {
  if (bufPos_ == bufEnd_) Fill();
  return static_cast<TValueType>(buffer_[bufPos_]);
}

bool TReader::EndOfList() {
  return NextValue() == vaNull;
}

void TReader::CheckValue(TValueType kind) {
  if (NextValue() != kind) PropValueError();
  ReadValue();
}

void TReader::ReadListBegin() {
  CheckValue(vaList);
}

void TReader::ReadListEnd() {
  CheckValue(vaNull);
}

int TReader::ReadInteger() {
  switch (NextValue()) {
    case vaInt8:
      ReadValue();
      return ReadLittleEndian<std::int8_t>();
    case vaInt16:
      ReadValue();
      return ReadLittleEndian<std::int16_t>();
    case vaInt32:
      ReadValue();
      return ReadLittleEndian<std::int32_t>();
    default:
      PropValueError();
  }
}

std::int64_t TReader::ReadInt64() {
  if (NextValue() != vaInt64) return ReadInteger();
  ReadValue();
  return ReadLittleEndian<std::int64_t>();
}

bool TReader::ReadBoolean() {
  const TValueType kind = NextValue();
  if (kind != vaTrue && kind != vaFalse) PropValueError();
  ReadValue();
  return kind == vaTrue;
}

char TReader::ReadChar() {
  if (!IsStringKind(NextValue())) PropValueError();
  const std::string text = ReadString();
  if (text.size() != 1) PropValueError();
  return text[0];
}

char16_t TReader::ReadWideChar() {
  if (!IsStringKind(NextValue())) PropValueError();
  const std::u16string text = ReadWideString();
  if (text.size() != 1) PropValueError();
  return text[0];
}

double TReader::ReadFloat() {
  switch (NextValue()) {
    case vaExtended: {
      ReadValue();
      TExtendedBytes bytes;
      Read(bytes.data(), bytes.size());
      return static_cast<double>(DecodeExtended(bytes));
    }
    case vaSingle:
      return ReadSingle();
    case vaDate:
      return ReadDate();
    case vaCurrency:
      return ReadCurrency();
    case vaInt64:
      return static_cast<double>(ReadInt64());
    default:
      return ReadInteger();
  }
}

float TReader::ReadSingle() {
  CheckValue(vaSingle);
  return std::bit_cast<float>(ReadLittleEndian<std::uint32_t>());
}

double TReader::ReadCurrency() {
  CheckValue(vaCurrency);
  return static_cast<double>(ReadLittleEndian<std::int64_t>()) / 10000.0;
}

double TReader::ReadDate() {
  CheckValue(vaDate);
  return std::bit_cast<double>(ReadLittleEndian<std::uint64_t>());
}

std::string TReader::ReadBytesAsString(std::int64_t count) {
  std::string text;
  while (count > 0) {
    const std::int64_t piece = std::min(count, kPiece);
    const std::size_t at = text.size();
    text.resize(at + static_cast<std::size_t>(piece));
    Read(text.data() + at, piece);
    count -= piece;
  }
  return text;
}

std::string TReader::ReadUtf8Bytes() {
  return ReadBytesAsString(ReadLittleEndian<std::uint32_t>());
}

std::u16string TReader::ReadUtf16() {
  std::int64_t count = ReadLittleEndian<std::uint32_t>();
  std::u16string text;
  std::uint8_t piece[2 * 4096];
  while (count > 0) {
    const std::int64_t units = std::min<std::int64_t>(count, sizeof piece / 2);
    Read(piece, 2 * units);
    for (std::int64_t i = 0; i < units; ++i)
      text.push_back(static_cast<char16_t>(piece[2 * i] | (piece[2 * i + 1] << 8)));
    count -= units;
  }
  return text;
}

std::string TReader::ReadString() {
  switch (ReadValue()) {
    case vaString:
      return ReadBytesAsString(ReadByte());
    case vaLString:
      return ReadBytesAsString(ReadLittleEndian<std::uint32_t>());
    case vaWString:
      return platform::WideToMultiByte(ReadUtf16(), platform::CP_ACP);
    case vaUTF8String:
      return platform::WideToMultiByte(
          platform::MultiByteToWide(ReadUtf8Bytes(), platform::CP_UTF8), platform::CP_ACP);
    default:
      --bufPos_;
      PropValueError();
  }
}

std::u16string TReader::ReadWideString() {
  switch (ReadValue()) {
    case vaString:
      return platform::MultiByteToWide(ReadBytesAsString(ReadByte()), platform::CP_ACP);
    case vaLString:
      return platform::MultiByteToWide(ReadBytesAsString(ReadLittleEndian<std::uint32_t>()),
                                       platform::CP_ACP);
    case vaWString:
      return ReadUtf16();
    case vaUTF8String:
      return platform::MultiByteToWide(ReadUtf8Bytes(), platform::CP_UTF8);
    default:
      --bufPos_;
      PropValueError();
  }
}

std::string TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent:
      return ReadStr();
    case vaFalse:
      return "False";
    case vaTrue:
      return "True";
    case vaNil:
      return "nil";
    default:
      --bufPos_;
      PropValueError();
  }
}

std::uint64_t TReader::ReadSet(const TEnumInfo& elements) {
  CheckValue(vaSet);
  std::uint64_t mask = 0;
  for (std::string name = ReadStr(); !name.empty(); name = ReadStr()) {
    const int element = elements.ValueOf(name);
    if (element < 0 || element >= 64) PropValueError();
    mask |= std::uint64_t{1} << element;
  }
  return mask;
}

std::vector<std::uint8_t> TReader::ReadBinary() {
  CheckValue(vaBinary);
  std::int64_t count = ReadLittleEndian<std::uint32_t>();
  std::vector<std::uint8_t> bytes;
  while (count > 0) {
    const std::int64_t piece = std::min(count, kPiece);
    const std::size_t at = bytes.size();
    bytes.resize(at + static_cast<std::size_t>(piece));
    Read(bytes.data() + at, piece);
    count -= piece;
  }
  return bytes;
}

void TReader::ReadSignature() {
  char signature[4];
  Read(signature, sizeof signature);
  if (std::string_view(signature, sizeof signature) != kFormSignature) {
    throw platform::EReadError("Invalid stream format");
  }
}

void TReader::ReadPrefix(TFilerFlags& flags, int& childPos) {
  flags = {};
  childPos = -1;
  const auto prefix = static_cast<std::uint8_t>(NextValue());
  if ((prefix & 0xF0) != 0xF0) return;
  // Only the three known flags exist; any other bit is no prefix this reader understands.
  if ((prefix & 0x08) != 0) throw platform::EReadError("Invalid stream format");
  ReadValue();
  flags = TFilerFlags::FromMask(prefix & 0x07);
  if (flags.Contains(ffChildPos)) childPos = ReadInteger();
}

std::string TReader::ReadStr() {
  return ReadBytesAsString(ReadByte());
}

void TReader::SkipSetElements() {
  while (!ReadStr().empty()) {
  }
}

void TReader::SkipCollection() {
  while (!EndOfList()) {
    if (IsIntegerKind(NextValue())) SkipValue();
    ReadListBegin();
    while (!EndOfList())
      SkipProperty();
    ReadListEnd();
  }
  ReadListEnd();
}

void TReader::SkipValue() {
  const TValueType kind = ReadValue();
  switch (kind) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
      return;
    case vaList: {
      TNesting nesting(*this);
      while (!EndOfList())
        SkipValue();
      ReadListEnd();
      return;
    }
    case vaInt8:
      return SkipBytes(1);
    case vaInt16:
      return SkipBytes(2);
    case vaInt32:
    case vaSingle:
      return SkipBytes(4);
    case vaExtended:
      return SkipBytes(10);
    case vaString:
    case vaIdent:
      return SkipBytes(ReadByte());
    case vaBinary:
    case vaLString:
    case vaUTF8String:
      return SkipBytes(ReadLittleEndian<std::uint32_t>());
    case vaWString:
      return SkipBytes(2 * std::int64_t{ReadLittleEndian<std::uint32_t>()});
    case vaSet:
      return SkipSetElements();
    case vaCollection: {
      TNesting nesting(*this);
      return SkipCollection();
    }
    case vaCurrency:
    case vaDate:
    case vaInt64:
      return SkipBytes(8);
  }
  throw platform::EReadError("Unknown property value: " + std::to_string(static_cast<int>(kind)));
}

void TReader::SkipProperty() {
  ReadStr();
  SkipValue();
}

void TReader::SkipComponent(bool skipHeader) {
  TNesting nesting(*this);
  if (skipHeader) {
    TFilerFlags flags;
    int childPos = 0;
    ReadPrefix(flags, childPos);
    ReadStr();
    ReadStr();
  }
  while (!EndOfList())
    SkipProperty();
  ReadListEnd();
  while (!EndOfList())
    SkipComponent(true);
  ReadListEnd();
}

}  // namespace lx::framework
