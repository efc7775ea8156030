// The reader of dictionary images (".pld" files and the same bytes linked as a
// resource): a 42-byte header, then a section of language records (the native
// language first), a section of translation records and an optional section of
// custom locales.
//
// Numbers are little- or big-endian as the header says; texts are a u16 count
// followed by that many bytes (8-bit images, taken as they stand) or UTF-16
// units (converted to the code page of the field, 0 meaning the system's ANSI
// code page, and cut at the first NUL). From version 3 on, language and locale
// records start with their own length, so later versions can append fields.
//
// The image is outside data: counts and offsets are trusted only as far as the
// bytes go. Every read is checked against the end of the image, so a truncated
// header or record raises EReadError "Stream read error" and nothing is read or
// allocated past the end. Reading goes through a buffer over the stream.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Strings.h"
#include "framework/streaming/Streams.h"
#include "lang/LxRecords.h"

namespace lx::dict {

/// The header of an image as stored, with the byte order applied and the fix-up of
/// version 1 images done (their string width sits at offset 7).
struct TLxPLDHeader {
  static constexpr int kSize = 42;

  std::uint8_t Version = 0;
  std::uint8_t LittleEndian = 0;
  std::uint8_t AnsiStrings = 0;
  /// 0 = no key strings, 1 = context and id, 2 = id only, 3 = context only.
  std::uint8_t ContentFlags = 0;
  /// The byte at offset 7: the string width of version 1, unused later (0 after the fix-up).
  std::uint8_t StringWidth = 0;
  std::uint16_t LanguageCount = 0;
  std::uint32_t LanguageOffset = 0;
  std::uint16_t TranslationCount = 0;
  std::uint32_t TranslationOffset = 0;
  std::uint16_t LocaleCount = 0;
  std::uint32_t LocaleOffset = 0;
  /// The fourth section pair: the variant records (plural forms and choices), when an
  /// image of version 2 or later has any; 0 in version 1 images.
  std::uint16_t FourthCount = 0;
  std::uint32_t FourthOffset = 0;

  bool operator==(const TLxPLDHeader&) const = default;
};

/// Reads one image. Open it with `OpenFile` or `OpenStream`, then seek to a section and
/// read its records one after the other. `ReadLanguage` and `ReadLocale` return buffers
/// that the next read overwrites: copy (`Assign`, `Clone`) what you keep.
///
/// A one-character field of a UTF-16 image that holds NUL (a separator of a locale) reads
/// as the character 0, as the same field of an 8-bit image does.
class TLxPLDFile {
 public:
  TLxPLDFile();
  ~TLxPLDFile();
  TLxPLDFile(const TLxPLDFile&) = delete;
  TLxPLDFile& operator=(const TLxPLDFile&) = delete;

  /// Opens the file read-only (EFOpenError when it cannot be opened), reads the header,
  /// checks that language 0 can be read and leaves the reader at the language section.
  void OpenFile(std::string_view fileName);
  /// Takes the stream (file, memory or resource) and reads the header. Raises
  /// Exception "The stream is not a valid PLD stream" for another signature than "PLD".
  void OpenStream(std::unique_ptr<framework::TStream> stream);

  const TLxPLDHeader& Header() const { return header_; }
  int Version() const { return header_.Version; }
  bool LittleEndian() const { return header_.LittleEndian != 0; }
  bool AnsiStrings() const { return header_.AnsiStrings != 0; }
  int ContentFlags() const { return header_.ContentFlags; }
  int LanguageCount() const { return header_.LanguageCount; }
  int TranslationCount() const { return header_.TranslationCount; }
  int LocaleCount() const { return header_.LocaleCount; }
  /// The length of the image in bytes, taken when it was opened.
  std::int64_t Size() const { return size_; }
  /// Where the next read starts. A record whose length runs past the image leaves it
  /// past the image's end (the next read then fails).
  std::int64_t Position() const { return position_; }
  /// Translation records carry a context (flags 1 and 3) or an id (flags 1 and 2).
  bool HasContext() const { return header_.ContentFlags == 1 || header_.ContentFlags == 3; }
  bool HasId() const { return header_.ContentFlags == 1 || header_.ContentFlags == 2; }

  /// Go to the start of a section. An offset of 0 raises "Invalid language offset" or
  /// "Invalid translation offset"; no locales raise "No custom locales", a locale offset
  /// of 0 with a count "Invalid locale offset" (all of the class Exception).
  void SeekLanguages();
  void SeekTranslations();
  void SeekLocales();

  /// The next language record, validated. Every record starts from an empty one.
  lang::TLxLanguage& ReadLanguage();
  /// Language `index` read from the start of the section; null (after the seek) for a
  /// negative index. The index is not compared with the count.
  lang::TLxLanguage* ReadLanguageAt(int index);
  /// The next custom locale, not validated (list separator and sort id stay 0).
  lang::TLxLocale& ReadLocale();
  /// Locale `index` read from the start of the section; null (after the seek) for a
  /// negative index.
  lang::TLxLocale* ReadLocaleAt(int index);

