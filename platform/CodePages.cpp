#include "platform/CodePages.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <memory>
#include <tuple>
#include <utility>

#include "platform/LocaleInfo.h"
#include "platform/SystemLocale.h"

namespace lx::platform {

namespace {

constexpr std::size_t kMaxLeadByteRanges = 6;
// ICU takes lengths as 32-bit numbers and a character may need four bytes.
constexpr std::size_t kMaxTextLength = INT32_MAX / 4;

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};

// One cached converter. `usedDefaultChar` is where its from-Unicode callback
// reports a substitution; the map keeps the entry's address stable.
struct Converter {
  std::unique_ptr<UConverter, ConverterCloser> handle;
  bool usedDefaultChar = false;
};

bool IsSubstitution(UConverterCallbackReason reason) {
  return reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR;
}

void WriteReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                               UConverterCallbackReason reason, UErrorCode* status) {
  if (!IsSubstitution(reason)) return;
  static constexpr UChar kReplacement = 0xFFFD;
  *status = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, status);
}

void WriteDefaultChar(const void* context, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                      UChar32, UConverterCallbackReason reason, UErrorCode* status) {
  if (!IsSubstitution(reason)) return;
  static_cast<Converter*>(const_cast<void*>(context))->usedDefaultChar = true;
  *status = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, "?", 1, 0, status);
}

bool IsWideCodePage(CodePage codePage) {
  return codePage == 1200 || codePage == 1201 || codePage == 12000 || codePage == 12001;
}

std::unique_ptr<Converter> OpenConverter(CodePage codePage) {
  if (IsWideCodePage(codePage)) return nullptr;
  const std::string name = "windows-" + std::to_string(codePage);
  UErrorCode status = U_ZERO_ERROR;
  auto converter = std::make_unique<Converter>();
  converter->handle.reset(ucnv_open(name.c_str(), &status));
  if (U_FAILURE(status) || !converter->handle) return nullptr;
  ucnv_setToUCallBack(converter->handle.get(), WriteReplacementCharacter, nullptr, nullptr, nullptr,
                      &status);
  ucnv_setFromUCallBack(converter->handle.get(), WriteDefaultChar, converter.get(), nullptr,
                        nullptr, &status);
  return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

// The converter of a resolved code page, opened once; nullptr when ICU has none
// (remembered as well, so a missing code page is not searched for again).
Converter* ConverterFor(CodePage codePage) {
  static std::map<CodePage, std::unique_ptr<Converter>> cache;
  auto found = cache.find(codePage);
  if (found == cache.end()) found = cache.emplace(codePage, OpenConverter(codePage)).first;
  return found->second.get();
}

std::vector<ByteRange> LeadByteRanges(UConverter* converter) {
  std::array<UBool, 256> starters{};
  UErrorCode status = U_ZERO_ERROR;
  ucnv_getStarters(converter, starters.data(), &status);
  std::vector<ByteRange> ranges;
  if (U_FAILURE(status)) return ranges;
  for (unsigned byte = 0; byte < starters.size() && ranges.size() < kMaxLeadByteRanges; ++byte) {
    if (!starters[byte]) continue;
    unsigned last = byte;
    while (last + 1 < starters.size() && starters[last + 1])
      ++last;
    ranges.push_back({static_cast<std::uint8_t>(byte), static_cast<std::uint8_t>(last)});
    byte = last;
  }
  return ranges;
}

// Bit b is set when byte b leads a two-byte character of the code page; none for UTF-8
// and the single-byte pages. Worked out once per code page.
const std::bitset<256>& LeadBytesOf(CodePage resolved) {
  static std::map<CodePage, std::bitset<256>> cache;
  auto found = cache.find(resolved);
  if (found != cache.end()) return found->second;
  std::bitset<256> leads;
  if (const auto info = GetCodePageInfo(resolved)) {
    for (const ByteRange& range : info->leadByteRanges) {
      for (unsigned byte = range.first; byte <= range.last; ++byte)
        leads.set(byte);
    }
  }
  return cache.emplace(resolved, leads).first->second;
}

// The length of a well-formed UTF-8 sequence at the start of `text`; 1 for anything else.
std::size_t Utf8SequenceSize(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t size = 1;
  if (lead >= 0xC2 && lead <= 0xDF) size = 2;
  if (lead >= 0xE0 && lead <= 0xEF) size = 3;
  if (lead >= 0xF0 && lead <= 0xF4) size = 4;
  if (size > text.size()) return 1;
  // The second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
  const auto second = static_cast<unsigned char>(text[1]);
  const bool narrowed = (lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
                        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F);
  if (size > 1 && narrowed) return 1;
  for (std::size_t i = 1; i < size; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return size;
}

}  // namespace

std::size_t CharSizeAt(std::string_view text, std::size_t at, CodePage codePage) {
  if (at >= text.size()) return 0;
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80) return 1;
  const CodePage resolved = ResolveCodePage(codePage);
  if (resolved == CP_UTF8) return Utf8SequenceSize(text.substr(at));
  return LeadBytesOf(resolved).test(byte) && at + 1 < text.size() ? 2 : 1;
}

