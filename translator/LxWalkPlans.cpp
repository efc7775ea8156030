#include "translator/LxWalkPlans.h"

#include "framework/controls/Controls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/core/Collection.h"
#include "framework/rtti/TypInfo.h"
#include "lang/LxDictionary.h"
#include "platform/TextUtils.h"
#include "translator/LxPoly.h"

namespace lx::translator {

using framework::TComponent;
using framework::TObject;

namespace {

constexpr framework::TTypeKinds kTextKinds = framework::TypeKindMask(
    {framework::tkString, framework::tkLString, framework::tkWString, framework::tkUString});

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

}  // namespace

void TLxWalkCache::Sync(const TLxTargetProperties& targets) {
  if (SameEntries(targets, entries_)) return;
  entries_ = EntriesOf(targets);
  plans_.clear();
  recent_ = {};
  recentTypes_ = {};
}

std::unique_ptr<TLxClassPlan> TLxWalkCache::MakePlan(const framework::TClassInfo& info,
                                                     const TLxTargetProperties& targets) {
  auto plan = std::make_unique<TLxClassPlan>();
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
    const TLxPropertyStep step = StepOf(*property, *plan, info, targets);
    if (step.property == nullptr) continue;
    plan->steps.push_back(step);
    if (step.kind != TLxPropertyStep::kNone) plan->working.push_back(step);
    if (property->Kind() != framework::tkInteger) continue;
    plan->integerSteps = true;
    plan->integerWorking = plan->integerWorking || step.kind != TLxPropertyStep::kNone;
  }
  return plan;
}

// The name of a component is never a target.
TLxPropertyStep TLxWalkCache::StepOf(const framework::TPropInfo& property, const TLxClassPlan& plan,
                                     const framework::TClassInfo& info,
                                     const TLxTargetProperties& targets) {
  TLxPropertyStep step;
  const framework::TTypeKind kind = property.Kind();
  const bool met = framework::KindInMask(kind, kTextKinds) || kind == framework::tkClass ||
                   kind == framework::tkInteger;
  if (!met || !property.IsReadable() || !property.IsWritable()) return step;
  step.property = &property;
  if (kind == framework::tkInteger) {
    if (plan.component && platform::SameTextAscii(property.Name(), "locale"))
      step.kind = TLxPropertyStep::kLocale;
    return step;
  }
  const bool componentName = kind != framework::tkClass && plan.component &&
                             platform::SameTextAscii(property.Name(), "name");
  step.target = !componentName && targets.IsTarget(info.Name(), property.Name());
  if (kind == framework::tkClass) {
    step.kind = TLxPropertyStep::kObject;
    const framework::TClassInfo* held = property.ClassType();
    step.font = held != nullptr && held->InheritsFrom(framework::TFont::StaticClassInfo());
  } else if (step.target) {
    step.kind = TLxPropertyStep::kText;
  }
  return step;
}

}  // namespace lx::translator
