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
#include "translator/LxModules.h"

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

// The framework's classes know their ancestry; asking it is cheaper than a dynamic_cast.
template <typename T>
T* As(TObject* object) {
  return object != nullptr && object->InheritsFrom(T::StaticClassInfo()) ? static_cast<T*>(object)
                                                                         : nullptr;
}

template <typename Event, typename... Args>
void Fire(const Event& event, Args&&... args) {
  if (event) event(std::forward<Args>(args)...);
}

bool IsRightToLeft(int lcid) {
  return lang::ScriptClassOf(lcid) == lang::kLxScriptRightToLeft;
}

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

struct TSystemMenuText {
  platform::UINT id;
  const char* text;
};

// The English texts of the system menu's standard items: the keys of their translations.
constexpr TSystemMenuText kSystemMenuTexts[] = {
    {platform::SC_SIZE, "&Size"},
    {platform::SC_MOVE, "&Move"},
    {platform::SC_MINIMIZE, "Mi&nimize"},
    {platform::SC_MAXIMIZE, "Ma&ximize"},
    {platform::SC_NEXTWINDOW, "&Next"},
    {platform::SC_PREVWINDOW, "&Previous"},
    {platform::SC_CLOSE, "&Close"},
    {platform::SC_VSCROLL, "&Vertical Scroll"},
    {platform::SC_HSCROLL, "&Horizontal Scroll"},
    {platform::SC_MOUSEMENU, "&Mouse"},
    {platform::SC_KEYMENU, "&Key"},
    {platform::SC_ARRANGE, "&Arrange"},
    {platform::SC_RESTORE, "&Restore"},
    {platform::SC_TASKLIST, "&Task List"},
    {platform::SC_SCREENSAVE, "&Screen Saver"},
    {platform::SC_HOTKEY, "&Hot Key"},
    {platform::SC_DEFAULT, "&Default"},
    {platform::SC_MONITORPOWER, "&Monitor Power"},
};

const char* SystemMenuText(platform::UINT id) {
  for (const TSystemMenuText& entry : kSystemMenuTexts) {
    if (entry.id == id) return entry.text;
  }
  return nullptr;
}

// The whole text of a menu item, however long.
std::string MenuItemText(platform::HMENU menu, int position) {
  const int length = platform::GetMenuString(menu, static_cast<platform::UINT>(position), {},
                                             platform::MF_BYPOSITION);
  std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  const int copied = platform::GetMenuString(menu, static_cast<platform::UINT>(position), text,
                                             platform::MF_BYPOSITION);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

// The registry when a module may answer: most programs register none, and the modules are
// asked about every control of every pass.
TLxModules* ModulesToAsk() {
  TLxModules* modules = Modules();
  return modules != nullptr && !modules->Empty() ? modules : nullptr;
}

}  // namespace

// ---- What the walk does per class

// One published property the walk meets, and what it does there.
struct TLxTranslator::TPropertyStep {
  enum TKind : std::uint8_t { kText, kObject, kLocale, kNone };
  const framework::TPropInfo* property = nullptr;
  TKind kind = kNone;
  // kText: the text is translated; kObject: a string list held there is.
  bool target = false;
  // kObject: the property holds a font (or nothing).
  bool font = false;
};

// A class's answers, worked out once for the targets in force: one class asks the same
// questions for each of its objects.
struct TLxTranslator::TClassPlan {
  // Every readable and writable property of a kind the walk meets, in order: a restrict
  // event is asked about each.
  std::vector<TPropertyStep> steps;
  // Those that do anything when no event is asked: texts to translate, objects, locales.
  std::vector<TPropertyStep> working;
  // Never walked: dictionaries, translators, fonts and string grids.
  bool skipped = false;
  bool component = false, control = false, winControl = false, form = false, menu = false,
       menuItem = false, memo = false, columnTitle = false;
  // Whether `steps`, and `working`, hold an integer property.
  bool integerSteps = false, integerWorking = false;
  // What an object held by a property is.
  bool strings = false, collection = false, font = false, comboBoxEx = false;
};

namespace {

// The objects handled in one pass: addresses in one open-addressed block, which keeps its
// size from pass to pass, so that a pass allocates nothing once it has grown to the form.
class TObjectSet {
 public:
  void Clear() {
    std::fill(slots_.begin(), slots_.end(), nullptr);
    count_ = 0;
  }
  // False when `object` is in the set already.
  bool Insert(const void* object) {
    if (2 * (count_ + 1) > slots_.size()) Grow();
    std::size_t slot = SlotOf(object);
    while (slots_[slot] != nullptr) {
      if (slots_[slot] == object) return false;
      slot = (slot + 1) & (slots_.size() - 1);
    }
    slots_[slot] = object;
    ++count_;
    return true;
  }

 private:
  std::size_t SlotOf(const void* object) const {
    const auto address = reinterpret_cast<std::uintptr_t>(object);
    return static_cast<std::size_t>((address >> 4) * 0x9E3779B97F4A7C15ull) & (slots_.size() - 1);
  }
  void Grow() {
    std::vector<const void*> old = std::move(slots_);
    slots_.assign(std::max<std::size_t>(64, 2 * old.size()), nullptr);
    count_ = 0;
    for (const void* object : old) {
      if (object != nullptr) Insert(object);
    }
  }

