#include "dict/LxPLDFil.h"

#include <algorithm>
#include <cstring>

#include "dict/LxRecordFields.h"
#include "lang/LxParser.h"
#include "platform/Exception.h"

namespace lx::dict {

namespace {

// Large enough that a language switch over a big image costs few reads of the stream,
// small enough that opening the image for one query stays cheap.
constexpr std::int64_t kWindowSize = 64 * 1024;

constexpr char kSignature[3] = {'P', 'L', 'D'};

[[noreturn]] void RaiseReadError() {
  throw platform::EReadError("Stream read error");
}

std::uint16_t U16At(const std::uint8_t* bytes, bool littleEndian) {
  return littleEndian ? static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8)
                      : static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

std::uint32_t U32At(const std::uint8_t* bytes, bool littleEndian) {
  const std::uint32_t b0 = bytes[0], b1 = bytes[1], b2 = bytes[2], b3 = bytes[3];
  return littleEndian ? (b0 | b1 << 8 | b2 << 16 | b3 << 24) : (b0 << 24 | b1 << 16 | b2 << 8 | b3);
}

// UTF-16 texts end at their first NUL.
std::u16string_view UpToNul(const std::u16string& units) {
  const std::size_t end = units.find(u'\0');
  return std::u16string_view(units).substr(0, end);
}

}  // namespace

TLxPLDFile::TLxPLDFile()
    : languageBuffer_(std::make_unique<lang::TLxLanguage>()),
      localeBuffer_(std::make_unique<lang::TLxLocale>()) {}

TLxPLDFile::~TLxPLDFile() = default;

void TLxPLDFile::OpenFile(std::string_view fileName) {
  OpenStream(
      std::make_unique<framework::TFileStream>(fileName, framework::TFileStream::Mode::OpenRead));
  SeekLanguages();
  ReadLanguage();
  SeekLanguages();
}

void TLxPLDFile::OpenStream(std::unique_ptr<framework::TStream> stream) {
  stream_ = std::move(stream);
  size_ = stream_ ? stream_->Size() : 0;
  window_.resize(static_cast<std::size_t>(std::clamp<std::int64_t>(size_, 1, kWindowSize)));
  windowStart_ = 0;
  windowLength_ = 0;
  streamAt_ = -1;
  ReadHeader();
}

void TLxPLDFile::ReadHeader() {
  std::uint8_t bytes[TLxPLDHeader::kSize];
  position_ = 0;
  ReadBytes(bytes, sizeof bytes);
  if (std::memcmp(bytes, kSignature, sizeof kSignature) != 0) {
    throw platform::Exception("The stream is not a valid PLD stream");
  }
  TLxPLDHeader header;
  header.Version = bytes[3];
  header.LittleEndian = bytes[4];
  header.AnsiStrings = bytes[5];
  header.ContentFlags = bytes[6];
  header.StringWidth = bytes[7];
  const bool little = header.LittleEndian != 0;
  header.LanguageCount = U16At(bytes + 12, little);
  header.LanguageOffset = U32At(bytes + 14, little);
  header.TranslationCount = U16At(bytes + 18, little);
  header.TranslationOffset = U32At(bytes + 20, little);
  header.LocaleCount = U16At(bytes + 24, little);
  header.LocaleOffset = U32At(bytes + 26, little);
  header.FourthCount = U16At(bytes + 30, little);
  header.FourthOffset = U32At(bytes + 32, little);
  if (header.Version == 1) {
    // Version 1 kept the string width at offset 7 and had no fourth section.
    header.AnsiStrings = header.StringWidth;
    header.StringWidth = 0;
    header.FourthCount = 0;
    header.FourthOffset = 0;
  }
  header_ = header;
  effectiveVersion_ = std::clamp<int>(header.Version, 1, 3);
}

// ---- Sections

void TLxPLDFile::SeekTo(std::uint32_t offset) {
  position_ = offset;
}

void TLxPLDFile::SeekLanguages() {
  if (header_.LanguageOffset == 0) throw platform::Exception("Invalid language offset");
  SeekTo(header_.LanguageOffset);
}

void TLxPLDFile::SeekTranslations() {
  if (header_.TranslationOffset == 0) throw platform::Exception("Invalid translation offset");
  SeekTo(header_.TranslationOffset);
}

void TLxPLDFile::SeekLocales() {
  if (header_.LocaleCount == 0) throw platform::Exception("No custom locales");
  if (header_.LocaleOffset == 0) throw platform::Exception("Invalid locale offset");
  SeekTo(header_.LocaleOffset);
}

void TLxPLDFile::SeekVariants() {
  if (header_.FourthOffset == 0) throw platform::Exception("Invalid variant offset");
  SeekTo(header_.FourthOffset);
}

void TLxPLDFile::ReadVariants(TLxVariantRecord& record, int activeIndex, int fallbackIndex,
                              int codePage) {
  // The record has its own length, so later versions may add to it.
  const std::int64_t start = position_;
  const std::uint16_t length = ReadU16();
  ReadText(0, record.native);
  record.context.clear();
  record.id.clear();
  if (HasContext()) ReadText(0, record.context);
  if (HasId()) ReadText(0, record.id);
  record.kind = ReadU8();
  record.texts.clear();
  const int variants = ReadU8();
  std::string keyword, active, fallback, text;
  for (int v = 0; v < variants; ++v) {
    ReadText(0, keyword);
    active.clear();
    fallback.clear();
    for (int i = 0; i < std::max(LanguageCount(), 1); ++i) {
      // As for translations, the native language never stands in for another.
      if (i != activeIndex && (i != fallbackIndex || i == 0)) {
        SkipText();
        continue;
      }
      ReadText(i == 0 ? 0 : codePage, text);
      (i == activeIndex ? active : fallback) = text;
    }
    if (!active.empty() || !fallback.empty()) {
      record.texts.emplace_back(keyword, active.empty() ? fallback : active);
    }
  }
  if (position_ < start + length) position_ = start + length;
}

// ---- Bytes

void TLxPLDFile::CheckAvailable(std::size_t count) const {
  if (position_ > size_ || count > static_cast<std::uint64_t>(size_ - position_)) {
    RaiseReadError();
  }
}

void TLxPLDFile::Fill() {
  if (!stream_) RaiseReadError();
  // Reading on from where the last read ended needs no seek, also after a short skip: the
  // window then starts a little before the position.
  std::int64_t from = position_;
  if (streamAt_ >= 0 && position_ > streamAt_ && position_ - streamAt_ < kWindowSize / 4)
    from = streamAt_;
  const std::int64_t wanted =
      std::min<std::int64_t>(static_cast<std::int64_t>(window_.size()), size_ - from);
  if (streamAt_ != from) stream_->SetPosition(from);
  streamAt_ = -1;
  const std::int64_t got = wanted > 0 ? stream_->Read(window_.data(), wanted) : 0;
  // A stream that shrank after it was opened ends the image where it ends now.
  if (got <= position_ - from) RaiseReadError();
  streamAt_ = from + got;
  windowStart_ = from;
  windowLength_ = static_cast<std::size_t>(got);
}

void TLxPLDFile::ReadBytes(void* target, std::size_t count) {
  CheckAvailable(count);
  auto* out = static_cast<std::uint8_t*>(target);
  while (count > 0) {
    if (position_ < windowStart_ ||
        position_ >= windowStart_ + static_cast<std::int64_t>(windowLength_)) {
      Fill();
    }
    const auto inWindow = static_cast<std::size_t>(position_ - windowStart_);
    const std::size_t piece = std::min(count, windowLength_ - inWindow);
    std::memcpy(out, window_.data() + inWindow, piece);
    out += piece;
    count -= piece;
    position_ += static_cast<std::int64_t>(piece);
    recordRemaining_ -= static_cast<std::int64_t>(piece);
  }
}

void TLxPLDFile::Skip(std::size_t count) {
  CheckAvailable(count);
  position_ += static_cast<std::int64_t>(count);
  recordRemaining_ -= static_cast<std::int64_t>(count);
}

std::uint8_t TLxPLDFile::ReadU8() {
  std::uint8_t value = 0;
  ReadBytes(&value, 1);
  return value;
}

std::uint16_t TLxPLDFile::ReadU16() {
  // Text lengths are read for every text of every record: straight from the window when
  // both bytes are in it (the window never reaches past the image).
  const std::int64_t inWindow = position_ - windowStart_;
  if (inWindow >= 0 && inWindow + 2 <= static_cast<std::int64_t>(windowLength_)) {
    position_ += 2;
    recordRemaining_ -= 2;
    return U16At(window_.data() + inWindow, LittleEndian());
  }
  std::uint8_t bytes[2];
  ReadBytes(bytes, 2);
  return U16At(bytes, LittleEndian());
}

// ---- Texts

void TLxPLDFile::ReadUnits(std::size_t length, std::u16string& units) {
  CheckAvailable(length * 2);
  units.resize(length);
  ReadBytes(units.data(), length * 2);
  const bool little = LittleEndian();
  for (char16_t& unit : units) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&unit);
    unit = static_cast<char16_t>(U16At(bytes, little));
  }
}

