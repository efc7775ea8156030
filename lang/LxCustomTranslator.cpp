#include "lang/LxCustomTranslator.h"

#include "framework/rtti/Published.h"
#include "lang/LxDictionaries.h"
#include "lang/LxDictionary.h"
#include "lang/LxPlurals.h"

namespace lx::lang {

LX_PUBLISHED(TLxCustomTranslator,
             Property("DictionaryName", &TLxCustomTranslator::DictionaryName,
                      &TLxCustomTranslator::SetDictionaryName),
             Event("OnBeforeTranslate", &TLxCustomTranslator::OnBeforeTranslate),
             Event("OnAfterTranslate", &TLxCustomTranslator::OnAfterTranslate),
             Event("OnLocaleChange", &TLxCustomTranslator::OnLocaleChange),
             Event("OnLanguageChange", &TLxCustomTranslator::OnLanguageChange))

TLxCustomTranslator::TLxCustomTranslator(framework::TComponent* owner) : TComponent(owner) {}

TLxCustomTranslator::~TLxCustomTranslator() {
  TLxCustomTranslator::Close();
}

void TLxCustomTranslator::SetDictionaryName(const std::string& value) {
  if (value == dictionaryName_) return;
  const TLxDictionaries* dictionaries = Dictionaries();
  SetDictionary(dictionaries != nullptr ? dictionaries->Find(value) : nullptr);
  dictionaryName_ = value;
}

void TLxCustomTranslator::SetDictionary(TLxDictionary* dictionary) {
  if (dictionary != dictionary_) {
    if (!IsDesigning() && Active()) Revert();
    BindDictionary(dictionary);
    if (dictionary != nullptr) dictionaryName_ = dictionary->DictionaryName();
  }
}

void TLxCustomTranslator::BindDictionary(TLxDictionary* dictionary) {
  if (dictionary == dictionary_) return;
  Unbind();
  dictionary_ = dictionary;
  boundComponent_ = dictionary;
  if (dictionary != nullptr) FreeNotification(dictionary);
}

// A translator is registered with its bound dictionary only, so it leaves that one's list.
void TLxCustomTranslator::Unbind() {
  if (dictionary_ == nullptr) return;
  dictionary_->UnregisterTranslator(this);
  RemoveFreeNotification(boundComponent_);
  dictionary_ = nullptr;
  boundComponent_ = nullptr;
}

void TLxCustomTranslator::LanguageChanged(bool, bool) {}

void TLxCustomTranslator::Open() {
  state_.Include(lxtsActive);
}

void TLxCustomTranslator::Close() {
  Unbind();
  state_ = TLxTranslatorState();
}

void TLxCustomTranslator::Revert() {
  Close();
}

void TLxCustomTranslator::Notification(framework::TComponent* component,
                                       framework::TOperation operation) {
  TComponent::Notification(component, operation);
  // Only the address is compared: the dictionary may be half destroyed already.
  if (operation == framework::opRemove && component != nullptr && component == boundComponent_) {
    dictionary_ = nullptr;
    boundComponent_ = nullptr;
    state_.Exclude(lxtsActive);
  }
}

void TLxCustomTranslator::SetStateFlag(TLxTranslatorStateItem item, bool on) {
  if (on) {
    state_.Include(item);
  } else {
    state_.Exclude(item);
  }
}

std::string TLxCustomTranslator::TranslatePlural(const std::string& singular,
                                                 const std::string& plural,
                                                 std::int64_t count) const {
  return TranslatePluralWith(dictionary_, singular, plural, count);
}

std::string TLxCustomTranslator::TranslateChoice(const std::string& text,
                                                 const std::string& keyword) const {
  return TranslateChoiceWith(dictionary_, text, keyword);
}

}  // namespace lx::lang
