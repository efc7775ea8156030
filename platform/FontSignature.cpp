#include "platform/FontSignature.h"

#include <unicode/uloc.h>
#include <unicode/ulocdata.h>
#include <unicode/uset.h>
#include <unicode/utf16.h>

#include <map>
#include <memory>
#include <span>
#include <string>

#include "platform/CodePages.h"
#include "platform/SystemLocale.h"
#include "platform/internal/LocaleData.h"

namespace lx::platform {

namespace {

struct CodePageBit {
  int bit;
  std::uint32_t codePage;
};

constexpr CodePageBit kCodePageBits[] = {{0, 1252}, {1, 1250}, {2, 1251}, {3, 1253},  {4, 1254},
                                         {5, 1255}, {6, 1256}, {7, 1257}, {16, 874},  {17, 932},
                                         {18, 936}, {19, 949}, {20, 950}, {21, 1361}, {22, 1258}};

// The Unicode blocks of the scripts that locales use, with their subset bits.
struct UnicodeRange {
  UChar32 first;
  UChar32 last;
  int bit;
};

constexpr UnicodeRange kUnicodeRanges[] = {
    {0x0000, 0x007F, 0},  {0x0080, 0x00FF, 1},  {0x0100, 0x017F, 2},  {0x0180, 0x024F, 3},
    {0x0250, 0x02AF, 4},  {0x02B0, 0x02FF, 5},  {0x0300, 0x036F, 6},  {0x0370, 0x03FF, 7},
    {0x0400, 0x052F, 9},  {0x0530, 0x058F, 10}, {0x0590, 0x05FF, 11}, {0x0600, 0x06FF, 13},
    {0x0700, 0x074F, 71}, {0x0750, 0x077F, 13}, {0x0780, 0x07BF, 72}, {0x07C0, 0x07FF, 14},
    {0x0900, 0x097F, 15}, {0x0980, 0x09FF, 16}, {0x0A00, 0x0A7F, 17}, {0x0A80, 0x0AFF, 18},
    {0x0B00, 0x0B7F, 19}, {0x0B80, 0x0BFF, 20}, {0x0C00, 0x0C7F, 21}, {0x0C80, 0x0CFF, 22},
    {0x0D00, 0x0D7F, 23}, {0x0D80, 0x0DFF, 73}, {0x0E00, 0x0E7F, 24}, {0x0E80, 0x0EFF, 25},
    {0x0F00, 0x0FFF, 70}, {0x1000, 0x109F, 74}, {0x10A0, 0x10FF, 26}, {0x1100, 0x11FF, 28},
    {0x1200, 0x139F, 75}, {0x13A0, 0x13FF, 76}, {0x1400, 0x167F, 77}, {0x1780, 0x17FF, 80},
    {0x1800, 0x18AF, 81}, {0x1E00, 0x1EFF, 29}, {0x1F00, 0x1FFF, 30}, {0x2000, 0x206F, 31},
    {0x20A0, 0x20CF, 33}, {0x3000, 0x303F, 48}, {0x3040, 0x309F, 49}, {0x30A0, 0x30FF, 50},
    {0x3100, 0x312F, 51}, {0x3130, 0x318F, 52}, {0x3400, 0x4DBF, 59}, {0x4E00, 0x9FFF, 59},
    {0xAC00, 0xD7AF, 56}, {0xF900, 0xFAFF, 61}, {0xFF00, 0xFFEF, 68}, {0x20000, 0x2A6DF, 59}};

constexpr int kBasicLatinBit = 0;
constexpr int kRightToLeftBit = 123;
constexpr int kAlwaysSetBit = 127;

struct LocaleDataCloser {
  void operator()(ULocaleData* data) const { ulocdata_close(data); }
};
struct SetCloser {
  void operator()(USet* set) const { uset_close(set); }
};

void SetBit(std::span<std::uint32_t> words, int bit) {
  words[static_cast<std::size_t>(bit / 32)] |= 1u << (bit % 32);
}

void AddCodePoint(UChar32 c, std::u16string& text, FontSignature& signature) {
  for (const UnicodeRange& range : kUnicodeRanges) {
    if (c >= range.first && c <= range.last) SetBit(signature.unicodeSubsets, range.bit);
  }
  if (U_IS_BMP(c)) {
    text += static_cast<char16_t>(c);
  } else {
    text += static_cast<char16_t>(U16_LEAD(c));
    text += static_cast<char16_t>(U16_TRAIL(c));
  }
}

// The letters of the locale's language, with their Unicode subset bits set.
std::u16string Exemplars(const IcuLocale& locale, FontSignature& signature) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<ULocaleData, LocaleDataCloser> data(
      ulocdata_open(locale.dataName.c_str(), &status));
  if (U_FAILURE(status)) return {};
  std::unique_ptr<USet, SetCloser> set(
      ulocdata_getExemplarSet(data.get(), nullptr, 0, ULOCDATA_ES_STANDARD, &status));
  if (U_FAILURE(status)) return {};
  std::u16string text;
  const int32_t items = uset_getItemCount(set.get());
  for (int32_t i = 0; i < items; ++i) {
    UChar32 first = 0;
    UChar32 last = 0;
    std::u16string sequence(64, u'\0');
    const int32_t length = uset_getItem(set.get(), i, &first, &last, sequence.data(),
                                        static_cast<int32_t>(sequence.size()), &status);
    if (U_FAILURE(status)) return {};
    if (length > 0) {
      for (int32_t j = 0; j < length; ++j)
        AddCodePoint(sequence[j], text, signature);
    } else {
      for (UChar32 c = first; c <= last; ++c)
        AddCodePoint(c, text, signature);
    }
  }
  return text;
}

FontSignature SignatureOf(const IcuLocale& locale) {
  FontSignature signature;
  SetBit(signature.unicodeSubsets, kBasicLatinBit);
  SetBit(signature.unicodeSubsets, kAlwaysSetBit);
  if (uloc_isRightToLeft(locale.name.c_str())) {
    SetBit(signature.unicodeSubsets, kRightToLeftBit);
  }
  const std::u16string letters = Exemplars(locale, signature);
  const int defaultBit = FontSignatureBitOfCodePage(AnsiCodePageOf(locale));
  if (defaultBit >= 0) {
    SetBit(signature.defaultCodePages, defaultBit);
    SetBit(signature.supportedCodePages, defaultBit);
  }
  for (const CodePageBit& entry : kCodePageBits) {
    if (!letters.empty() && CanEncode(letters, entry.codePage)) {
      SetBit(signature.supportedCodePages, entry.bit);
    }
  }
  return signature;
}

}  // namespace

std::array<std::uint8_t, 32> FontSignature::Bytes() const {
  std::array<std::uint8_t, 32> bytes{};
  std::size_t offset = 0;
  auto put = [&](std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
      bytes[offset++] = static_cast<std::uint8_t>(word >> shift);
    }
  };
  for (std::uint32_t word : unicodeSubsets)
    put(word);
  for (std::uint32_t word : defaultCodePages)
    put(word);
  for (std::uint32_t word : supportedCodePages)
    put(word);
  return bytes;
}

std::optional<FontSignature> LocaleFontSignature(Lcid lcid) {
  static std::map<Lcid, FontSignature> cache;
  const Lcid resolved = ResolveDefaultLcid(lcid);
  auto found = cache.find(resolved);
  if (found != cache.end()) return found->second;
  const IcuLocale* locale = IcuLocaleFor(resolved);
  if (locale == nullptr) return std::nullopt;
  return cache.emplace(resolved, SignatureOf(*locale)).first->second;
}

int FontSignatureBitOfCodePage(std::uint32_t codePage) {
  for (const CodePageBit& entry : kCodePageBits) {
    if (entry.codePage == codePage) return entry.bit;
  }
  return -1;
}

}  // namespace lx::platform