  std::vector<const void*> slots_;
  std::size_t count_ = 0;
};

using TTargetEntry = std::tuple<std::string, std::uint8_t, std::string>;

std::vector<TTargetEntry> EntriesOf(const TLxTargetProperties& targets) {
  std::vector<TTargetEntry> entries;
  entries.reserve(static_cast<std::size_t>(targets.Count()));
  for (int i = 0; i < targets.Count(); ++i) {
    const TLxTargetProperty& entry = targets.Items(i);
    entries.emplace_back(entry.TargetClass, entry.Exclude, entry.TargetProperty);
  }
  return entries;
}

bool SameEntries(const TLxTargetProperties& targets, const std::vector<TTargetEntry>& entries) {
  if (static_cast<std::size_t>(targets.Count()) != entries.size()) return false;
  for (int i = 0; i < targets.Count(); ++i) {
    const TLxTargetProperty& entry = targets.Items(i);
    const auto& [targetClass, exclude, targetProperty] = entries[static_cast<std::size_t>(i)];
    if (entry.TargetClass != targetClass || entry.Exclude != exclude ||
        entry.TargetProperty != targetProperty) {
      return false;
    }
  }
  return true;
}

constexpr framework::TTypeKinds kTextKinds = framework::TypeKindMask(
    {framework::tkString, framework::tkLString, framework::tkWString, framework::tkUString});

// How many controls ahead a pass asks for their mirroring states.
constexpr std::size_t kBidiReadAhead = 4;

}  // namespace

class TLxTranslator::TWalkCache {
 public:
  // The plans, made anew when the target list differs from the one they were made for.
  void Sync(const TLxTargetProperties& targets) {
    if (SameEntries(targets, entries_)) return;
    entries_ = EntriesOf(targets);
    plans_.clear();
    recent_ = {};
    recentTypes_ = {};
  }
  // An object's C++ type gives its plan without asking its class info.
  const TClassPlan& PlanOf(const TObject& obj, const TLxTargetProperties& targets) {
    const std::type_info* type = &typeid(obj);
    TRecentType& recent = recentTypes_[(reinterpret_cast<std::uintptr_t>(type) >> 4) % kRecent];
    if (recent.type == type) return *recent.plan;
    const framework::TClassInfo& info = obj.ClassInfo();
    const TClassPlan& plan = PlanOf(info, targets);
    if (!info.PerObject()) recent = {type, &plan};
    return plan;
  }
  const TClassPlan& PlanOf(const framework::TClassInfo& info, const TLxTargetProperties& targets) {
    TRecent& recent = recent_[(reinterpret_cast<std::uintptr_t>(&info) >> 4) % kRecent];
    if (recent.info == &info) return *recent.plan;
    std::unique_ptr<TClassPlan>& plan = plans_[&info];
    if (plan == nullptr) plan = MakePlan(info, targets);
    recent = {&info, plan.get()};
    return *plan;
  }

  TObjectSet visited;
  // The root's class and its ancestor form classes, whose names are the look-up contexts.
  const framework::TClassInfo* contextsOf = nullptr;
  std::vector<const framework::TClassInfo*> contexts;

 private:
  static std::unique_ptr<TClassPlan> MakePlan(const framework::TClassInfo& info,
                                              const TLxTargetProperties& targets);
  static TPropertyStep StepOf(const framework::TPropInfo& property, const TClassPlan& plan,
                              const framework::TClassInfo& info,
                              const TLxTargetProperties& targets);

  std::vector<TTargetEntry> entries_;
  std::unordered_map<const framework::TClassInfo*, std::unique_ptr<TClassPlan>> plans_;
  // A form has objects of a few classes: their plans are found without hashing.
  struct TRecent {
    const framework::TClassInfo* info = nullptr;
    const TClassPlan* plan = nullptr;
  };
  static constexpr std::size_t kRecent = 16;
  std::array<TRecent, kRecent> recent_{};
  struct TRecentType {
    const std::type_info* type = nullptr;
    const TClassPlan* plan = nullptr;
  };
  std::array<TRecentType, kRecent> recentTypes_{};
};

std::unique_ptr<TLxTranslator::TClassPlan> TLxTranslator::TWalkCache::MakePlan(
    const framework::TClassInfo& info, const TLxTargetProperties& targets) {
  auto plan = std::make_unique<TClassPlan>();
  const auto is = [&info](const framework::TClassInfo& ancestor) {
    return info.InheritsFrom(ancestor);
  };
  plan->component = is(TComponent::StaticClassInfo());
  plan->control = is(framework::TControl::StaticClassInfo());
  plan->winControl = is(framework::TWinControl::StaticClassInfo());
  plan->form = is(framework::TCustomForm::StaticClassInfo());
  plan->menu = is(framework::TMenu::StaticClassInfo());
  plan->menuItem = is(framework::TMenuItem::StaticClassInfo());
  plan->memo = is(framework::TCustomMemo::StaticClassInfo());
  plan->columnTitle = info.Name() == "TColumnTitle";
  plan->strings = is(framework::TStrings::StaticClassInfo());
  plan->collection = is(framework::TCollection::StaticClassInfo());
  plan->font = is(framework::TFont::StaticClassInfo());
  plan->comboBoxEx = info.Name() == "TComboBoxEx";
  plan->skipped = is(lang::TLxDictionary::StaticClassInfo()) ||
                  is(TLxTranslator::StaticClassInfo()) || plan->font ||
                  info.Name() == "TAdvStringGrid";
  for (const framework::TPropInfo* property : info.Properties()) {
    const TPropertyStep step = StepOf(*property, *plan, info, targets);
    if (step.property == nullptr) continue;
    plan->steps.push_back(step);
    if (step.kind != TPropertyStep::kNone) plan->working.push_back(step);
    if (property->Kind() != framework::tkInteger) continue;
    plan->integerSteps = true;
    plan->integerWorking = plan->integerWorking || step.kind != TPropertyStep::kNone;
  }
  return plan;
}

