// What the translator's walk works out once per class for the targets in force, and the
// objects one pass has handled.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Object.h"
#include "framework/rtti/Rtti.h"
#include "translator/LxTargetProperties.h"

namespace lx::translator {

// One published property the walk meets, and what it does there.
struct TLxPropertyStep {
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
struct TLxClassPlan {
  // Every readable and writable property of a kind the walk meets, in order: a restrict
  // event is asked about each.
  std::vector<TLxPropertyStep> steps;
  // Those that do anything when no event is asked: texts to translate, objects, locales.
  std::vector<TLxPropertyStep> working;
  // Never walked: dictionaries, translators, fonts and string grids.
  bool skipped = false;
  bool component = false, control = false, winControl = false, form = false, menu = false,
       menuItem = false, memo = false, columnTitle = false;
  // Whether `steps`, and `working`, hold an integer property.
  bool integerSteps = false, integerWorking = false;
  // What an object held by a property is.
  bool strings = false, collection = false, font = false, comboBoxEx = false;
};

// The objects handled in one pass: addresses in one open-addressed block, which keeps its
// size from pass to pass, so that a pass allocates nothing once it has grown to the form.
class TLxObjectSet {
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

class TLxWalkCache {
 public:
  // The plans, made anew when the target list differs from the one they were made for.
  void Sync(const TLxTargetProperties& targets);
  // An object's C++ type gives its plan without asking its class info.
  const TLxClassPlan& PlanOf(const framework::TObject& obj, const TLxTargetProperties& targets) {
    const std::type_info* type = &typeid(obj);
    TRecentType& recent = recentTypes_[(reinterpret_cast<std::uintptr_t>(type) >> 4) % kRecent];
    if (recent.type == type) return *recent.plan;
    const framework::TClassInfo& info = obj.ClassInfo();
    const TLxClassPlan& plan = PlanOf(info, targets);
    // Stand-ins share one C++ type, each with a class info of its own.
    if (!info.PerObject()) recent = {type, &plan};
    return plan;
  }
  const TLxClassPlan& PlanOf(const framework::TClassInfo& info,
                             const TLxTargetProperties& targets) {
    TRecent& recent = recent_[(reinterpret_cast<std::uintptr_t>(&info) >> 4) % kRecent];
    if (recent.info == &info) return *recent.plan;
    std::unique_ptr<TLxClassPlan>& plan = plans_[&info];
    if (plan == nullptr) plan = MakePlan(info, targets);
    recent = {&info, plan.get()};
    return *plan;
  }

  TLxObjectSet visited;
  // The component whose walk reaches the current object: the holder of new table items.
  framework::TComponent* holder = nullptr;

 private:
  static std::unique_ptr<TLxClassPlan> MakePlan(const framework::TClassInfo& info,
                                                const TLxTargetProperties& targets);
  static TLxPropertyStep StepOf(const framework::TPropInfo& property, const TLxClassPlan& plan,
                                const framework::TClassInfo& info,
                                const TLxTargetProperties& targets);

  using TTargetEntry = std::tuple<std::string, std::uint8_t, std::string>;
  std::vector<TTargetEntry> entries_;
  std::unordered_map<const framework::TClassInfo*, std::unique_ptr<TLxClassPlan>> plans_;
  // A form has objects of a few classes: their plans are found without hashing.
  struct TRecent {
    const framework::TClassInfo* info = nullptr;
    const TLxClassPlan* plan = nullptr;
  };
  static constexpr std::size_t kRecent = 16;
  std::array<TRecent, kRecent> recent_{};
  struct TRecentType {
    const std::type_info* type = nullptr;
    const TLxClassPlan* plan = nullptr;
  };
  std::array<TRecentType, kRecent> recentTypes_{};
};

}  // namespace lx::translator
