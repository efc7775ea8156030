#include "support/lang/LxProcessState.h"

#include "lang/LxDictionaries.h"
#include "lang/LxRedirection.h"

namespace lx::support {

TLxProcessState::TLxProcessState()
    : formatSettings_(framework::FormatSettings()),
      sysLocale_(framework::SysLocale()),
      localeValues_(lang::LocaleValues()),
      defaultDictionaryIndex_(lang::DefaultDictionaryIndex()) {}

TLxProcessState::~TLxProcessState() {
  lang::RemoveResourceStringRedirection();
  framework::FormatSettings() = formatSettings_;
  framework::SysLocale() = sysLocale_;
  lang::LocaleValues() = localeValues_;
  lang::SetDefaultDictionaryIndex(defaultDictionaryIndex_);
}

}  // namespace lx::support