  /// Fills `translation` from the next translation record: its word, context and id, and
  /// as `Translation` the text of language `activeIndex` or else that of `fallbackIndex`
  /// (both converted in `codePage`; index 0 never matches). Returns and sets the `State`;
  /// with neither text `Translation` keeps its value. The other languages' texts are
  /// passed over unread.
  std::uint8_t ReadTranslation(lang::TLxTranslation& translation, int activeIndex,
                               int fallbackIndex, int codePage);
  /// `ReadTranslation` without the keys: passes over the word, context and id and fills
  /// `text` with the chosen translation; returns its state (with neither text `text` keeps
  /// its value).
  std::uint8_t ReadTranslationText(std::string& text, int activeIndex, int fallbackIndex,
                                   int codePage);
  /// The keys of the next translation record (word, context and id), leaving the reader
  /// at the record's language texts; `Position` there is where `SeekTexts` comes back to.
  void ReadTranslationKeys(lang::TLxTranslation& translation);
  /// Goes back to a record's language texts, at a position taken after its keys were read.
  /// Raises EReadError "Stream read error" for a position outside the image.
  void SeekTexts(std::int64_t position);
  /// The chosen translation of a record whose keys were read or passed over: into `text`,
  /// with its state (with neither text `text` keeps its value).
  std::uint8_t ReadTranslationTexts(std::string& text, int activeIndex, int fallbackIndex,
                                    int codePage);
  /// `ReadTranslationTexts` that appends the chosen translation to `target`; the reader may
  /// stop inside the record, since a switch goes on with `SeekTexts`.
  std::uint8_t AppendTranslationTexts(std::string& target, int activeIndex, int fallbackIndex,
                                      int codePage);
  /// The same as a view of the chosen translation (empty when none), good until the next
  /// read.
  std::uint8_t ReadChosenText(std::string_view& text, int activeIndex, int fallbackIndex,
                              int codePage);
  /// The next translation record as views of the read buffer, for 8-bit images: its keys,
  /// the chosen translation (the active language's text, else the fallback's) and its
  /// state, and `textsAt` as `Position` after the keys. False, with nothing read, when the
  /// record does not lie whole in the buffer; the views hold until the next read.
  struct RecordView {
    std::string_view native, context, id, translation;
    std::uint8_t state = 0;
    std::int64_t textsAt = 0;
  };
  bool ReadRecordInWindow(int activeIndex, int fallbackIndex, RecordView& record);
  /// Reads the next translation record with every text taken as bytes (meant for 8-bit
  /// images): appends the word and the N - 1 texts of the languages to `texts`, and sets
  /// `context` and `id` when the record carries them.
  void ReadRawTranslation(framework::TStrings& texts, std::string& context, std::string& id);

  /// A variant record (the fourth section): a translation's keys, what its variants are
  /// chosen by (1 = plural category, 2 = choice keyword), and per keyword the text of
  /// language `activeIndex` (index 0 too), else that of `fallbackIndex` (never 0); keywords
  /// that neither language has are left out.
  struct TLxVariantRecord {
    std::string native, context, id;
    std::uint8_t kind = 0;
    std::vector<std::pair<std::string, std::string>> texts;
  };
  /// The number of variant records; 0 for images before version 2.
  int VariantCount() const { return effectiveVersion_ >= 2 ? header_.FourthCount : 0; }
  /// Go to the variant section; "Invalid variant offset" (Exception) when its offset is 0.
  void SeekVariants();
  /// The next variant record, its texts converted in `codePage` (language 0's in the
  /// system's code page).
  void ReadVariants(TLxVariantRecord& record, int activeIndex, int fallbackIndex, int codePage);

 private:
  // Moves the fields of language and locale records out of the image.
  class TRecordReader;

  void ReadHeader();
  void SeekTo(std::uint32_t offset);
  void Fill();
  void ReadBytes(void* target, std::size_t count);
  void Skip(std::size_t count);
  void CheckAvailable(std::size_t count) const;
  std::uint8_t ReadU8();
  std::uint16_t ReadU16();
  void ReadFixedText(std::size_t length, int codePage, std::string& text);
  void ReadText(int codePage, std::string& text);
  std::string ReadText(int codePage);
  char ReadTextChar(int codePage);
  void ReadRawText(std::string& text);
  void ReadUnits(std::size_t length, std::u16string& units);
  void SkipText();
  void BeginRecord();
  void EndRecord();
  void ReadIsoCode(std::string& code);
  void ReadLanguageTexts(int activeIndex, int fallbackIndex);
  // The chosen 8-bit texts of a record as views of the window, when it holds every text of
  // the record (or every text up to the chosen ones, leaving the reader inside the record,
  // without `wholeRecord`); false (nothing read) otherwise.
  bool TextsInWindow(int activeIndex, int fallbackIndex, std::string_view& active,
                     std::string_view& fallback, bool wholeRecord = true);
  bool ReadLanguageTextsInWindow(int activeIndex, int fallbackIndex);
  bool ConvertChosen(int codePage, std::string& text, bool active);

  std::unique_ptr<framework::TStream> stream_;
  TLxPLDHeader header_;
  /// Version 0 and 1 read alike, and anything above 3 reads as 3.
  int effectiveVersion_ = 1;
  std::int32_t recordRemaining_ = 0;
  std::unique_ptr<lang::TLxLanguage> languageBuffer_;
  std::unique_ptr<lang::TLxLocale> localeBuffer_;
  const lang::TLxLanguage emptyLanguage_;

  // The image is read through a window of its bytes; `position_` is where the next read
  // starts, `size_` the length of the image taken when it was opened.
  std::vector<std::uint8_t> window_;
  std::int64_t windowStart_ = 0;
  std::size_t windowLength_ = 0;
  std::int64_t position_ = 0;
  // Where the stream stands after the last read; -1 when unknown.
  std::int64_t streamAt_ = -1;
  std::int64_t size_ = 0;

  // Scratch space reused from record to record.
  std::u16string units_;
  std::u16string activeUnits_;
  std::u16string fallbackUnits_;
  std::string activeText_;
  std::string fallbackText_;
  std::string chosenText_;
};

}  // namespace lx::dict