void TLxPLDFile::ReadFixedText(std::size_t length, int codePage, std::string& text) {
  if (AnsiStrings()) {
    CheckAvailable(length);
    text.resize(length);
    ReadBytes(text.data(), length);
    return;
  }
  ReadUnits(length, units_);
  text = lang::WideToAnsi(UpToNul(units_), codePage);
}

void TLxPLDFile::ReadText(int codePage, std::string& text) {
  ReadFixedText(ReadU16(), codePage, text);
}

std::string TLxPLDFile::ReadText(int codePage) {
  std::string text;
  ReadText(codePage, text);
  return text;
}

char TLxPLDFile::ReadTextChar(int codePage) {
  ReadFixedText(1, codePage, activeText_);
  return activeText_.empty() ? '\0' : activeText_.front();
}

void TLxPLDFile::ReadRawText(std::string& text) {
  const std::size_t length = ReadU16();
  CheckAvailable(length);
  text.resize(length);
  ReadBytes(text.data(), length);
}

void TLxPLDFile::SkipText() {
  const std::size_t length = ReadU16();
  Skip(AnsiStrings() ? length : length * 2);
}

// ---- Records

// The file's fields: ids and character sets as u16, one-byte numbers and flags as one byte,
// separators and texts in the image's text width.
class TLxPLDFile::TRecordReader final : public TLxRecordIo {
 public:
  explicit TRecordReader(TLxPLDFile& file)
      : TLxRecordIo(TLxRecordLayout::kFile, file.effectiveVersion_, true), file_(file) {}
  void Word(int& value) override { value = file_.ReadU16(); }
  void Small(int& value) override { value = file_.ReadU8(); }
  void Flag(bool& value) override { value = file_.ReadU8() != 0; }
  void FlagBits(std::uint8_t& bits) override { bits = file_.ReadU8(); }
  void Char(char& value, int codePage) override { value = file_.ReadTextChar(codePage); }
  void Text(std::string& value, int codePage) override { file_.ReadText(codePage, value); }
  void IsoCode(std::string& value, bool keep) override {
    if (keep) {
      file_.ReadIsoCode(value);
    } else {
      file_.Skip(file_.AnsiStrings() ? 2 : 4);
    }
  }

