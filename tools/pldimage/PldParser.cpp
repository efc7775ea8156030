#include <algorithm>
#include <cstring>

#include "platform/CodePages.h"
#include "pldimage/PldFields.h"
#include "pldimage/PldImage.h"
#include "pldimage/PldText.h"

namespace lx::tools {

namespace {

using detail::kCountAt;
using detail::kOffsetAt;

constexpr int kFallbackTextCodePage = 1252;

// Reads the fields of one image back into a description, every read checked against
// the end of the bytes.
class Parser {
 public:
  Parser(std::span<const std::uint8_t> bytes, int textCodePage)
      : bytes_(bytes), textCodePage_(textCodePage) {}

  int version = 1;

  PldImage Parse();
  /// The code page of language 0, which the texts of the other fields are written in.
  int NativeCodePage();

  void U8(const char* field, int& value) { value = Take(field, 1)[0]; }
  void U16(const char* field, int& value);
  void Text(const char* field, std::string& text, int codePage);
  void Fixed(const char* field, std::string& text, std::size_t length, int codePage);
  template <class Names>
  void Texts(const char* field, Names& names, int codePage) {
    detail::TextsInTurn(*this, field, names, codePage);
  }

 private:
  [[noreturn]] void Fail(const char* field, const std::string& message) const;
  const std::uint8_t* Take(const char* field, std::size_t count);
  std::uint16_t CountAt(int section) const;
  std::uint32_t OffsetAt(int section) const;
  std::u16string Units(const char* field, std::size_t length);
  std::string Decode(const char* field, const std::u16string& units, int codePage) const;
  void Header(PldImage& image);
  void SeekSection(const char* name, int section);
  void Language(PldLanguage& language);
  void Translation(PldTranslation& translation, const std::vector<PldLanguage>& languages,
                   int flags);
  void Locale(PldLocale& locale);
  void Variants(PldImage& image);
  std::size_t BeginRecord();
  void EndRecord(std::size_t start, std::vector<std::uint8_t>& extra);

