#include "framework/runtime/SysLocale.h"

#include "platform/CodePages.h"
#include "platform/SystemLocale.h"

namespace lx::framework {

namespace {

TSysLocale StartupSysLocale() {
  TSysLocale record;
  const platform::Lcid thread = platform::ThreadLocale();
  if (thread != 0) record.DefaultLCID = thread;
  const platform::Lcid languageId = thread & 0xFFFF;
  if (languageId != 0) {
    record.PriLangID = static_cast<int>(languageId & 0x3FF);
    record.SubLangID = static_cast<int>(languageId >> 10);
  }
  record.FarEast = platform::DbcsEnabled();
  record.MiddleEast = platform::MiddleEastEnabled();
  if (record.FarEast) {
    if (const auto info = platform::GetCodePageInfo(platform::CP_ACP)) {
      for (const platform::ByteRange& range : info->leadByteRanges) {
        for (unsigned byte = range.first; byte <= range.last; ++byte)
          record.LeadBytes.set(byte);
      }
    }
  }
  return record;
}

}  // namespace

TSysLocale& SysLocale() {
  static TSysLocale record = StartupSysLocale();
  return record;
}

void InitSysLocale() {
  SysLocale() = StartupSysLocale();
}

}  // namespace lx::framework