CodePage ResolveCodePage(CodePage codePage) {
  if (codePage == CP_ACP) return AnsiCodePage();
  if (codePage == CP_THREAD_ACP) {
    const CodePage threadCodePage = LocaleAnsiCodePage(ThreadLocale());
    return threadCodePage != 0 ? threadCodePage : AnsiCodePage();
  }
  return codePage;
}

bool IsValidCodePage(CodePage codePage) {
  return ConverterFor(ResolveCodePage(codePage)) != nullptr;
}

std::u16string MultiByteToWide(std::string_view text, CodePage codePage) {
  if (text.empty() || text.size() > kMaxTextLength) return {};
  Converter* converter = ConverterFor(ResolveCodePage(codePage));
  if (converter == nullptr) return {};
  // A byte mostly gives at most one UTF-16 unit; ICU asks for more room otherwise.
  std::u16string result(text.size() + 1, u'\0');
  auto convert = [&] {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(converter->handle.get(), result.data(), static_cast<int32_t>(result.size()),
                      text.data(), static_cast<int32_t>(text.size()), &status);
    return std::make_pair(status, length);
  };
  auto [status, length] = convert();
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    result.assign(static_cast<std::size_t>(length), u'\0');
    std::tie(status, length) = convert();
  }
  if (U_FAILURE(status)) return {};
  result.resize(static_cast<std::size_t>(length));
  return result;
}

std::string WideToMultiByte(std::u16string_view text, CodePage codePage, bool* usedDefaultChar) {
  if (usedDefaultChar != nullptr) *usedDefaultChar = false;
  if (text.empty() || text.size() > kMaxTextLength) return {};
  Converter* converter = ConverterFor(ResolveCodePage(codePage));
  if (converter == nullptr) return {};
  UConverter* handle = converter->handle.get();
  std::string result(text.size() * static_cast<std::size_t>(ucnv_getMaxCharSize(handle)) + 1, '\0');
  auto convert = [&] {
    converter->usedDefaultChar = false;
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_fromUChars(handle, result.data(), static_cast<int32_t>(result.size()), text.data(),
                        static_cast<int32_t>(text.size()), &status);
    return std::make_pair(status, length);
  };
  auto [status, length] = convert();
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    result.assign(static_cast<std::size_t>(length), '\0');
    std::tie(status, length) = convert();
  }
  if (U_FAILURE(status)) return {};
  result.resize(static_cast<std::size_t>(length));
  if (usedDefaultChar != nullptr) *usedDefaultChar = converter->usedDefaultChar;
  return result;
}

bool CanEncode(std::u16string_view text, CodePage codePage) {
  if (!IsValidCodePage(codePage)) return false;
  bool usedDefaultChar = false;
  WideToMultiByte(text, codePage, &usedDefaultChar);
  return !usedDefaultChar;
}

std::optional<CodePageInfo> GetCodePageInfo(CodePage codePage) {
  const CodePage resolved = ResolveCodePage(codePage);
  Converter* converter = ConverterFor(resolved);
  if (converter == nullptr) return std::nullopt;
  CodePageInfo info;
  UConverter* handle = converter->handle.get();
  info.maxCharSize = resolved == CP_UTF8 ? 4 : static_cast<unsigned>(ucnv_getMaxCharSize(handle));
  if (info.maxCharSize == 2) info.leadByteRanges = LeadByteRanges(handle);
  return info;
}

}  // namespace lx::platform
