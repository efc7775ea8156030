#include "translator/LxPoly.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>
#include <typeinfo>

#include "framework/controls/CheckLst.h"
#include "framework/controls/Controls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/core/Collection.h"
#include "framework/core/ScopeExit.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "framework/rtti/TypInfo.h"
#include "framework/streaming/Filer.h"
#include "lang/LxDictionaries.h"
#include "lang/LxDictionary.h"
#include "lang/LxLanguageIds.h"
#include "lang/LxParser.h"
#include "platform/Menus.h"
#include "platform/TextUtils.h"
#include "platform/Windows.h"
#include "translator/LxLayout.h"
#include "translator/LxMenus.h"
#include "translator/LxModules.h"
#include "translator/LxTextLookup.h"
#include "translator/LxTranslatorSupport.h"
#include "translator/LxWalkPlans.h"

namespace lx::translator {

using framework::TComponent;
using framework::TObject;

LX_PUBLISHED(TLxBidirectionalState)

LX_PUBLISHED(TLxTranslator,
             Property("NativeLayout", &TLxTranslator::NativeLayout, &TLxTranslator::SetNativeLayout,
                      lxroLeftToRight),
             Property("Targets", &TLxTranslator::Targets, &TLxTranslator::SetTargets),
             Property("CharsetChange", &TLxTranslator::CharsetChange,
                      &TLxTranslator::SetCharsetChange, lxccNormal),
             Property("Options", &TLxTranslator::Options, &TLxTranslator::SetOptions,
                      kLxDefaultTranslatorOptions),
             Property("MultiByteScale", &TLxTranslator::MultiByteScale,
                      &TLxTranslator::SetMultiByteScale, 100),
             Event("OnTranslate", &TLxTranslator::OnTranslate),
             Event("OnScale", &TLxTranslator::OnScale),
             Event("OnRestrictComponent", &TLxTranslator::OnRestrictComponent),
             Event("OnRestrictObject", &TLxTranslator::OnRestrictObject),
             Event("OnRestrictProperty", &TLxTranslator::OnRestrictProperty))

namespace {

// The selection of a list or combo box, kept across the translation of its items.
class TSelection {
 public:
  explicit TSelection(TObject* owner) {
    if (auto* list = As<framework::TCustomListBox>(owner)) {
      listBox_ = list;
      itemIndex_ = list->ItemIndex();
      const int count = list->Items()->Count();
      if (list->MultiSelect()) {
        for (int i = 0; i < count; ++i)
          selected_.push_back(list->Selected(i));
      }
      if (auto* checks = As<framework::TCheckListBox>(owner)) {
        checkList_ = checks;
        for (int i = 0; i < count; ++i)
          checked_.push_back(checks->Checked(i));
      }
    } else if (auto* combo = As<framework::TCustomComboBox>(owner)) {
      comboBox_ = combo;
      itemIndex_ = combo->ItemIndex();
    }
  }

  // A failure to restore leaves the rest of the selection as it is.
  void Restore() const {
    try {
      for (std::size_t i = 0; i < checked_.size(); ++i)
        checkList_->SetChecked(static_cast<int>(i), checked_[i]);
      for (std::size_t i = 0; i < selected_.size(); ++i)
        listBox_->SetSelected(static_cast<int>(i), selected_[i]);
      if (itemIndex_ != -1) {
        if (listBox_ != nullptr) listBox_->SetItemIndex(itemIndex_);
        if (comboBox_ != nullptr) comboBox_->SetItemIndex(itemIndex_);
      }
    } catch (...) {
    }
  }