 private:
  TLxPLDFile& file_;
};

void TLxPLDFile::BeginRecord() {
  if (effectiveVersion_ >= 3) recordRemaining_ = ReadU16() - 2;
}

void TLxPLDFile::EndRecord() {
  // Later versions append fields; a record shorter than what was read is left as it is.
  if (effectiveVersion_ >= 3 && recordRemaining_ > 0) position_ += recordRemaining_;
}

void TLxPLDFile::ReadIsoCode(std::string& code) {
  ReadFixedText(2, 0, code);
  if (!code.empty() && code.front() == '\0') code.clear();
}

lang::TLxLanguage& TLxPLDFile::ReadLanguage() {
  lang::TLxLanguage& language = *languageBuffer_;
  language.Assign(emptyLanguage_);
  BeginRecord();
  TRecordReader fields(*this);
  LanguageFields(fields, language);
  EndRecord();
  language.Validate();
  return language;
}

lang::TLxLanguage* TLxPLDFile::ReadLanguageAt(int index) {
  SeekLanguages();
  if (index < 0) return nullptr;
  for (int i = 0; i < index; ++i)
    ReadLanguage();
  return &ReadLanguage();
}

lang::TLxLocale& TLxPLDFile::ReadLocale() {
  lang::TLxLocale& locale = *localeBuffer_;
  BeginRecord();
  TRecordReader fields(*this);
  LocaleFields(fields, locale);
  EndRecord();
  return locale;
}

