// The fields of the language and locale records, in the order each stored form holds them,
// walked alike by every reader and writer of the engine: the dictionary file (TLxPLDFile),
// the binary data embedded in forms (TLxCustomFileDictionary) and its older list form
// (TLxReader). A stored form says how it moves each kind of field through a TLxRecordIo;
// the walk names the fields once, so that all the forms agree by construction.
#pragma once

#include <cstdint>
#include <string>

#include "lang/LxRecords.h"

namespace lx::dict {

/// The stored forms of records. The dictionary file orders the language's fields its own
/// way and carries ISO codes from version 2 and the character set from version 3; the list
/// form carries the character set from version 2.
enum class TLxRecordLayout : std::uint8_t { kFile, kData, kList };

/// How one stored form moves each kind of field; `reading` tells which way.
class TLxRecordIo {
 public:
  TLxRecordIo(TLxRecordLayout layout, int version, bool reading)
      : layout_(layout), version_(version), reading_(reading) {}
  virtual ~TLxRecordIo() = default;

  TLxRecordLayout Layout() const { return layout_; }
  bool Reading() const { return reading_; }
  bool HasIsoCodes() const { return layout_ == TLxRecordLayout::kFile && version_ >= 2; }
  bool HasCharset() const;

  /// Ids, code pages and character sets.
  virtual void Word(int& value) = 0;
  /// Numbers of one byte: sizes, formats, calendar values.
  virtual void Small(int& value) = 0;
  virtual void Flag(bool& value) = 0;
  /// The language's flags as bits (bit 0 lfUser, bit 1 lfAnyCodePage).
  virtual void FlagBits(std::uint8_t& bits) = 0;
  /// A separator character; `codePage` 0 stands for the text code page, as for texts.
  virtual void Char(char& value, int codePage) = 0;
  virtual void Text(std::string& value, int codePage) = 0;
  /// A two-letter ISO code (only where HasIsoCodes); `keep` false passes it by.
  virtual void IsoCode(std::string& value, bool keep) = 0;

 private:
  TLxRecordLayout layout_;
  int version_;
  bool reading_;
};

/// Moves every stored field of `language` through `io` (a writer leaves it as it is).
void LanguageFields(TLxRecordIo& io, lang::TLxLanguage& language);
/// Moves every stored field of `locale` through `io` (a writer leaves it as it is).
void LocaleFields(TLxRecordIo& io, lang::TLxLocale& locale);

}  // namespace lx::dict
