#include "translator/LxTranslatorSupport.h"

#include "lang/LxLanguageIds.h"

namespace lx::translator {

bool IsRightToLeft(int lcid) {
  return lang::ScriptClassOf(lcid) == lang::kLxScriptRightToLeft;
}

TLxModules* ModulesToAsk() {
  TLxModules* modules = Modules();
  return modules != nullptr && !modules->Empty() ? modules : nullptr;
}

}  // namespace lx::translator
