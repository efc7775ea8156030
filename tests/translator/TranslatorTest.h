// The translator suite's shared fixture: the test forms registered, a fixed system and the
// process-wide state restored, and the in-memory dictionary.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "dict/LxAPoly.h"
#include "framework/controls/CheckLst.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "lang/LxDictionaries.h"
#include "platform/Menus.h"
#include "platform/Windows.h"
#include "samples/TranslatorForms.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"
#include "support/lang/LxProcessState.h"
#include "translator/LxModules.h"
#include "translator/LxPoly.h"
#include "translator/LxTextLookup.h"

namespace lx::translator {

using framework::TButton;
using framework::TComponent;
using framework::TControl;
using framework::TMenuItem;
using support::TChildForm;
using support::TMainForm;
using Texts = std::vector<std::string>;

template <typename T>
T& Find(const TComponent& owner, const char* name) {
  auto* found = dynamic_cast<T*>(owner.FindComponent(name));
  if (found == nullptr) throw std::runtime_error(std::string("no component ") + name);
  return *found;
}

// Every text of the form the translator may touch, in one list.
inline Texts TextsOf(const TComponent& form) {
  Texts texts;
  if (auto* control = dynamic_cast<const TControl*>(&form)) {
    texts.push_back(control->Caption());
    texts.push_back(control->Hint());
  }
  for (int i = 0; i < form.ComponentCount(); ++i) {
    TComponent* component = form.Components(i);
    if (auto* item = dynamic_cast<TMenuItem*>(component)) texts.push_back(item->Caption());
    if (auto* memo = dynamic_cast<framework::TCustomMemo*>(component)) {
      texts.push_back(memo->Text());
    } else if (auto* control = dynamic_cast<TControl*>(component)) {
      texts.push_back(control->Caption());
      texts.push_back(control->Hint());
    }
    if (auto* list = dynamic_cast<framework::TCustomListBox*>(component))
      texts.push_back(list->Items()->CommaText());
    if (auto* combo = dynamic_cast<framework::TCustomComboBox*>(component))
      texts.push_back(combo->Items()->CommaText());
  }
  return texts;
}

class TranslatorTest : public ::testing::Test {
 protected:
  TranslatorTest() { support::RegisterTranslatorForms(); }

  // The in-memory dictionary in `language`, open.
  support::TLxMemoryDictionary& OpenMemoryDictionary(int language) {
    memory_ = support::MemoryDictionary();
    memory_->SetLanguage(language);
    memory_->Open();
    return *memory_;
  }

  static TLxTranslator& TranslatorOf(const TComponent& form) {
    return Find<TLxTranslator>(form, "Translator1");
  }

  support::FixedSystem system_;
  support::TLxProcessState state_;
  std::unique_ptr<support::TLxMemoryDictionary> memory_;
};

}  // namespace lx::translator