lang::TLxLocale* TLxPLDFile::ReadLocaleAt(int index) {
  SeekLocales();
  if (index < 0) return nullptr;
  for (int i = 0; i < index; ++i)
    ReadLocale();
  return &ReadLocale();
}

// ---- Translations

std::uint8_t TLxPLDFile::ReadTranslation(lang::TLxTranslation& translation, int activeIndex,
                                         int fallbackIndex, int codePage) {
  ReadTranslationKeys(translation);
  translation.State =
      ReadTranslationTexts(translation.Translation, activeIndex, fallbackIndex, codePage);
  return translation.State;
}

void TLxPLDFile::ReadTranslationKeys(lang::TLxTranslation& translation) {
  ReadText(0, translation.Native);
  if (HasContext()) {
    ReadText(0, translation.Context);
  } else {
    translation.Context.clear();
  }
  if (HasId()) {
    ReadText(0, translation.Id);
  } else {
    translation.Id.clear();
  }
}

void TLxPLDFile::SeekTexts(std::int64_t position) {
  if (position < 0 || position > size_) RaiseReadError();
  position_ = position;
}

std::uint8_t TLxPLDFile::ReadTranslationText(std::string& text, int activeIndex, int fallbackIndex,
                                             int codePage) {
  SkipText();
  if (HasContext()) SkipText();
  if (HasId()) SkipText();
  return ReadTranslationTexts(text, activeIndex, fallbackIndex, codePage);
}

std::uint8_t TLxPLDFile::ReadTranslationTexts(std::string& text, int activeIndex, int fallbackIndex,
                                              int codePage) {
  ReadLanguageTexts(activeIndex, fallbackIndex);
  if (ConvertChosen(codePage, text, true)) return lang::TLxTranslation::kActiveText;
  if (ConvertChosen(codePage, text, false)) return lang::TLxTranslation::kFallbackText;
  return lang::TLxTranslation::kNoText;
}

// 8-bit texts straight from the window, when it holds every text of the record (or, without
// `wholeRecord`, every text up to the chosen ones); false (nothing read) otherwise. The
// window never reaches past the image, so what lies in it needs no other check.
bool TLxPLDFile::TextsInWindow(int activeIndex, int fallbackIndex, std::string_view& active,
                               std::string_view& fallback, bool wholeRecord) {
  const std::int64_t start = position_ - windowStart_;
  if (!AnsiStrings() || start < 0) return false;
  const char* const window = reinterpret_cast<const char*>(window_.data());
  const bool little = LittleEndian();
  auto at = static_cast<std::size_t>(start);
  active = fallback = {};
  const int end =
      wholeRecord ? header_.LanguageCount
                  : std::min<int>(header_.LanguageCount, std::max(activeIndex, fallbackIndex) + 1);
  for (int i = 1; i < end; ++i) {
    if (at + 2 > windowLength_) return false;
    const std::size_t length = U16At(window_.data() + at, little);
    at += 2;
    if (length > windowLength_ - at) return false;
    if (i == activeIndex) active = std::string_view(window + at, length);
    if (i == fallbackIndex && i != activeIndex) fallback = std::string_view(window + at, length);
    at += length;
  }
  const auto consumed = static_cast<std::int64_t>(at) - start;
  position_ += consumed;
  recordRemaining_ -= static_cast<std::int32_t>(consumed);
  return true;
}

bool TLxPLDFile::ReadLanguageTextsInWindow(int activeIndex, int fallbackIndex) {
  std::string_view active, fallback;
  if (!TextsInWindow(activeIndex, fallbackIndex, active, fallback)) return false;
  activeText_.assign(active);
  fallbackText_.assign(fallback);
  return true;
}

