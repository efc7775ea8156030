#include "support/lang/LxRecordingTranslator.h"

#include "framework/rtti/Published.h"
#include "lang/LxDictionaries.h"
#include "lang/LxDictionary.h"

namespace lx::support {

LX_PUBLISHED(TLxRecordingTranslator)

TLxRecordingTranslator::TLxRecordingTranslator(framework::TComponent* owner)
    : TLxCustomTranslator(owner) {}

void TLxRecordingTranslator::Open() {
  if (Dictionary() == nullptr) {
    lang::TLxDictionaries* dictionaries = lang::Dictionaries();
    if (dictionaries == nullptr || dictionaries->Count() == 0) return;
    lang::TLxDictionary* found = dictionaries->Find(DictionaryName());
    BindDictionary(found != nullptr ? found : dictionaries->Items(0));
  }
  Dictionary()->RegisterTranslator(this);
  TLxCustomTranslator::Open();
}

void TLxRecordingTranslator::Close() {
  ++closes;
  TLxCustomTranslator::Close();
}

void TLxRecordingTranslator::LanguageChanged(bool languageChanged, bool localeChanged) {
  if (languageChanged && localeChanged) {
    changes.push_back("both");
  } else if (languageChanged) {
    changes.push_back("language");
  } else {
    changes.push_back(localeChanged ? "locale" : "none");
  }
  TLxCustomTranslator::LanguageChanged(languageChanged, localeChanged);
}

}  // namespace lx::support
