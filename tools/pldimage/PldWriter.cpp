#include <algorithm>

#include "platform/CodePages.h"
#include "pldimage/PldFields.h"
#include "pldimage/PldImage.h"
#include "pldimage/PldText.h"
#include "toolfiles/ToolFiles.h"

namespace lx::tools {

namespace detail {

std::u16string Utf8ToUtf16(std::string_view text) {
  return text.empty() ? std::u16string() : platform::MultiByteToWide(text, platform::CP_UTF8);
}

std::string Utf16ToUtf8(std::u16string_view text) {
  return text.empty() ? std::string() : platform::WideToMultiByte(text, platform::CP_UTF8);
}

void CheckCodePage(int codePage) {
  if (codePage <= 0 || !platform::IsValidCodePage(static_cast<platform::CodePage>(codePage))) {
    throw PldImageError("code page " + std::to_string(codePage) + " is not installed");
  }
}

}  // namespace detail

namespace {

using detail::kCountAt;
using detail::kOffsetAt;

constexpr int kFallbackTextCodePage = 1252;
constexpr std::size_t kMaxU16 = 0xFFFF;

bool LittleEndianImage(std::span<const std::uint8_t> image) {
  if (image.size() < kPldHeaderSize) throw PldImageError("the image has no complete header");
  return image[detail::kLittleEndianAt] != 0;
}

void PutU16(std::uint8_t* at, std::uint16_t value, bool littleEndian) {
  at[littleEndian ? 0 : 1] = static_cast<std::uint8_t>(value);
  at[littleEndian ? 1 : 0] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::uint8_t* at, std::uint32_t value, bool littleEndian) {
  for (int i = 0; i < 4; ++i)
    at[littleEndian ? i : 3 - i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Writes the fields of one image, each checked against what the format can hold.
class Writer {
 public:
  explicit Writer(const PldImage& image)
      : version(detail::LayoutVersion(image.version)),
        image_(image),
        textCodePage_(EffectiveTextCodePage(image)) {}

  const int version;

  std::vector<std::uint8_t> Write();

  void U8(const char* field, int value) { bytes_.push_back(Checked(field, value, 0xFF)); }
  void U16(const char* field, int value) {
    bytes_.resize(bytes_.size() + 2);
    PutU16(bytes_.data() + bytes_.size() - 2, Checked(field, value, kMaxU16), Little());
  }
  void Text(const char* field, const std::string& text, int codePage);
  void Fixed(const char* field, const std::string& text, std::size_t length, int codePage);
  template <class Names>
  void Texts(const char* field, const Names& names, int codePage) {
    detail::TextsInTurn(*this, field, names, codePage);
  }

 private:
  bool Little() const { return !image_.bigEndian; }
  [[noreturn]] void Fail(const char* field, const std::string& message) const;
  std::uint16_t Checked(const char* field, int value, std::size_t limit) const;
  std::u16string Units(const char* field, const std::string& text, int codePage) const;
  void PutUnits(const std::u16string& units);
  void Header();
  void Languages();
  void Translations();
  void Translation(const PldTranslation& translation);
  void Locales();
  void Variants();
  void Variant(const PldTranslation& translation);
  std::size_t BeginRecord();
  void EndRecord(std::size_t start, const std::vector<std::uint8_t>& extra);
  void PutCount(int section, std::size_t count);
  void PutOffset(int section, std::size_t offset);

  const PldImage& image_;
  const int textCodePage_;
  std::vector<std::uint8_t> bytes_;
  std::string where_;
};

void Writer::Fail(const char* field, const std::string& message) const {
  std::string prefix = where_;
  if (field && *field) prefix += (prefix.empty() ? "" : ".") + std::string(field);
  throw PldImageError(prefix.empty() ? message : prefix + ": " + message);
}

std::uint16_t Writer::Checked(const char* field, int value, std::size_t limit) const {
  if (value < 0 || static_cast<std::size_t>(value) > limit) {
    Fail(field,
         std::to_string(value) + " does not fit in " + (limit == 0xFF ? "8" : "16") + " bits");
  }
  return static_cast<std::uint16_t>(value);
}

// The text as the image holds it: UTF-16 units, or the bytes of the code page one per unit.
std::u16string Writer::Units(const char* field, const std::string& text, int codePage) const {
  std::u16string wide = detail::Utf8ToUtf16(text);
  if (image_.utf16 || wide.empty()) return wide;
  const auto page = static_cast<platform::CodePage>(codePage == 0 ? textCodePage_ : codePage);
  const std::string bytes = platform::WideToMultiByte(wide, page);
  if (platform::MultiByteToWide(bytes, page) != wide) {
    Fail(field, "\"" + Excerpt(text) + "\" cannot be written in code page " + std::to_string(page));
  }
  return std::u16string(bytes.begin(), bytes.end());
}

void Writer::PutUnits(const std::u16string& units) {
  for (const char16_t unit : units) {
    if (image_.utf16) {
      U16("", unit);
    } else {
      bytes_.push_back(static_cast<std::uint8_t>(unit));
    }
  }
}

void Writer::Text(const char* field, const std::string& text, int codePage) {
  const std::u16string units = Units(field, text, codePage);
  if (units.size() > kMaxU16) Fail(field, "text is longer than 65535 characters");
  U16(field, static_cast<int>(units.size()));
  PutUnits(units);
}

void Writer::Fixed(const char* field, const std::string& text, std::size_t length, int codePage) {
  std::u16string units = Units(field, text, codePage);
  if (units.size() > length) {
    Fail(field, "\"" + Excerpt(text) + "\" is longer than " + Counted(length, "character"));
  }
  units.resize(length, u'\0');
  PutUnits(units);
}

std::size_t Writer::BeginRecord() {
  const std::size_t start = bytes_.size();
  if (version >= 3) U16("", 0);
  return start;
}

void Writer::EndRecord(std::size_t start, const std::vector<std::uint8_t>& extra) {
  if (version < 3) return;
  bytes_.insert(bytes_.end(), extra.begin(), extra.end());
  const std::size_t length = bytes_.size() - start;
  if (length > kMaxU16) {
    Fail("", "the record takes " + std::to_string(length) + " bytes, more than 65535");
  }
  PutU16(bytes_.data() + start, static_cast<std::uint16_t>(length), Little());
}

void Writer::PutCount(int section, std::size_t count) {
  static const char* const kNames[] = {"languages", "translations", "locales", "variants"};
  if (count > kMaxU16) {
    throw PldImageError(std::to_string(count) + " " + kNames[section] + ", more than 65535");
  }
  PutU16(bytes_.data() + kCountAt[section], static_cast<std::uint16_t>(count), Little());
}

void Writer::PutOffset(int section, std::size_t offset) {
  if (offset > 0xFFFFFFFFu) throw PldImageError("the image is larger than 4 GiB");
  PutU32(bytes_.data() + kOffsetAt[section], static_cast<std::uint32_t>(offset), Little());
}

void Writer::Header() {
  bytes_.assign(kPldHeaderSize, 0);
  bytes_[0] = 'P';
  bytes_[1] = 'L';
  bytes_[2] = 'D';
  bytes_[detail::kVersionAt] = static_cast<std::uint8_t>(Checked("version", image_.version, 0xFF));
  bytes_[detail::kLittleEndianAt] = image_.bigEndian ? 0 : 1;
  // Version 1 keeps the string width at offset 7.
  const int ansiAt = image_.version == 1 ? detail::kVersion1AnsiAt : detail::kAnsiAt;
  bytes_[ansiAt] = image_.utf16 ? 0 : 1;
  bytes_[detail::kContentFlagsAt] =
      static_cast<std::uint8_t>(Checked("contentFlags", image_.contentFlags, 0xFF));
  if (!image_.utf16) {
    try {
      detail::CheckCodePage(textCodePage_);
    } catch (const PldImageError& error) {
      Fail("textCodePage", error.Message());
    }
  }
}

void Writer::Languages() {
  PutCount(0, image_.languages.size());
  PutOffset(0, bytes_.size());
  for (std::size_t i = 0; i < image_.languages.size(); ++i) {
    const PldLanguage& language = image_.languages[i];
    where_ = "languages[" + std::to_string(i) + "]";
    if (!image_.utf16 && language.codePage != 0) {
      try {
        detail::CheckCodePage(language.codePage);
      } catch (const PldImageError& error) {
        Fail("", error.Message());
      }
    }
    const std::size_t start = BeginRecord();
    detail::LanguageFields(*this, language);
    EndRecord(start, language.extra);
  }
}

void Writer::Translations() {
  PutCount(1, image_.translations.size());
  PutOffset(1, bytes_.size());
  for (std::size_t i = 0; i < image_.translations.size(); ++i) {
    where_ = "translations[" + std::to_string(i) + "]";
    Translation(image_.translations[i]);
  }
}

void Writer::Translation(const PldTranslation& translation) {
  const std::size_t languages = image_.languages.size();
  if (translation.texts.size() != std::max<std::size_t>(languages, 1)) {
    Fail("", Counted(translation.texts.size(), "text") + " for " + Counted(languages, "language"));
  }
  const int flags = image_.contentFlags;
  const bool hasContext = flags == 1 || flags == 3;
  const bool hasId = flags == 1 || flags == 2;
  if (!hasContext && !translation.context.empty()) {
    Fail("context", "content flags " + std::to_string(flags) + " carry no context");
  }
  if (!hasId && !translation.id.empty()) {
    Fail("id", "content flags " + std::to_string(flags) + " carry no id");
  }
  Text("texts[0]", translation.texts[0], 0);
  if (hasContext) Text("context", translation.context, 0);
  if (hasId) Text("id", translation.id, 0);
  for (std::size_t i = 1; i < translation.texts.size(); ++i) {
    const std::string field = "texts[" + std::to_string(i) + "]";
    Text(field.c_str(), translation.texts[i], image_.languages[i].codePage);
  }
}

void Writer::Locales() {
  PutCount(2, image_.locales.size());
  PutOffset(2, image_.locales.empty() ? 0 : bytes_.size());
  for (std::size_t i = 0; i < image_.locales.size(); ++i) {
    const PldLocale& locale = image_.locales[i];
    where_ = "locales[" + std::to_string(i) + "]";
    if (!image_.utf16 && locale.codePage != 0) {
      try {
        detail::CheckCodePage(locale.codePage);
      } catch (const PldImageError& error) {
        Fail("", error.Message());
      }
    }
    const std::size_t start = BeginRecord();
    detail::LocaleFields(*this, locale);
    EndRecord(start, locale.extra);
  }
}

// Only images that have variants get the section, so any other image stays as it was.
void Writer::Variants() {
  std::size_t count = 0;
  for (const PldTranslation& translation : image_.translations) {
    if (translation.variantKind != PldVariantKind::None) ++count;
  }
  if (count == 0) return;
  if (version < 2) throw PldImageError("version 1 images carry no variants");
  PutCount(3, count);
  PutOffset(3, bytes_.size());
  for (std::size_t i = 0; i < image_.translations.size(); ++i) {
    if (image_.translations[i].variantKind == PldVariantKind::None) continue;
    where_ = "translations[" + std::to_string(i) + "]";
    Variant(image_.translations[i]);
  }
}

// A record of its own length, the translation's keys, the kind and the variants.
void Writer::Variant(const PldTranslation& translation) {
  const std::size_t start = bytes_.size();
  U16("", 0);
  const int flags = image_.contentFlags;
  Text("texts[0]", translation.texts.empty() ? std::string() : translation.texts[0], 0);
  if (flags == 1 || flags == 3) Text("context", translation.context, 0);
  if (flags == 1 || flags == 2) Text("id", translation.id, 0);
  U8("variantKind", static_cast<int>(translation.variantKind));
  if (translation.variants.size() > 0xFF) Fail("variants", "more than 255 variants");
  U8("variants", static_cast<int>(translation.variants.size()));
  const std::size_t languages = std::max<std::size_t>(image_.languages.size(), 1);
  for (std::size_t v = 0; v < translation.variants.size(); ++v) {
    const PldVariant& variant = translation.variants[v];
    const std::string field = "variants[" + std::to_string(v) + "]";
    if (variant.texts.size() != languages) {
      Fail(field.c_str(),
           Counted(variant.texts.size(), "text") + " for " + Counted(languages, "language"));
    }
    Text((field + ".keyword").c_str(), variant.keyword, 0);
    for (std::size_t i = 0; i < variant.texts.size(); ++i) {
      const int codePage = i == 0 ? 0 : image_.languages[i].codePage;
      Text((field + ".texts[" + std::to_string(i) + "]").c_str(), variant.texts[i], codePage);
    }
  }
  const std::size_t length = bytes_.size() - start;
  if (length > kMaxU16) {
    Fail("variants", "the record takes " + std::to_string(length) + " bytes, more than 65535");
  }
  PutU16(bytes_.data() + start, static_cast<std::uint16_t>(length), Little());
}

std::vector<std::uint8_t> Writer::Write() {
  Header();
  Languages();
  Translations();
  Locales();
  Variants();
  return std::move(bytes_);
}

}  // namespace

int EffectiveTextCodePage(const PldImage& image) {
  if (image.textCodePage != 0) return image.textCodePage;
  if (!image.languages.empty() && image.languages[0].codePage != 0) {
    return image.languages[0].codePage;
  }
  return kFallbackTextCodePage;
}

std::vector<std::uint8_t> WritePldImage(const PldImage& image) {
  return Writer(image).Write();
}

std::uint16_t SectionCount(std::span<const std::uint8_t> image, PldSection section) {
  const bool little = LittleEndianImage(image);
  const std::uint8_t* at = image.data() + kCountAt[static_cast<int>(section)];
  return static_cast<std::uint16_t>(little ? at[0] | at[1] << 8 : at[0] << 8 | at[1]);
}

std::uint32_t SectionOffset(std::span<const std::uint8_t> image, PldSection section) {
  const bool little = LittleEndianImage(image);
  const std::uint8_t* at = image.data() + kOffsetAt[static_cast<int>(section)];
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i)
    value |= static_cast<std::uint32_t>(at[little ? i : 3 - i]) << (8 * i);
  return value;
}

void SetSectionCount(std::vector<std::uint8_t>& image, PldSection section, std::uint16_t count) {
  const bool little = LittleEndianImage(image);
  PutU16(image.data() + kCountAt[static_cast<int>(section)], count, little);
}

void SetSectionOffset(std::vector<std::uint8_t>& image, PldSection section, std::uint32_t offset) {
  const bool little = LittleEndianImage(image);
  PutU32(image.data() + kOffsetAt[static_cast<int>(section)], offset, little);
}

}  // namespace lx::tools