// Keeps the texts of the two chosen languages (as bytes or as UTF-16 units, converted only
// when taken) and passes over the others.
void TLxPLDFile::ReadLanguageTexts(int activeIndex, int fallbackIndex) {
  const bool ansi = AnsiStrings();
  activeText_.clear();
  fallbackText_.clear();
  activeUnits_.clear();
  fallbackUnits_.clear();
  if (ReadLanguageTextsInWindow(activeIndex, fallbackIndex)) return;
  for (int i = 1; i < header_.LanguageCount; ++i) {
    const bool active = i == activeIndex;
    if (!active && i != fallbackIndex) {
      SkipText();
      continue;
    }
    const std::size_t length = ReadU16();
    if (ansi) {
      std::string& text = active ? activeText_ : fallbackText_;
      CheckAvailable(length);
      text.resize(length);
      ReadBytes(text.data(), length);
    } else {
      ReadUnits(length, active ? activeUnits_ : fallbackUnits_);
    }
  }
}

std::uint8_t TLxPLDFile::AppendTranslationTexts(std::string& target, int activeIndex,
                                                int fallbackIndex, int codePage) {
  std::string_view text;
  const std::uint8_t state = ReadChosenText(text, activeIndex, fallbackIndex, codePage);
  target += text;
  return state;
}

std::uint8_t TLxPLDFile::ReadChosenText(std::string_view& text, int activeIndex, int fallbackIndex,
                                        int codePage) {
  std::string_view active, fallback;
  if (TextsInWindow(activeIndex, fallbackIndex, active, fallback, false)) {
    text = !active.empty() ? active : fallback;
    if (!active.empty()) return lang::TLxTranslation::kActiveText;
    return fallback.empty() ? lang::TLxTranslation::kNoText : lang::TLxTranslation::kFallbackText;
  }
  chosenText_.clear();
  const std::uint8_t state =
      ReadTranslationTexts(chosenText_, activeIndex, fallbackIndex, codePage);
  text = chosenText_;
  return state;
}

// Puts the active (or fallback) text into `text` when there is one.
bool TLxPLDFile::ConvertChosen(int codePage, std::string& text, bool active) {
  if (AnsiStrings()) {
    // The chosen text is read afresh for every record: hand its bytes over.
    std::string& chosen = active ? activeText_ : fallbackText_;
    if (chosen.empty()) return false;
    text.swap(chosen);
    return true;
  }
  const std::u16string_view units = UpToNul(active ? activeUnits_ : fallbackUnits_);
  if (units.empty()) return false;
  std::string converted = lang::WideToAnsi(units, codePage);
  if (converted.empty()) return false;
  text = std::move(converted);
  return true;
}

bool TLxPLDFile::ReadRecordInWindow(int activeIndex, int fallbackIndex, RecordView& record) {
  const std::int64_t start = position_;
  const std::int64_t inWindow = position_ - windowStart_;
  if (!AnsiStrings() || inWindow < 0) return false;
  const char* const window = reinterpret_cast<const char*>(window_.data());
  auto at = static_cast<std::size_t>(inWindow);
  const auto key = [&](std::string_view& text) {
    if (at + 2 > windowLength_) return false;
    const std::size_t length = U16At(window_.data() + at, LittleEndian());
    at += 2;
    if (length > windowLength_ - at) return false;
    text = std::string_view(window + at, length);
    at += length;
    return true;
  };
  record.context = record.id = {};
  if (!key(record.native) || (HasContext() && !key(record.context)) ||
      (HasId() && !key(record.id))) {
    return false;
  }
  position_ = windowStart_ + static_cast<std::int64_t>(at);
  std::string_view active, fallback;
  if (!TextsInWindow(activeIndex, fallbackIndex, active, fallback)) {
    position_ = start;
    return false;
  }
  record.textsAt = windowStart_ + static_cast<std::int64_t>(at);
  recordRemaining_ -= static_cast<std::int32_t>(record.textsAt - start);
  record.state = lang::TLxTranslation::kActiveText;
  record.translation = active;
  if (active.empty()) {
    record.state =
        fallback.empty() ? lang::TLxTranslation::kNoText : lang::TLxTranslation::kFallbackText;
    record.translation = fallback;
  }
  return true;
}

void TLxPLDFile::ReadRawTranslation(framework::TStrings& texts, std::string& context,
                                    std::string& id) {
  ReadRawText(activeText_);
  texts.Add(activeText_);
  if (HasContext()) ReadRawText(context);
  if (HasId()) ReadRawText(id);
  for (int i = 1; i < header_.LanguageCount; ++i) {
    ReadRawText(activeText_);
    texts.Add(activeText_);
  }
}

}  // namespace lx::dict