// The name of a component is never a target.
TLxTranslator::TPropertyStep TLxTranslator::TWalkCache::StepOf(const framework::TPropInfo& property,
                                                               const TClassPlan& plan,
                                                               const framework::TClassInfo& info,
                                                               const TLxTargetProperties& targets) {
  TPropertyStep step;
  const framework::TTypeKind kind = property.Kind();
  const bool met = framework::KindInMask(kind, kTextKinds) || kind == framework::tkClass ||
                   kind == framework::tkInteger;
  if (!met || !property.IsReadable() || !property.IsWritable()) return step;
  step.property = &property;
  if (kind == framework::tkInteger) {
    if (plan.component && platform::SameTextAscii(property.Name(), "locale"))
      step.kind = TPropertyStep::kLocale;
    return step;
  }
  const bool componentName = kind != framework::tkClass && plan.component &&
                             platform::SameTextAscii(property.Name(), "name");
  step.target = !componentName && targets.IsTarget(info.Name(), property.Name());
  if (kind == framework::tkClass) {
    step.kind = TPropertyStep::kObject;
    const framework::TClassInfo* held = property.ClassType();
    step.font = held != nullptr && held->InheritsFrom(framework::TFont::StaticClassInfo());
  } else if (step.target) {
    step.kind = TPropertyStep::kText;
  }
  return step;
}

// ---- Construction

TLxTranslator::TLxTranslator(TComponent* owner)
    : TLxCustomTranslator(owner),
      targets_(std::make_unique<TLxTargetProperties>()),
      walk_(std::make_unique<TWalkCache>()) {}

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
  SaveFormFont();
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