 private:
  framework::TCustomListBox* listBox_ = nullptr;
  framework::TCheckListBox* checkList_ = nullptr;
  framework::TCustomComboBox* comboBox_ = nullptr;
  int itemIndex_ = 0;
  std::vector<bool> selected_;
  std::vector<bool> checked_;
};

}  // namespace

// ---- Construction

TLxTranslator::TLxTranslator(TComponent* owner)
    : TLxCustomTranslator(owner),
      targets_(std::make_unique<TLxTargetProperties>()),
      walk_(std::make_unique<TLxWalkCache>()),
      layout_(std::make_unique<TLxLayoutState>(*this)),
      lookup_(std::make_unique<TLxTextLookup>(*this)),
      menus_(std::make_unique<TLxFormMenus>()) {}

TLxTranslator::~TLxTranslator() {
  TLxTranslator::Close();
}

void TLxTranslator::SetTargets(TLxTargetProperties* value) {
  targets_->Assign(value);
}

// ---- Life cycle

platform::HWND TLxTranslator::GetWindowHandle() {
  auto* control = As<framework::TWinControl>(GetRoot());
  return control != nullptr && control->HandleAllocated() ? control->Handle() : 0;
}

TComponent* TLxTranslator::GetRoot() const {
  return root_ != nullptr ? root_ : Owner();
}

void TLxTranslator::Open() {
  if (Active()) {
    DoTranslate();
    SetStateFlag(lang::lxtsActive, true);
    return;
  }
  ResolveDictionary();
  if (!CanOpenDictionary()) return;
  if (!Dictionary()->IsOpen()) Dictionary()->Open();
  layout_->SaveFormFont();
  if (root_ == nullptr) root_ = Owner();
  DoTranslate();
  LanguageChanged(true, true);
  Dictionary()->RegisterTranslator(this);
  SetStateFlag(lang::lxtsActive, true);
}

// Binding found this way also hears of the dictionary's destruction.
void TLxTranslator::ResolveDictionary() {
  if (Dictionary() != nullptr) return;
  const lang::TLxDictionaries* dictionaries = lang::Dictionaries();
  if (dictionaries == nullptr || dictionaries->Count() == 0) return;
  lang::TLxDictionary* found = nullptr;
  if (!DictionaryName().empty()) found = dictionaries->Find(DictionaryName());
  BindDictionary(found != nullptr ? found : dictionaries->Items(0));
}

bool TLxTranslator::CanOpenDictionary() {
  lang::TLxDictionary* dictionary = Dictionary();
  return dictionary != nullptr && dictionary->Enabled() && !dictionary->IsDesigning() &&
         dictionary->CanOpen() && targets_->Count() > 0;
}

void TLxTranslator::Close() {
  TLxCustomTranslator::Close();
  table_.Clear();
  Unwatch();
  root_ = nullptr;
}

void TLxTranslator::Revert() {
  if (Active()) {
    const framework::TScopeExit closeAtLast([this] { Close(); });
    // The last pass also goes back to the native reading order and scale.
    layout_->SetReverting(true, Mirrored());
    const framework::TScopeExit reverted([this] { layout_->SetReverting(false, false); });
    TLxCustomTranslator::Close();
    DoTranslate();
  }
  Close();
}

void TLxTranslator::LanguageChanged(bool languageChanged, bool localeChanged) {
  if (Active() && options_.Contains(lxtoAutoTranslate)) Open();
  if (languageChanged) Fire(OnLanguageChange, this);
  if (localeChanged) Fire(OnLocaleChange, this);
}

void TLxTranslator::TranslateRoot(TComponent* root) {
  root_ = root;
  Watch(root);
  Open();
}

void TLxTranslator::TranslateForm(TComponent* form) {
  TranslateRoot(form);
}

void TLxTranslator::TranslateToNative() {
  if (lang::TLxDictionary* dictionary = Dictionary()) {
    const int locale = dictionary->ActiveLocaleId();
    const lang::TLxDictionaryOptions options = dictionary->Options();
    // No other translator reacts to the switch; the options come back however it ends.
    const framework::TScopeExit restore([dictionary, options] { dictionary->SetOptions(options); });
    dictionary->SetOptions(options - lang::TLxDictionaryOptions{lang::lxdoAutoTranslate});
    dictionary->SetLanguage(0);
    Open();
    dictionary->SetLocale(locale);
  }
  Close();
}

void TLxTranslator::Loaded() {
  TLxCustomTranslator::Loaded();
  if (IsDesigning() || !options_.Contains(lxtoAutoOpen)) return;
  const lang::TLxDictionaries* dictionaries = lang::Dictionaries();
  if (Dictionary() != nullptr || (dictionaries != nullptr && dictionaries->Count() > 0)) Open();
}

void TLxTranslator::Notification(TComponent* component, framework::TOperation operation) {
  TLxCustomTranslator::Notification(component, operation);
  menus_->Forget();
  if (operation != framework::opRemove || component == nullptr) return;
  lookup_->Forget(component);
  // A form being destroyed takes its translator along; nothing is worth forgetting then.
  if (ComponentState().Contains(framework::csDestroying)) return;
  table_.RemoveHolder(component);
  watched_.erase(component);
  layout_->Forget(component);
  if (component == root_) root_ = nullptr;
}

// Components outside the owner's tree are not announced to the translator by its owner.
void TLxTranslator::Watch(TComponent* holder) {
  if (holder == nullptr || holder == Owner() || holder->Owner() == Owner()) return;
  if (watched_.insert(holder).second) FreeNotification(holder);
}

void TLxTranslator::Unwatch() {
  for (TComponent* component : watched_) {
    // Mirroring states outlive Close and still need to hear of their control's end.
    if (component != Dictionary() && !layout_->Keeps(component)) {
      RemoveFreeNotification(component);
    }
  }
  watched_.clear();
}

void TLxTranslator::DefineProperties(framework::TFiler& filer) {
  TLxCustomTranslator::DefineProperties(filer);
  const auto* ancestor = dynamic_cast<const TLxTranslator*>(filer.Ancestor());
  const TLxTargetProperties* ancestorTargets = ancestor != nullptr ? ancestor->Targets() : nullptr;
  const bool reading = dynamic_cast<framework::TReader*>(&filer) != nullptr;
  filer.DefineProperty(
      "TargetsData", [this](framework::TReader& reader) { targets_->ReadTargetsData(reader); },
      [this, ancestorTargets](framework::TWriter& writer) {
        targets_->WriteTargetsData(writer, ancestorTargets);
      },
      reading || targets_->HasTargetsData(ancestorTargets));
}

// ---- The pass

void TLxTranslator::DoTranslate() {
  walk_->visited.Clear();
  walk_->Sync(*targets_);
  table_.BeginPass();
  const framework::TScopeExit passOver([this] { table_.EndPass(); });
  lang::TLxDictionary* dictionary = Dictionary();
  layout_->FollowLanguage();
  Fire(OnBeforeTranslate, this);
  TComponent* root = GetRoot();
  if (dictionary != nullptr && options_.Contains(lxtoCheckFont) &&
      As<framework::TCustomForm>(root) != nullptr) {
    ChangeFormFont();
  }
  {
    const std::vector<framework::TMenu*> menus = menus_->SwitchToManual(*this);
    const framework::TScopeExit rethink([&menus] { TLxFormMenus::RestoreAutomaticHotkeys(menus); });
    if (root != nullptr) TranslateComponent(root, {});
  }
  if (options_.Contains(lxtoTranslateSystemMenu)) TranslateSystemMenu(GetWindowHandle());
  ApplyMultiByteScale();
  if (options_.Contains(lxtoMirrorBiDirectional)) ApplyMirrorFlag();
  Fire(OnAfterTranslate, this);
}

void TLxTranslator::TranslateComponent(TComponent* component, TLxRestrictions restrictions) {
  if (!options_.Contains(lxtoTranslateOCX) &&
      component->ComponentStyle().Contains(framework::csCheckPropAvail)) {
    return;
  }
  TLxRestrictions own = restrictions;
  Fire(OnRestrictComponent, this, component, own);
  const TLxRestrictions childRestrictions =
      own.Contains(lxrThisComponentOnly) ? TLxRestrictions() : own;
  // Owned forms have translators of their own.
  for (int i = 0; i < component->ComponentCount(); ++i) {
    TComponent* child = component->Components(i);
    if (!PlanOf(*child).form) TranslateComponent(child, childRestrictions);
  }
  if (!own.Contains(lxrBuildInTranslation)) TranslateObject(component, own);
  if (!own.Contains(lxrCustomTranslation)) TranslateControlText(component);
  if (options_.Contains(lxtoMirrorBiDirectional)) ApplyReadingOrderStep(component, own);
  Fire(OnTranslate, this, component);
  if (PlanOf(*component).control) static_cast<framework::TControl*>(component)->Invalidate();
}

const TLxClassPlan& TLxTranslator::PlanOf(const TObject& obj) const {
  return walk_->PlanOf(obj, *targets_);
}

inline bool TLxTranslator::Visit(TObject* obj) {
  return walk_->visited.Insert(obj);
}

// Integer properties are met only when "locale" properties are to be set: on request, or
// when the reading order turns.
bool TLxTranslator::LocalesTranslated() const {
  if (options_.Contains(lxtoUpdateLocaleProperty)) return true;
  lang::TLxDictionary* dictionary = Dictionary();
  const bool rightToLeft = dictionary != nullptr && IsRightToLeft(dictionary->LanguageLocaleId());
  return Mirrored() != rightToLeft;
}

void TLxTranslator::TranslateObject(TObject* obj, TLxRestrictions restrictions) {
  if (obj == nullptr) return;
  if (!table_.PassRunning()) walk_->Sync(*targets_);
  const TLxClassPlan& plan = PlanOf(*obj);
  if (plan.skipped) return;
  // An object with nothing to translate is passed by, unless an event is to be asked.
  if (plan.working.empty() && !OnRestrictObject && !OnRestrictProperty) return;
  if (!Visit(obj)) return;
  bool translate = true;
  Fire(OnRestrictObject, this, obj, translate);
  if (!translate) return;

  static const std::string kNoName;
  auto* component = plan.component ? static_cast<TComponent*>(obj) : nullptr;
  const std::string& name =
      component != nullptr && component != GetRoot() ? component->Name() : kNoName;
  TComponent* const outerHolder = walk_->holder;
  const framework::TScopeExit restoreHolder([this, outerHolder] { walk_->holder = outerHolder; });
  if (component != nullptr) walk_->holder = component;

  const bool asked = static_cast<bool>(OnRestrictProperty);
  const bool locales = (asked ? plan.integerSteps : plan.integerWorking) && LocalesTranslated();
  for (const TLxPropertyStep& step : asked ? plan.steps : plan.working) {
    if (step.property->Kind() == framework::tkInteger && !locales) continue;
    // A font that cannot change is passed by here, unless the event is to be asked of it.
    if (!asked && step.font && !layout_->FontStepMayApply(obj, plan, restrictions)) continue;
    TranslateProperty(obj, plan, step, name, restrictions);
  }
}

void TLxTranslator::TranslateProperty(TObject* obj, const TLxClassPlan& plan,
                                      const TLxPropertyStep& step, const std::string& name,
                                      TLxRestrictions restrictions) {
  const framework::TPropInfo& property = *step.property;
  bool translate = true;
  Fire(OnRestrictProperty, this, obj, property.Name(), translate);
  if (!translate) return;
  switch (step.kind) {
    case TLxPropertyStep::kLocale:
      if (!restrictions.Contains(lxrFlip)) {
        lang::TLxDictionary* dictionary = Dictionary();
        framework::SetOrdProp(*obj, property,
                              dictionary != nullptr ? dictionary->LanguageLocaleId() : 0);
      }
      break;
    case TLxPropertyStep::kObject:
      TranslateObjectProperty(obj, plan, step, name, restrictions);
      break;
    case TLxPropertyStep::kText:
      TranslateStringProperty(obj, property, name, plan.menuItem);
      break;
    case TLxPropertyStep::kNone:
      break;
  }
}

// An empty text is passed on too: it may be a translation that emptied a remembered text.
inline void TLxTranslator::TranslateStringProperty(TObject* obj,
                                                   const framework::TPropInfo& property,
                                                   const std::string& name, bool isMenuItem) {
  std::string buffer;
  if (property.Kind() == framework::tkWString || property.Kind() == framework::tkUString) {
    const std::u16string wide = framework::GetWideStrProp(*obj, property);
    const std::string value = lang::WideToAnsi(wide, 0);
    if (const std::string* text =
            TranslateText(obj, name, value, property.Name(), isMenuItem, buffer))
      framework::SetWideStrProp(*obj, property, lang::AnsiToWide(*text, 0));
    return;
  }
  // The text is read in place where the property allows it. The property comes from the
  // plan of the object's own class, so the object's class needs no check.
  std::string copy;
  const std::string* value = property.StringRefUnchecked(*obj);
  if (value == nullptr) value = &(copy = framework::GetStrProp(*obj, property));
  if (const std::string* text =
          TranslateText(obj, name, *value, property.Name(), isMenuItem, buffer)) {
    property.SetStringUnchecked(*obj, *text);
  }
}

void TLxTranslator::TranslateObjectProperty(TObject* obj, const TLxClassPlan& plan,
                                            const TLxPropertyStep& step, const std::string& name,
                                            TLxRestrictions restrictions) {
  if (step.font && !layout_->FontStepMayApply(obj, plan, restrictions)) return;
  TObject* value = framework::GetObjectProp(*obj, *step.property);
  if (value == nullptr) return;
  const TLxClassPlan& held = PlanOf(*value);
  if (held.strings) {
    if (step.target)
      TranslateStringList(obj, static_cast<framework::TStrings*>(value), name,
                          step.property->Name());
  } else if (held.collection) {
    if (plan.comboBoxEx) return;
    auto* collection = static_cast<framework::TCollection*>(value);
    for (int i = 0; i < collection->Count(); ++i) {
      try {
        TranslateObject(collection->Items(i), restrictions);
      } catch (...) {
      }
    }
  } else if (held.font) {
    ChangeFont(obj, static_cast<framework::TFont*>(value), restrictions);
  } else if (held.component) {
    if (!plan.component) return;
    auto* owner = static_cast<TComponent*>(obj);
    auto* component = static_cast<TComponent*>(value);
    // A component of the same owner is walked as an owned component.
    if (owner->Owner() != nullptr && component->Owner() == owner->Owner()) return;
    TranslateObject(component, restrictions);
  } else {
    TranslateObject(value, restrictions);
  }
}

void TLxTranslator::TranslateStringList(TObject* obj, framework::TStrings* strings,
                                        const std::string& name, const std::string& propertyName) {
  const TSelection selection(obj);
  if (!name.empty()) TranslateStrings(obj, name, strings, propertyName);
  selection.Restore();
}

void TLxTranslator::TranslateStrings(TObject* obj, const std::string& name,
                                     framework::TStrings* strings,
                                     const std::string& propertyName) {
  if (strings == nullptr || strings->Count() == 0) return;
  strings->BeginUpdate();
  const framework::TScopeExit endUpdate([strings] { strings->EndUpdate(); });
  auto* list = As<framework::TStringList>(strings);
  const bool sorted = list != nullptr && list->Sorted();
  if (sorted) list->SetSorted(false);
  const framework::TScopeExit resort([list, sorted] {
    if (sorted) list->SetSorted(true);
  });
  const bool isMenuItem = obj != nullptr && PlanOf(*obj).menuItem;
  std::string buffer;
  for (int i = 0; i < strings->Count(); ++i) {
    const std::string line = strings->Strings(i);
    if (const std::string* text = TranslateText(obj, name, line, propertyName, isMenuItem, buffer))
      strings->SetStrings(i, *text);
  }
}

void TLxTranslator::TranslateControlText(TComponent* control) {
  try {
    if (TLxModules* modules = ModulesToAsk()) modules->TranslateControl(this, control);
    if (control == nullptr || !PlanOf(*control).memo) return;
    auto* memo = static_cast<framework::TCustomMemo*>(control);
    if (!targets_->IsTarget(memo->ClassName(), "Text")) return;
    std::string text = memo->Text();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
      text.pop_back();
    // An untranslated text keeps the line breaks it ends with.
    std::string translated = TranslateValue(memo, memo->Name(), text, "Text");
    if (translated != text) memo->SetText(translated);
  } catch (...) {
  }
}

// ---- One text

std::string TLxTranslator::TranslateValue(TObject* obj, const std::string& name,
                                          const std::string& value,
                                          const std::string& propertyName) {
  std::string buffer;
  const std::string* text = TranslateText(obj, name, value, propertyName,
                                          obj != nullptr && PlanOf(*obj).menuItem, buffer);
  return text != nullptr ? *text : value;
}

// The text to write, or null when `value` stays: `buffer`, or the table's copy of the text
// written last, which lives until the pass ends.
const std::string* TLxTranslator::TranslateText(TObject* obj, const std::string& name,
                                                const std::string& value,
                                                const std::string& propertyName, bool isMenuItem,
                                                std::string& buffer) {
  // A menu item's text with a hot key is looked up without it too.
  TLxStrippedText strippedValue;
  if (isMenuItem) strippedValue = StripHotkey(value);
  bool hotkey = strippedValue.hadHotkey;
  const std::string& stripped = isMenuItem ? strippedValue.text : value;
  if (TLxTranslatorTableItem* item = table_.Find(obj, propertyName, stripped)) {
    // The hot key of the native text counts: automatic hot keys may have moved or dropped
    // the marker in the text shown.
    hotkey = isMenuItem && item->NativeText.find('&') != std::string::npos;
    if (isMenuItem) {
      lookup_->Lookup(*item, hotkey, buffer);
      table_.SetCurrentStripped(*item, StripHotkey(buffer).text);
      return buffer != value ? &buffer : nullptr;
    }
    // The item was found by the text shown: that text is what it remembers until now. The
    // new text is copied once, into the item, and written from there.
    std::string_view text;
    if (!lookup_->RememberedText(*item, hotkey, text)) {
      lookup_->Lookup(*item, hotkey, buffer);
      text = buffer;
    }
    if (platform::SameBytes(text, value)) return nullptr;
    table_.ChangeCurrentStripped(*item, text);
    return &item->CurrentStripped;
  }
  // An empty text is never looked up nor remembered.
  if (value.empty()) return nullptr;
  auto item = std::make_unique<TLxTranslatorTableItem>();
  item->Control = obj;
  item->ComponentName = name;
  item->PropertyName = propertyName;
  item->NativeText = value;
  item->NativeStripped = stripped;
  lookup_->Lookup(*item, hotkey, buffer);
  item->CurrentStripped = isMenuItem ? StripHotkey(buffer).text : buffer;
  item->Holder = walk_->holder != nullptr ? walk_->holder : As<TComponent>(obj);
  Watch(const_cast<TComponent*>(item->Holder));
  table_.Add(std::move(item));
  return buffer != value ? &buffer : nullptr;
}

// ---- What the units of the translator hold for it

TLxReadingOrder TLxTranslator::ReadingOrder() const {
  return layout_->ReadingOrder();
}

const std::string& TLxTranslator::SavedFontName() const {
  return layout_->SavedFontName();
}

int TLxTranslator::SavedFontSize() const {
  return layout_->SavedFontSize();
}

const std::vector<std::unique_ptr<TLxBidirectionalState>>& TLxTranslator::BidiStates() const {
  return layout_->BidiStates();
}

TLxBidirectionalState* TLxTranslator::FindBidiState(framework::TControl* control, bool create) {
  return layout_->FindBidiState(control, create);
}

void TLxTranslator::ChangeFormFont() {
  layout_->ChangeFormFont();
}

void TLxTranslator::ChangeFont(TObject* obj, framework::TFont* font, TLxRestrictions restrictions) {
  layout_->ChangeFont(obj, font, restrictions);
}

void TLxTranslator::ApplyReadingOrderStep(TComponent* component, TLxRestrictions restrictions) {
  layout_->ApplyReadingOrderStep(component, restrictions);
}

void TLxTranslator::ApplyMultiByteScale() {
  layout_->ApplyMultiByteScale();
}

void TLxTranslator::ApplyMirrorFlag() {
  layout_->ApplyMirrorFlag();
}

void TLxTranslator::MirrorControl(framework::TControl* control, TLxBidirectionalState* state) {
  layout_->MirrorControl(control, state);
}

void TLxTranslator::UnmirrorControl(framework::TControl* control, TLxBidirectionalState* state) {
  layout_->UnmirrorControl(control, state);
}

bool TLxTranslator::ApplyReadingOrder(TComponent* component) {
  return layout_->ApplyReadingOrder(component);
}

void TLxTranslator::RealignControl(framework::TControl* control) {
  layout_->RealignControl(control);
}

void TLxTranslator::RealignControls() {
  layout_->RealignControls();
}

std::string TLxTranslator::LookupTranslation(const std::string& native,
                                             const std::string& nativeStripped,
                                             const std::string& componentName) {
  return lookup_->Lookup(native, nativeStripped, componentName, nativeStripped != native);
}

TLxStrippedText TLxTranslator::StripHotkey(const std::string& text) {
  return translator::StripHotkey(text);
}

void TLxTranslator::TranslateSystemMenu(platform::HWND handle) {
  translator::TranslateSystemMenu(Dictionary(), handle);
}

void RegisterTranslatorClasses() {
  framework::RegisterClass(TLxTranslator::StaticClassInfo());
}

}  // namespace lx::translator
