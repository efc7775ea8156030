#include "lang/LxCodePage.h"

#include <bit>

#include "lang/LxLanguageIds.h"
#include "platform/FontSignature.h"
#include "platform/LocaleInfo.h"
#include "platform/TextUtils.h"

namespace lx::lang {

const std::array<TLxCharsetRow, 32> CharsetTable{{
    {0, 1252},   {238, 1250}, {204, 1251}, {161, 1253}, {162, 1254}, {177, 1255}, {178, 1256},
    {186, 1257}, {0, 0},      {0, 0},      {0, 0},      {0, 0},      {0, 0},      {0, 0},
    {0, 0},      {0, 0},      {222, 874},  {128, 932},  {134, 936},  {129, 949},  {136, 950},
    {130, 1361}, {163, 1258}, {0, 0},      {0, 0},      {0, 0},      {0, 0},      {0, 0},
    {0, 0},      {0, 0},      {0, 0},      {0, 0},
}};

namespace {

constexpr int kChinese = 4;

int ChineseCodePage(int sub) {
  return sub == 1 || sub == 3 || sub == 5 ? 950 : 936;
}

// The usual ANSI code page of a primary language, for a locale the system gives none.
int CodePageOfPrimary(int primary, int sub) {
  switch (primary) {
    case 1:
    case 41:
      return 1256;
    case 2:
    case 25:
    case 34:
    case 35:
      return 1251;
    case kChinese:
      return ChineseCodePage(sub);
    case 5:
    case 14:
    case 21:
    case 24:
    case 27:
    case 28:
    case 36:
      return 1250;
    case 8:
      return 1253;
    case 13:
      return 1255;
    case 17:
      return 932;
    case 18:
      return 949;
    case 26:
      return sub == 1 || sub == 2 ? 1250 : 1251;
    case 30:
      return 874;
    case 31:
      return 1254;
    case 37:
    case 38:
    case 39:
      return 1257;
    case 42:
      return 1258;
    case 44:
    case 67:
      return sub == 2 ? 1251 : 1254;
    default:
      return 1252;
  }
}

}  // namespace

int DefaultCodePageOf(int lcid) {
  const int primary = PRIMARYLANGID(lcid);
  const int sub = SUBLANGID(lcid);
  if (primary == kChinese) return ChineseCodePage(sub);
  const std::string text = platform::GetLocaleInfo(static_cast<platform::Lcid>(lcid),
                                                   platform::LOCALE_IDEFAULTANSICODEPAGE, "0");
  const int codePage = platform::StrToIntDef(text, 0);
  return codePage >= 1 ? codePage : CodePageOfPrimary(primary, sub);
}

std::uint8_t CharsetFromCodePage(int codePage) {
  for (const TLxCharsetRow& row : CharsetTable) {
    if (row.CodePage == codePage) return row.Charset;
  }
  return kLxDefaultCharset;
}

std::uint8_t CharsetFromLocale(int lcid) {
  const auto signature = platform::LocaleFontSignature(static_cast<platform::Lcid>(lcid));
  const std::uint32_t bits = signature ? signature->defaultCodePages[0] : 0;
  if (bits == 0) return CharsetTable[0].Charset;
  return CharsetTable[static_cast<std::size_t>(std::countr_zero(bits))].Charset;
}

}  // namespace lx::lang