void TLxTranslator::SaveFormFont() {
  if (auto* form = As<framework::TCustomForm>(GetRoot())) {
    savedFontName_ = form->Font()->Name();
    savedFontSize_ = form->Font()->Size();
  } else {
    savedFontName_.clear();
    savedFontSize_ = 0;
  }
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
    revertMirrored_ = Mirrored();
    reverting_ = true;
    const framework::TScopeExit reverted([this] { reverting_ = false; });
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
  menusOf_ = nullptr;  // a component joined or left: the menus are looked for again
  if (operation != framework::opRemove || component == nullptr) return;
  if (component == settingsRoot_) settingsRoot_ = nullptr;
  // A form being destroyed takes its translator along; nothing is worth forgetting then.
  if (ComponentState().Contains(framework::csDestroying)) return;
  table_.RemoveHolder(component);
  watched_.erase(component);
  ForgetBidiState(component);
  if (component == scaledRoot_) {
    scaledRoot_ = nullptr;
    scaledLayouts_.clear();
  }
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
    if (component != Dictionary() && component != scaledRoot_ && !bidiIndex_.contains(component)) {
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
  if (dictionary != nullptr) {
    readingOrder_ = dictionary->CurrentLanguage().ScriptClass() == lang::kLxScriptRightToLeft
                        ? lxroRightToLeft
                        : lxroLeftToRight;
  } else if (reverting_) {
    readingOrder_ = nativeLayout_;
  }
  Fire(OnBeforeTranslate, this);
  TComponent* root = GetRoot();
  if (dictionary != nullptr && options_.Contains(lxtoCheckFont) &&
      As<framework::TCustomForm>(root) != nullptr) {
    ChangeFormFont();
  }
  {
    const std::vector<framework::TMenu*> menus = SwitchMenusToManual();
    const framework::TScopeExit rethink([&menus] { RestoreAutomaticHotkeys(menus); });
    if (root != nullptr) TranslateComponent(root, {});
  }
  if (options_.Contains(lxtoTranslateSystemMenu)) TranslateSystemMenu(GetWindowHandle());
  ApplyMultiByteScale();
  if (options_.Contains(lxtoMirrorBiDirectional)) ApplyMirrorFlag();
  Fire(OnAfterTranslate, this);
}

// Automatic hot keys would rewrite every caption the walk sets; they are given once after.
std::vector<framework::TMenu*> TLxTranslator::SwitchMenusToManual() {
  std::vector<framework::TMenu*> menus;
  TComponent* root = GetRoot();
  if (root == nullptr) return menus;
  for (framework::TMenu* menu : MenusOf(*root)) {
    if (menu->AutoHotkeys() == framework::maAutomatic) {
      menu->SetAutoHotkeys(framework::maManual);
      menus.push_back(menu);
    }
  }
  return menus;
}

// The menus the root owns. The owner's are kept from pass to pass: a translator hears of
// every component that joins or leaves its owner, and each kept menu tells it when it goes.
// Those of another root are looked for every time.
const std::vector<framework::TMenu*>& TLxTranslator::MenusOf(TComponent& root) {
  if (menusOf_ == &root && menusCount_ == root.ComponentCount()) return menus_;
  menus_.clear();
  for (int i = 0; i < root.ComponentCount(); ++i) {
    TComponent* component = root.Components(i);
    if (PlanOf(*component).menu) menus_.push_back(static_cast<framework::TMenu*>(component));
  }
  const bool kept = &root == Owner();
  menusOf_ = kept ? &root : nullptr;
  menusCount_ = root.ComponentCount();
  if (kept) {
    for (framework::TMenu* menu : menus_)
      FreeNotification(menu);
  }
  return menus_;
}

// An item added and taken away again makes the menu work its hot keys out anew.
void TLxTranslator::RestoreAutomaticHotkeys(const std::vector<framework::TMenu*>& menus) {
  for (framework::TMenu* menu : menus) {
    menu->SetAutoHotkeys(framework::maAutomatic);
    auto item = std::make_unique<framework::TMenuItem>(nullptr);
    menu->Items()->Add(item.get());
    menu->Items()->Remove(item.get());
  }
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

inline const TLxTranslator::TClassPlan& TLxTranslator::PlanOf(const TObject& obj) const {
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
  const TClassPlan& plan = PlanOf(*obj);
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
  TComponent* const outerHolder = holder_;
  const framework::TScopeExit restoreHolder([this, outerHolder] { holder_ = outerHolder; });
  if (component != nullptr) holder_ = component;

  const bool asked = static_cast<bool>(OnRestrictProperty);
  const bool locales = (asked ? plan.integerSteps : plan.integerWorking) && LocalesTranslated();
  for (const TPropertyStep& step : asked ? plan.steps : plan.working) {
    if (step.property->Kind() == framework::tkInteger && !locales) continue;
    // A font that cannot change is passed by here, unless the event is to be asked of it.
    if (!asked && step.font && !FontStepMayApply(obj, plan, restrictions)) continue;
    TranslateProperty(obj, plan, step, name, restrictions);
  }
}

void TLxTranslator::TranslateProperty(TObject* obj, const TClassPlan& plan,
                                      const TPropertyStep& step, const std::string& name,
                                      TLxRestrictions restrictions) {
  const framework::TPropInfo& property = *step.property;
  bool translate = true;
  Fire(OnRestrictProperty, this, obj, property.Name(), translate);
  if (!translate) return;
  switch (step.kind) {
    case TPropertyStep::kLocale:
      if (!restrictions.Contains(lxrFlip)) {
        lang::TLxDictionary* dictionary = Dictionary();
        framework::SetOrdProp(*obj, property,
                              dictionary != nullptr ? dictionary->LanguageLocaleId() : 0);
      }
      break;
    case TPropertyStep::kObject:
      TranslateObjectProperty(obj, plan, step, name, restrictions);
      break;
    case TPropertyStep::kText:
      TranslateStringProperty(obj, property, name, plan.menuItem);
      break;
    case TPropertyStep::kNone:
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

void TLxTranslator::TranslateObjectProperty(TObject* obj, const TClassPlan& plan,
                                            const TPropertyStep& step, const std::string& name,
                                            TLxRestrictions restrictions) {
  if (step.font && !FontStepMayApply(obj, plan, restrictions)) return;
  TObject* value = framework::GetObjectProp(*obj, *step.property);
  if (value == nullptr) return;
  const TClassPlan& held = PlanOf(*value);
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

// ---- Fonts, scaling and mirroring: the steps the pass calls at their fixed points

// A pass meets the controls in the order of the pass before, which made their states in
// that order: the state after the one found last is tried first.
TLxBidirectionalState* TLxTranslator::FindBidiState(framework::TControl* control, bool create) {
  if (bidiNext_ < bidiStates_.size() && bidiStates_[bidiNext_]->Control == control) {
    // The states lie apart on the heap: the one a few controls on is asked for now.
    if (bidiNext_ + kBidiReadAhead < bidiStates_.size())
      __builtin_prefetch(bidiStates_[bidiNext_ + kBidiReadAhead].get());
    return bidiStates_[bidiNext_++].get();
  }
  const auto found = bidiIndex_.find(static_cast<TComponent*>(control));
  if (found != bidiIndex_.end()) {
    bidiNext_ = found->second + 1;
    return bidiStates_[found->second].get();
  }
  if (!create || control == nullptr) return nullptr;
  auto state = std::make_unique<TLxBidirectionalState>();
  state->Control = control;
  state->NativeLeft = control->Left();
  bidiIndex_.emplace(control, bidiStates_.size());
  bidiStates_.push_back(std::move(state));
  bidiNext_ = bidiStates_.size();
  // Controls of other owners do not tell the translator that they go.
  if (control->Owner() != Owner()) FreeNotification(control);
  return bidiStates_.back().get();
}

// Told while the control is being destroyed: it is no longer known as a control then.
void TLxTranslator::ForgetBidiState(TComponent* component) {
  const auto found = bidiIndex_.find(component);
  if (found == bidiIndex_.end()) return;
  const std::size_t gone = found->second;
  bidiIndex_.erase(found);
  bidiStates_.erase(bidiStates_.begin() + static_cast<std::ptrdiff_t>(gone));
  for (std::size_t i = gone; i < bidiStates_.size(); ++i)
    bidiIndex_[bidiStates_[i]->Control] = i;
  bidiNext_ = 0;
}

// The form's font follows the language; a language without one brings back the form's own.
// While the form is scaled its font is set at the scaled size.
void TLxTranslator::ChangeFormFont() {
  auto* form = As<framework::TCustomForm>(GetRoot());
  if (form == nullptr || Dictionary() == nullptr || !form->HandleAllocated()) return;
  const lang::TLxLanguage& language = Dictionary()->CurrentLanguage();
  framework::TFont* font = form->Font();
  const std::string& name = language.FontName.empty() ? savedFontName_ : language.FontName;
  int size = language.FontSize == 0 ? savedFontSize_ : language.FontSize;
  if (scaledRoot_ == form) size = framework::MulDiv(size, scaledBy_, 100);
  if (!name.empty() && name != font->Name()) font->SetName(name);
  if (size > 0 && size != font->Size()) font->SetSize(size);
  if (font->Charset() != language.Charset) font->SetCharset(language.Charset);
}

void TLxTranslator::ChangeFont(TObject* obj, framework::TFont* font, TLxRestrictions restrictions) {
  if (Dictionary() == nullptr || charsetChange_ == lxccDisabled ||
      restrictions.Contains(lxrCharset) || PlanOf(*obj).columnTitle || !FontMayChange(obj)) {
    return;
  }
  const lang::TLxLanguage& language = Dictionary()->CurrentLanguage();
  if (!language.FontName.empty() && language.FontName != font->Name())
    font->SetName(language.FontName);
  if (language.FontSize != 0 && language.FontSize != font->Size()) font->SetSize(language.FontSize);
  if (font->Charset() != language.Charset) font->SetCharset(language.Charset);
}

// What the font step asks before it looks at the font, where the answer is no without
// doing anything: a font that cannot change is not even read.
bool TLxTranslator::FontStepMayApply(TObject* obj, const TClassPlan& plan,
                                     TLxRestrictions restrictions) const {
  if (Dictionary() == nullptr || charsetChange_ == lxccDisabled ||
      restrictions.Contains(lxrCharset) || plan.columnTitle) {
    return false;
  }
  if (charsetChange_ != lxccNormal || !plan.winControl) return true;
  const auto* control = static_cast<const framework::TWinControl*>(obj);
  return control->HandleAllocated() ||
         (control->Parent() != nullptr && control->Parent()->HandleAllocated());
}

// Under lxccNormal a windowed control without a window takes a new font only when its
// parent has one: its window is made at once, and a control whose window cannot be made
// keeps its font.
bool TLxTranslator::FontMayChange(TObject* obj) const {
  if (charsetChange_ != lxccNormal || !PlanOf(*obj).winControl) return true;
  auto* control = static_cast<framework::TWinControl*>(obj);
  if (control->HandleAllocated()) return true;
  if (control->Parent() == nullptr || !control->Parent()->HandleAllocated()) return false;
  try {
    control->HandleNeeded();
  } catch (const std::exception&) {
    return false;
  }
  return control->HandleAllocated();
}

void TLxTranslator::ApplyReadingOrderStep(TComponent* component, TLxRestrictions restrictions) {
  bool changed = true;
  if (PlanOf(*component).control) {
    auto* control = static_cast<framework::TControl*>(component);
    TLxBidirectionalState* state = FindBidiState(control, true);
    changed = state->ReadingOrder != readingOrder_;
    if (!restrictions.Contains(lxrFlip)) {
      if (component == GetRoot())
        state->ReadingOrder = readingOrder_;  // the root itself never moves
      else if (readingOrder_ == nativeLayout_)
        UnmirrorControl(control, state);
      else
        MirrorControl(control, state);
    }
  }
  if (changed && !restrictions.Contains(lxrReadingOrder)) ApplyReadingOrder(component);
}

// Far-east languages scale the root by MultiByteScale percent; any other language (and
// Revert) scales it back, by the percentage it was scaled with. A root this translator
// scaled before it was closed counts as scaled still. A percentage below 1 scales nothing.
void TLxTranslator::ApplyMultiByteScale() {
  lang::TLxDictionary* dictionary = Dictionary();
  auto* root = As<framework::TWinControl>(GetRoot());
  if ((dictionary == nullptr && !reverting_) || !options_.Contains(lxtoScaleMultiByte) ||
      multiByteScale_ == 100 || multiByteScale_ < 1 || root == nullptr) {
    return;
  }
  const bool scaled = Scaled() || scaledRoot_ == root;
  SetStateFlag(lang::lxtsScaled, scaled);
  const bool farEast = dictionary != nullptr &&
                       dictionary->CurrentLanguage().ScriptClass() == lang::kLxScriptFarEast;
  if (farEast && !scaled) {
    auto* form = As<framework::TForm>(root);
    if (form != nullptr && form->AutoScroll()) {
      throw lang::ELxPoly("Cannot scale a form (" + form->Name() +
                          ") that has AutoScroll property set True");
    }
    ScaleRoot(root, multiByteScale_, 100);
    SetStateFlag(lang::lxtsScaled, true);
    Fire(OnScale, this, root);
  } else if (!farEast && scaled) {
    ScaleRoot(root, 100, scaledBy_);
    SetStateFlag(lang::lxtsScaled, false);
    Fire(OnScale, this, root);
  }
}

// The controls under `root`, parents before their children.
namespace {
void CollectControls(framework::TControl* control, std::vector<framework::TControl*>& controls) {
  controls.push_back(control);
  if (auto* parent = As<framework::TWinControl>(control)) {
    for (int i = 0; i < parent->ControlCount(); ++i)
      CollectControls(parent->Controls(i), controls);
  }
}
}  // namespace

TLxTranslator::TLxLayout TLxTranslator::LayoutOf(framework::TControl* control) {
  TLxLayout layout{control->Left(), control->Top(), control->Width(), control->Height(),
                   control->Font()->Height()};
  if (TLxBidirectionalState* state = FindBidiState(control, false); state && state->Flipped)
    layout.left = state->NativeLeft;
  return layout;
}

// A flipped control keeps its mirrored place under its (already laid out) parent.
void TLxTranslator::SetLayout(framework::TControl* control, const TLxLayout& layout) {
  int left = layout.left;
  TLxBidirectionalState* state = FindBidiState(control, false);
  if (state != nullptr && state->Flipped && control->Parent() != nullptr) {
    state->NativeLeft = layout.left;
    left = control->Parent()->ClientWidth() - layout.width - layout.left;
  }
  control->SetBounds(left, layout.top, layout.width, layout.height);
  if (!control->ParentFont() && control->Font()->Height() != layout.fontHeight)
    control->Font()->SetHeight(layout.fontHeight);
}

// The framework scales; then every control is laid out from its native-order place, so that
// mirrored controls stay mirrored exactly, and scaling back restores every layout that
// nothing changed since it was scaled.
void TLxTranslator::ScaleRoot(framework::TWinControl* root, int multiplier, int divisor) {
  std::vector<framework::TControl*> controls;
  CollectControls(root, controls);
  std::vector<TLxLayout> before;
  before.reserve(controls.size());
  for (framework::TControl* control : controls)
    before.push_back(LayoutOf(control));
  const bool scalingBack = scaledRoot_ == root;
  root->ScaleBy(multiplier, divisor);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    framework::TControl* control = controls[i];
    TLxLayout layout = LayoutOf(control);
    const auto remembered = scaledLayouts_.find(control);
    if (scalingBack && remembered != scaledLayouts_.end() && remembered->second.second == before[i])
      layout = remembered->second.first;
    else if (i > 0)
      layout.left = framework::MulDiv(before[i].left, multiplier, divisor);
    SetLayout(control, layout);
  }
  scaledLayouts_.clear();
  scaledRoot_ = scalingBack ? nullptr : root;
  scaledBy_ = scalingBack ? 100 : multiplier;
  if (scalingBack) return;
  for (std::size_t i = 0; i < controls.size(); ++i)
    scaledLayouts_.emplace(controls[i], std::make_pair(before[i], LayoutOf(controls[i])));
}

// The frame is drawn anew when the form turns to or from right-to-left.
void TLxTranslator::ApplyMirrorFlag() {
  const bool wasMirrored = Mirrored() || (reverting_ && revertMirrored_);
  const bool mirrored = readingOrder_ != nativeLayout_;
  SetStateFlag(lang::lxtsMirrored, mirrored);
  auto* root = As<framework::TWinControl>(GetRoot());
  if (root == nullptr || mirrored == wasMirrored || !root->HandleAllocated()) return;
  platform::SetWindowPos(root->Handle(), platform::HWND_TOP, 0, 0, 0, 0,
                         platform::SWP_NOSIZE | platform::SWP_NOMOVE | platform::SWP_FRAMECHANGED);
}

// A control is mirrored from where it stands in the native order, which is remembered anew
// each time, so that a control moved meanwhile comes back to its new place.
void TLxTranslator::MirrorControl(framework::TControl* control, TLxBidirectionalState* state) {
  TLxModules* modules = ModulesToAsk();
  if (modules != nullptr && modules->MirrorControl(this, control, state)) return;
  if (state->Flipped || control->Parent() == nullptr) return;
  state->Flipped = true;
  state->ReadingOrder = nativeLayout_ == lxroLeftToRight ? lxroRightToLeft : lxroLeftToRight;
  state->NativeLeft = control->Left();
  control->SetLeft(control->Parent()->ClientWidth() - control->Width() - control->Left());
}

void TLxTranslator::UnmirrorControl(framework::TControl* control, TLxBidirectionalState* state) {
  TLxModules* modules = ModulesToAsk();
  if (modules != nullptr && modules->UnmirrorControl(this, control, state)) return;
  if (!state->Flipped) return;
  state->Flipped = false;
  state->ReadingOrder = nativeLayout_;
  control->SetLeft(state->NativeLeft);
}

bool TLxTranslator::ApplyReadingOrder(TComponent* component) {
  TLxModules* modules = ModulesToAsk();
  return modules != nullptr && modules->ApplyReadingOrder(this, component);
}

// Both place a flipped control anew from its parent's current width (after a resize).
void TLxTranslator::RealignControl(framework::TControl* control) {
  if (!Mirrored() || control == nullptr || control->Parent() == nullptr || control == GetRoot())
    return;
  const TLxBidirectionalState* state = FindBidiState(control, false);
  if (state != nullptr && state->Flipped)
    control->SetLeft(control->Parent()->ClientWidth() - control->Width() - state->NativeLeft);
}

void TLxTranslator::RealignControls() {
  if (!Mirrored()) return;
  const TComponent* root = GetRoot();
  for (const auto& state : bidiStates_) {
    framework::TControl* control = state->Control;
    if (control == root || control->Parent() == nullptr || !state->Flipped) continue;
    const int left = control->Parent()->ClientWidth() - control->Width() - state->NativeLeft;
    if (left != control->Left()) control->SetLeft(left);
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
  isMenuItem_ = isMenuItem;
  hadHotkey_ = false;
  std::string strippedValue;
  if (isMenuItem_) strippedValue = StripHotkey(value);
  const std::string& stripped = isMenuItem_ ? strippedValue : value;
  if (TLxTranslatorTableItem* item = table_.Find(obj, propertyName, stripped)) {
    // The hot key of the native text counts: automatic hot keys may have moved or dropped
    // the marker in the text shown.
    hadHotkey_ = isMenuItem_ && item->NativeText.find('&') != std::string::npos;
    if (isMenuItem_) {
      LookupTranslation(*item, buffer);
      table_.SetCurrentStripped(*item, StripHotkey(buffer));
      return buffer != value ? &buffer : nullptr;
    }
    // The item was found by the text shown: that text is what it remembers until now. The
    // new text is copied once, into the item, and written from there.
    std::string_view text;
    if (!RememberedText(*item, text)) {
      LookupTranslation(*item, buffer);
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
  LookupTranslation(*item, buffer);
  item->CurrentStripped = isMenuItem_ ? StripHotkey(buffer) : buffer;
  item->Holder = holder_ != nullptr ? holder_ : As<TComponent>(obj);
  Watch(const_cast<TComponent*>(item->Holder));
  table_.Add(std::move(item));
  return buffer != value ? &buffer : nullptr;
}

std::string TLxTranslator::StripHotkey(const std::string& text) {
  std::string result = text;
  hadHotkey_ = text.find('&') != std::string::npos;
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (result[i] != '&') continue;
    if (i > 0 && result[i - 1] == '(' && i + 2 < result.size() && result[i + 2] == ')') {
      result.erase(i - 1, 4);
    } else {
      result.erase(i, 1);
    }
  }
  return result;
}

bool TLxTranslator::TranslateWord(const std::string& native, const std::string& nativeStripped,
                                  std::string& value) {
  lang::TLxDictionary& dictionary = *Dictionary();
  if (dictionary.TranslateWord(native, value)) return true;
  return isMenuItem_ && hadHotkey_ && dictionary.TranslateWord(nativeStripped, value);
}

// The root's class, then its ancestor form classes.
const std::vector<const framework::TClassInfo*>& TLxTranslator::Contexts(const TComponent& root) {
  TWalkCache& walk = *walk_;
  if (walk.contextsOf != &root.ClassInfo()) {
    walk.contextsOf = &root.ClassInfo();
    walk.contexts.clear();
    for (const framework::TClassInfo* context = walk.contextsOf; context != nullptr;) {
      walk.contexts.push_back(context);
      context = context->Parent();
      if (context == &framework::TForm::StaticClassInfo() ||
          context == &framework::TCustomForm::StaticClassInfo() ||
          context == &TComponent::StaticClassInfo()) {
        break;
      }
    }
  }
  return walk.contexts;
}

bool TLxTranslator::TranslateInContexts(const std::string& native,
                                        const std::string& nativeStripped,
                                        const std::string& componentName, std::string& value) {
  lang::TLxDictionary& dictionary = *Dictionary();
  const TComponent* root = GetRoot();
  if (root == nullptr) return false;
  for (const framework::TClassInfo* context : Contexts(*root)) {
    if (dictionary.Translate(native, context->Name(), value, componentName)) return true;
    if (isMenuItem_ && hadHotkey_ &&
        dictionary.Translate(nativeStripped, context->Name(), value, componentName)) {
      return true;
    }
  }
  return false;
}

// A translation found is given as it is; anything else is the dictionary's missing-text rule.
std::string TLxTranslator::LookupTranslation(const std::string& native,
                                             const std::string& nativeStripped,
                                             const std::string& componentName) {
  lang::TLxDictionary* dictionary = Dictionary();
  if (dictionary == nullptr) return native;
  if (dictionary->KeysVersion() != 0) {
    return TextOf(*dictionary, native,
                  FindAnswer(*dictionary, native, nativeStripped, componentName));
  }
  std::string value;
  if (!dictionary->HasContextKeys()) {
    const bool found = TranslateWord(native, nativeStripped, value);
    if (found && !value.empty()) return value;
    return lang::ApplyMissingTranslation(dictionary, native, value, found);
  }
  if (TranslateInContexts(native, nativeStripped, componentName, value)) {
    if (!value.empty()) return value;
    return lang::ApplyMissingTranslation(dictionary, native, value, true);
  }
  if (FlatTranslation || dictionary->Options().Contains(lang::lxdoUseFlatTranslation)) {
    value.clear();
    if (TranslateWord(native, nativeStripped, value)) return value;
  }
  return lang::ApplyMissingTranslation(dictionary, native, value, false);
}

// The answer a table item remembers is taken again while the dictionary's keys and the
// settings of the look-up stay; only the text at its position is read anew.
void TLxTranslator::LookupTranslation(TLxTranslatorTableItem& item, std::string& result) {
  std::string_view text;
  if (RememberedText(item, text)) {
    result.assign(text);
    return;
  }
  lang::TLxDictionary* dictionary = Dictionary();
  if (dictionary == nullptr) {
    result = item.NativeText;
  } else if (dictionary->KeysVersion() == 0) {
    result = LookupTranslation(item.NativeText, item.NativeStripped, item.ComponentName);
  } else {
    result = TextOf(*dictionary, item.NativeText, item.Answer);
  }
}

// The text found where the item's answer points, as the dictionary holds it; false when
// there is no such text and the look-up by text or the missing-text rule gives it.
bool TLxTranslator::RememberedText(TLxTranslatorTableItem& item, std::string_view& text) {
  lang::TLxDictionary* dictionary = Dictionary();
  if (dictionary == nullptr) return false;
  const std::uint64_t version = dictionary->KeysVersion();
  if (version == 0) return false;
  const std::uint64_t settings = LookupSettings(*dictionary);
  TLxLookupAnswer& answer = item.Answer;
  if (answer.keysVersion != version || answer.settings != settings ||
      answer.stripped != (isMenuItem_ && hadHotkey_)) {
    answer = FindAnswer(*dictionary, item.NativeText, item.NativeStripped, item.ComponentName);
    answer.keysVersion = version;
    answer.settings = settings;
  }
  if (answer.position < 0) return false;
  text = dictionary->TextAt(answer.position);
  return !text.empty() || answer.path == TLxLookupAnswer::kFlat;
}

// The same search as the look-up by text, giving where it found the text.
TLxLookupAnswer TLxTranslator::FindAnswer(lang::TLxDictionary& dictionary,
                                          const std::string& native,
                                          const std::string& nativeStripped,
                                          const std::string& componentName) {
  TLxLookupAnswer answer;
  answer.stripped = isMenuItem_ && hadHotkey_;
  if (!dictionary.HasContextKeys()) {
    answer.position = FindWordPosition(dictionary, native, nativeStripped, answer.stripped);
    return answer;
  }
  answer.path = TLxLookupAnswer::kContext;
  if (const TComponent* root = GetRoot()) {
    for (const framework::TClassInfo* context : Contexts(*root)) {
      answer.position = dictionary.FindKey(native, context->Name(), componentName);
      if (answer.position < 0 && answer.stripped)
        answer.position = dictionary.FindKey(nativeStripped, context->Name(), componentName);
      if (answer.position >= 0) return answer;
    }
  }
  if (FlatTranslation || dictionary.Options().Contains(lang::lxdoUseFlatTranslation)) {
    answer.path = TLxLookupAnswer::kFlat;
    answer.position = FindWordPosition(dictionary, native, nativeStripped, answer.stripped);
  }
  return answer;
}

int TLxTranslator::FindWordPosition(const lang::TLxDictionary& dictionary,
                                    const std::string& native, const std::string& nativeStripped,
                                    bool stripped) const {
  const int position = dictionary.FindWord(native);
  return position < 0 && stripped ? dictionary.FindWord(nativeStripped) : position;
}

// A flat translation is given as found, even empty; an empty text found in a context, or
// none, is the dictionary's missing-text rule.
std::string TLxTranslator::TextOf(lang::TLxDictionary& dictionary, const std::string& native,
                                  const TLxLookupAnswer& answer) {
  if (answer.position < 0) return lang::ApplyMissingTranslation(&dictionary, native, {}, false);
  const std::string_view text = dictionary.TextAt(answer.position);
  if (!text.empty() || answer.path == TLxLookupAnswer::kFlat) return std::string(text);
  return lang::ApplyMissingTranslation(&dictionary, native, {}, true);
}

inline std::uint64_t TLxTranslator::LookupSettings(const lang::TLxDictionary& dictionary) {
  const TComponent* root = GetRoot();
  if (root != settingsRoot_) {
    settingsRoot_ = root;
    settingsRootClass_ = root != nullptr ? &root->ClassInfo() : nullptr;
  }
  const TLookupSettings now{
      &dictionary, settingsRootClass_, dictionary.HasContextKeys(),
      FlatTranslation || dictionary.Options().Contains(lang::lxdoUseFlatTranslation)};
  if (now != lookupSettings_) {
    lookupSettings_ = now;
    ++settings_;
  }
  return settings_;
}

void TLxTranslator::TranslateSystemMenu(platform::HWND handle) {
  lang::TLxDictionary* dictionary = Dictionary();
  if (dictionary == nullptr || handle == 0) return;
  const platform::HMENU menu = platform::GetSystemMenu(handle, false);
  const int count = platform::GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    platform::MENUITEMINFO info;
    info.fMask = platform::MIIM_ID | platform::MIIM_FTYPE;
    if (!platform::GetMenuItemInfo(menu, static_cast<platform::UINT>(position), true, info) ||
        (info.fType & platform::MFT_SEPARATOR) != 0) {
      continue;
    }
    const char* english = SystemMenuText(info.wID);
    if (english == nullptr) continue;
    std::string text = lang::TranslateWith(dictionary, english);
    const std::string current = MenuItemText(menu, position);
    // The shortcut label after a tab stays.
    if (const std::size_t tab = current.find('\t'); tab != std::string::npos)
      text += current.substr(tab);
    platform::MENUITEMINFO update;
    update.fMask = platform::MIIM_ID | platform::MIIM_STRING;
    update.wID = info.wID;
    update.dwTypeData = text.data();
    platform::SetMenuItemInfo(menu, static_cast<platform::UINT>(position), true, update);
  }
}

void RegisterTranslatorClasses() {
  framework::RegisterClass(TLxTranslator::StaticClassInfo());
}

}  // namespace lx::translator