  std::span<const std::uint8_t> bytes_;
  int textCodePage_;
  bool little_ = true;
  bool utf16_ = false;
  std::size_t position_ = 0;
  std::size_t recordLength_ = 0;
  std::string where_;
};

void Parser::Fail(const char* field, const std::string& message) const {
  std::string prefix = where_;
  if (field && *field) prefix += (prefix.empty() ? "" : ".") + std::string(field);
  throw PldImageError(prefix.empty() ? message : prefix + ": " + message);
}

const std::uint8_t* Parser::Take(const char* field, std::size_t count) {
  if (position_ > bytes_.size() || count > bytes_.size() - position_) {
    Fail(field, "the image ends at byte " + std::to_string(bytes_.size()));
  }
  const std::uint8_t* at = bytes_.data() + position_;
  position_ += count;
  return at;
}

void Parser::U16(const char* field, int& value) {
  const std::uint8_t* at = Take(field, 2);
  value = little_ ? at[0] | at[1] << 8 : at[0] << 8 | at[1];
}

std::uint16_t Parser::CountAt(int section) const {
  const std::uint8_t* at = bytes_.data() + kCountAt[section];
  return static_cast<std::uint16_t>(little_ ? at[0] | at[1] << 8 : at[0] << 8 | at[1]);
}

std::uint32_t Parser::OffsetAt(int section) const {
  const std::uint8_t* at = bytes_.data() + kOffsetAt[section];
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i)
    value |= static_cast<std::uint32_t>(at[little_ ? i : 3 - i]) << (8 * i);
  return value;
}

std::u16string Parser::Units(const char* field, std::size_t length) {
  std::u16string units(length, u'\0');
  const std::uint8_t* at = Take(field, utf16_ ? length * 2 : length);
  for (std::size_t i = 0; i < length; ++i) {
    if (!utf16_) {
      units[i] = at[i];
    } else {
      const std::uint8_t* unit = at + 2 * i;
      units[i] = static_cast<char16_t>(little_ ? unit[0] | unit[1] << 8 : unit[0] << 8 | unit[1]);
    }
  }
  return units;
}

std::string Parser::Decode(const char* field, const std::u16string& units, int codePage) const {
  if (utf16_ || units.empty()) return detail::Utf16ToUtf8(units);
  const int page = codePage == 0 ? textCodePage_ : codePage;
  try {
    detail::CheckCodePage(page);
  } catch (const PldImageError& error) {
    Fail(field, error.Message());
  }
  const std::string bytes(units.begin(), units.end());
  return detail::Utf16ToUtf8(
      platform::MultiByteToWide(bytes, static_cast<platform::CodePage>(page)));
}

void Parser::Text(const char* field, std::string& text, int codePage) {
  int length = 0;
  U16(field, length);
  text = Decode(field, Units(field, static_cast<std::size_t>(length)), codePage);
}

// Trailing NULs are the padding of a short value.
void Parser::Fixed(const char* field, std::string& text, std::size_t length, int codePage) {
  std::u16string units = Units(field, length);
  while (!units.empty() && units.back() == u'\0')
    units.pop_back();
  text = Decode(field, units, codePage);
}

std::size_t Parser::BeginRecord() {
  const std::size_t start = position_;
  if (version >= 3) {
    int length = 0;
    U16("", length);
    recordLength_ = static_cast<std::size_t>(length);
  }
  return start;
}

void Parser::EndRecord(std::size_t start, std::vector<std::uint8_t>& extra) {
  extra.clear();
  if (version < 3) return;
  const std::size_t used = position_ - start;
  if (recordLength_ < used) {
    Fail("", "record length " + std::to_string(recordLength_) + " is less than the " +
                 std::to_string(used) + " bytes of its fields");
  }
  const std::uint8_t* rest = Take("", recordLength_ - used);
  extra.assign(rest, rest + (recordLength_ - used));
}

void Parser::Header(PldImage& image) {
  if (bytes_.size() < kPldHeaderSize) {
    throw PldImageError("header: the image is shorter than 42 bytes");
  }
  if (std::memcmp(bytes_.data(), "PLD", 3) != 0) {
    throw PldImageError("header: the image does not start with \"PLD\"");
  }
  image.version = bytes_[detail::kVersionAt];
  version = detail::LayoutVersion(image.version);
  little_ = bytes_[detail::kLittleEndianAt] != 0;
  image.bigEndian = !little_;
  const int ansiAt = image.version == 1 ? detail::kVersion1AnsiAt : detail::kAnsiAt;
  utf16_ = bytes_[ansiAt] == 0;
  image.utf16 = utf16_;
  image.contentFlags = bytes_[detail::kContentFlagsAt];
}

void Parser::SeekSection(const char* name, int section) {
  position_ = OffsetAt(section);
  if (position_ == 0) throw PldImageError(std::string(name) + ": the section's offset is 0");
}

void Parser::Language(PldLanguage& language) {
  const std::size_t start = BeginRecord();
  detail::LanguageFields(*this, language);
  EndRecord(start, language.extra);
}

void Parser::Translation(PldTranslation& translation, const std::vector<PldLanguage>& languages,
                         int flags) {
  translation.texts.emplace_back();
  Text("texts[0]", translation.texts[0], 0);
  if (flags == 1 || flags == 3) Text("context", translation.context, 0);
  if (flags == 1 || flags == 2) Text("id", translation.id, 0);
  // Texts are taken one by one, so a count that the bytes do not back allocates nothing.
  for (std::size_t i = 1; i < languages.size(); ++i) {
    std::string text;
    const std::string field = "texts[" + std::to_string(i) + "]";
    Text(field.c_str(), text, languages[i].codePage);
    translation.texts.push_back(std::move(text));
  }
}

void Parser::Locale(PldLocale& locale) {
  const std::size_t start = BeginRecord();
  detail::LocaleFields(*this, locale);
  EndRecord(start, locale.extra);
}

int Parser::NativeCodePage() {
  PldImage image;
  Header(image);
  if (CountAt(0) == 0) return 0;
  SeekSection("languages", 0);
  where_ = "languages[0]";
  PldLanguage native;
  Language(native);
  return native.codePage;
}

PldImage Parser::Parse() {
  PldImage image;
  Header(image);
  const int languages = CountAt(0);
  if (languages > 0) SeekSection("languages", 0);
  for (int i = 0; i < languages; ++i) {
    where_ = "languages[" + std::to_string(i) + "]";
    Language(image.languages.emplace_back());
  }
  const int translations = CountAt(1);
  if (translations > 0) SeekSection("translations", 1);
  for (int i = 0; i < translations; ++i) {
    where_ = "translations[" + std::to_string(i) + "]";
    PldTranslation& translation = image.translations.emplace_back();
    Translation(translation, image.languages, image.contentFlags);
  }
  const int locales = CountAt(2);
  if (locales > 0) SeekSection("locales", 2);
  for (int i = 0; i < locales; ++i) {
    where_ = "locales[" + std::to_string(i) + "]";
    Locale(image.locales.emplace_back());
  }
  Variants(image);
  return image;
}

// Each record goes back to the first translation of its keys that has none yet.
void Parser::Variants(PldImage& image) {
  const int count = version < 2 ? 0 : CountAt(3);
  if (count > 0) SeekSection("variants", 3);
  const int flags = image.contentFlags;
  for (int r = 0; r < count; ++r) {
    where_ = "variants[" + std::to_string(r) + "]";
    const std::size_t start = position_;
    int length = 0;
    U16("length", length);
    PldTranslation keys;
    Text("native", keys.texts.emplace_back(), 0);
    if (flags == 1 || flags == 3) Text("context", keys.context, 0);
    if (flags == 1 || flags == 2) Text("id", keys.id, 0);
    int kind = 0, variants = 0;
    U8("kind", kind);
    U8("count", variants);
    if (kind != static_cast<int>(PldVariantKind::Plural) &&
        kind != static_cast<int>(PldVariantKind::Choice)) {
      Fail("kind", std::to_string(kind) + " is neither 1 (plural) nor 2 (choice)");
    }
    for (int v = 0; v < variants; ++v) {
      PldVariant& variant = keys.variants.emplace_back();
      Text("keyword", variant.keyword, 0);
      for (std::size_t i = 0; i < std::max<std::size_t>(image.languages.size(), 1); ++i) {
        Text("texts", variant.texts.emplace_back(), i == 0 ? 0 : image.languages[i].codePage);
      }
    }
    if (static_cast<std::size_t>(length) < position_ - start) Fail("length", "too short");
    position_ = start + static_cast<std::size_t>(length);
    auto owner = std::find_if(
        image.translations.begin(), image.translations.end(), [&](const PldTranslation& t) {
          return t.variantKind == PldVariantKind::None && t.texts[0] == keys.texts[0] &&
                 t.context == keys.context && t.id == keys.id;
        });
    if (owner == image.translations.end()) Fail("", "no translation has its keys");
    owner->variantKind = static_cast<PldVariantKind>(kind);
    owner->variants = std::move(keys.variants);
  }
}

}  // namespace

PldImage ParsePldImage(std::span<const std::uint8_t> bytes) {
  const int nativeCodePage = Parser(bytes, kFallbackTextCodePage).NativeCodePage();
  return Parser(bytes, nativeCodePage != 0 ? nativeCodePage : kFallbackTextCodePage).Parse();
}

}  // namespace lx::tools
