#include "framework/core/Component.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "framework/rtti/Published.h"
#include "framework/streaming/Filer.h"
#include "platform/TextUtils.h"

namespace lx::framework {

LX_PUBLISHED(TComponent, Property("Name", &TComponent::Name, &TComponent::SetName).Stored(false),
             Property("Tag", &TComponent::Tag, &TComponent::SetTag, 0))

namespace {

bool IsValidIdent(std::string_view name) {
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  return !name.empty() && letter(name.front()) &&
         std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || digit(c); });
}

// A published field of `owner` named `name` must be able to hold `component`; checked before
// anything changes, so that a refused name leaves everything as it was.
void CheckFieldFits(const TComponent* owner, const std::string& name, const TComponent* component) {
  if (owner == nullptr || name.empty()) return;
  const TFieldInfo* field = owner->ClassInfo().FindField(name);
  if (field != nullptr && !field->Accepts(component)) {
    throw EComponentError("Field " + owner->ClassName() + "." + name + " cannot hold a " +
                          component->ClassName());
  }
}

// Components mostly go last first: the search starts at the end.
std::size_t IndexFromBack(const std::vector<TComponent*>& list, const TComponent* component) {
  for (std::size_t i = list.size(); i > 0; --i) {
    if (list[i - 1] == component) return i - 1;
  }
  return list.size();
}

bool EraseFromBack(std::vector<TComponent*>& list, const TComponent* component) {
  const std::size_t at = IndexFromBack(list, component);
  if (at == list.size()) return false;
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(at));
  return true;
}

// Names compared as FindComponent compares them (ASCII case ignored), looked up without a copy.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const {
    std::size_t hash = 14695981039346656037ull;
    for (const char c : name)
      hash =
          (hash ^ static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c)) * 1099511628211ull;
    return hash;
  }
};
struct NameEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return platform::SameTextAscii(a, b);
  }
};

}  // namespace

struct TComponent::TNameIndex {
  std::unordered_map<std::string, TComponent*, NameHash, NameEqual> names;
};

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  RemoveFreeNotifications();
  DestroyComponents();
  if (owner_ != nullptr) owner_->RemoveComponent(this);
}

TPersistent* TComponent::GetOwner() const {
  return owner_;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) {
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return components_[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (owner_ == nullptr) return -1;
  const auto& siblings = owner_->components_;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void TComponent::SetComponentIndex(int value) {
  if (owner_ == nullptr) return;
  auto& siblings = owner_->components_;
  const int current = ComponentIndex();
  value = std::clamp(value, 0, static_cast<int>(siblings.size()) - 1);
  if (value == current) return;
  siblings.erase(siblings.begin() + current);
  siblings.insert(siblings.begin() + value, this);
  owner_->OrderListeners();
}

void TComponent::SetName(const std::string& value) {
  if (value == name_) return;
  if (!value.empty() && !IsValidIdent(value)) {
    throw EComponentError("'" + value + "' is not a valid component name");
  }
  if (owner_ != nullptr) {
    owner_->ValidateRename(this, name_, value);
  } else {
    ValidateRename(nullptr, name_, value);
  }
  CheckFieldFits(owner_, value, this);
  SetReference(false);
  ChangeName(value);
  SetReference(true);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  if (names_) return FindIndexed(name);
  for (TComponent* component : components_) {
    if (platform::SameTextAscii(component->name_, name)) return component;
  }
  return nullptr;
}

void TComponent::CheckUniqueName(const std::string& name, const TComponent* except) const {
  const TComponent* same = FindComponent(name);
  if (same != nullptr && same != except) {
    throw EComponentError("A component named " + name + " already exists");
  }
}

void TComponent::InsertComponent(TComponent* component) {
  if (component == nullptr || component->owner_ == this) return;
  for (const TComponent* c = this; c != nullptr; c = c->owner_) {
    if (c == component) throw EComponentError("A component cannot own itself or its owners");
  }
  component->ValidateContainer(this);
  CheckUniqueName(component->name_, component);
  ValidateRename(component, "", component->name_);
  CheckFieldFits(this, component->name_, component);
  if (component->owner_ != nullptr) component->owner_->RemoveComponent(component);
  Insert(component);
  component->SetReference(true);
  if (state_.Contains(csDesigning)) component->SetDesigning(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (component == nullptr || component->owner_ != this) return;
  Notification(component, opRemove);
  // The notification may have taken it away already.
  if (component->owner_ != this) return;
  component->SetReference(false);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
  if (names_) {
    IndexName(component);
  } else if (components_.size() >= indexFrom_) {
    BuildNameIndex();
  }
  // Owning a component makes this one listen to its owner.
  if (components_.size() == 1 && owner_ != nullptr && !listening_) {
    const std::size_t index = IndexFromBack(owner_->components_, this);
    if (index < owner_->asked_) owner_->Listen(this, index);
  }
}

void TComponent::Remove(TComponent* component) {
  const std::size_t index = IndexFromBack(components_, component);
  if (index == components_.size()) return;
  UnindexName(component);
  if (component->listening_) EraseFromBack(listeners_, component);
  component->listening_ = false;
  if (index < asked_) --asked_;
  components_.erase(components_.begin() + static_cast<std::ptrdiff_t>(index));
  component->owner_ = nullptr;
}

void TComponent::ChangeName(const std::string& newName) {
  if (owner_ != nullptr) owner_->UnindexName(this);
  name_ = newName;
  if (owner_ != nullptr && owner_->names_) owner_->IndexName(this);
}

bool TComponent::Listens() const {
  return ClassInfo().HearsNotifications() || !components_.empty();
}

// The components inserted since the last notification are asked now; one still being made
// (the one inserted) would answer for its base class, so it is asked next time.
void TComponent::AskListeners(const TComponent* inserted) {
  while (asked_ < components_.size()) {
    TComponent* component = components_[asked_];
    if (component == inserted && asked_ + 1 == components_.size()) break;
    if (!component->listening_ && component->Listens()) {
      component->listening_ = true;
      listeners_.push_back(component);
    }
    ++asked_;
  }
}

// In the order of the owned components: `index` is the component's own place among them.
void TComponent::Listen(TComponent* component, std::size_t index) {
  std::size_t before = 0;
  for (std::size_t i = 0; i < index; ++i) {
    if (components_[i]->listening_) ++before;
  }
  component->listening_ = true;
  listeners_.insert(listeners_.begin() + static_cast<std::ptrdiff_t>(before), component);
}

void TComponent::OrderListeners() {
  AskListeners(nullptr);
  listeners_.clear();
  for (TComponent* component : components_) {
    if (component->listening_) listeners_.push_back(component);
  }
}

// Listeners may come and go while they are told; every index is checked again.
void TComponent::TellListeners(TComponent* component, TOperation operation) {
  AskListeners(operation == opInsert ? component : nullptr);
  int i = static_cast<int>(listeners_.size()) - 1;
  while (i >= 0) {
    listeners_[static_cast<std::size_t>(i)]->Notification(component, operation);
    --i;
    if (i >= static_cast<int>(listeners_.size())) i = static_cast<int>(listeners_.size()) - 1;
  }
}

TComponent* TComponent::FindIndexed(std::string_view name) const {
  const auto found = names_->names.find(name);
  return found == names_->names.end() ? nullptr : found->second;
}

void TComponent::BuildNameIndex() {
  names_ = std::make_unique<TNameIndex>();
  names_->names.reserve(components_.size() * 2);
  for (TComponent* component : components_) {
    IndexName(component);
    if (!names_) return;
  }
}

// Two components of one name (renamed past the checks) find the first of them, as a search
// in order does: there is no index while it lasts, and another is tried at twice the size.
void TComponent::IndexName(TComponent* component) {
  if (component->name_.empty()) return;
  if (!names_->names.emplace(component->name_, component).second) {
    names_.reset();
    indexFrom_ = components_.size() * 2;
  }
}

void TComponent::UnindexName(const TComponent* component) {
  if (!names_ || component->name_.empty()) return;
  const auto found = names_->names.find(std::string_view(component->name_));
  if (found != names_->names.end() && found->second == component) names_->names.erase(found);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* component = components_.back();
    // Whoever asked to hear of it hears of it; the rest are going with their owner.
    const bool told = component->state_.Contains(csFreeNotification) ||
                      (state_.Contains(csDesigning) && state_.Contains(csInline));
    if (told) RemoveComponent(component);
    if (component->owner_ == this) {
      component->SetReference(false);
      Remove(component);
    }
    delete component;
  }
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* component : components_)
    component->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
  if (component == nullptr || component == this) return;
  // Links go both ways, so the shorter list tells: one component may watch thousands.
  const bool shorter = freeNotifies_.size() <= component->freeNotifies_.size();
  const std::vector<TComponent*>& links = shorter ? freeNotifies_ : component->freeNotifies_;
  if (IndexFromBack(links, shorter ? component : this) == links.size()) {
    freeNotifies_.push_back(component);
    component->freeNotifies_.push_back(this);
  }
  state_.Include(csFreeNotification);
  component->state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (component == nullptr) return;
  Unlink(component);
  component->Unlink(this);
}

// csFreeNotification says that the component has links; it goes with the last one.
void TComponent::Unlink(TComponent* component) {
  EraseFromBack(freeNotifies_, component);
  if (freeNotifies_.empty()) state_.Exclude(csFreeNotification);
}

// Each link is dropped before its partner hears of it, so a partner that does not pass the
// notification on to the base class cannot keep the loop going.
void TComponent::RemoveFreeNotifications() {
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    other->Unlink(this);
    other->Notification(this, opRemove);
  }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component != nullptr) RemoveFreeNotification(component);
  TellListeners(component, operation);
}

void TComponent::SetReference(bool enable) {
  if (owner_ == nullptr || name_.empty()) return;
  const TFieldInfo* field = owner_->ClassInfo().FindField(name_);
  if (field == nullptr) return;
  if (enable) {
    field->Set(*owner_, this);
  } else if (field->Get(*owner_) == this) {
    field->Set(*owner_, nullptr);
  }
}

void TComponent::SetDesigning(bool value, bool setChildren) {
  SetState(csDesigning, value);
  if (!setChildren) return;
  for (TComponent* component : components_)
    component->SetDesigning(value);
}

void TComponent::SetAncestor(bool value) {
  SetState(csAncestor, value);
  for (TComponent* component : components_)
    component->SetAncestor(value);
}

void TComponent::SetInline(bool value) {
  SetState(csInline, value);
}

void TComponent::SetDesignInstance(bool value) {
  SetState(csDesignInstance, value);
}

void TComponent::SetSubComponent(bool value) {
  if (value) {
    style_.Include(csSubComponent);
  } else {
    style_.Exclude(csSubComponent);
  }
}

void TComponent::SetState(TComponentStateItem item, bool on) {
  if (on) {
    state_.Include(item);
  } else {
    state_.Exclude(item);
  }
}

void TComponent::Loaded() {
  state_.Exclude(csLoading);
}

void TComponent::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  DefineDesignPosition(filer);
}

// Compared with the same component of the ancestor form when an inherited form is written.
void TComponent::DefineDesignPosition(TFiler& filer) {
  const auto* ancestor = dynamic_cast<const TComponent*>(filer.Ancestor());
  const int left = ancestor != nullptr ? ancestor->designLeft_ : 0;
  const int top = ancestor != nullptr ? ancestor->designTop_ : 0;
  filer.DefineProperty(
      "Left", [this](TReader& reader) { designLeft_ = reader.ReadInteger(); },
      [this](TWriter& writer) { writer.WriteInteger(designLeft_); }, designLeft_ != left);
  filer.DefineProperty(
      "Top", [this](TReader& reader) { designTop_ = reader.ReadInteger(); },
      [this](TWriter& writer) { writer.WriteInteger(designTop_); }, designTop_ != top);
}

void TComponent::ReadState(TReader& reader) {
  reader.ReadData(*this);
}

void TComponent::WriteState(TWriter& writer) {
  writer.WriteData(*this);
}

void TComponent::ValidateRename(TComponent* component, const std::string& curName,
                                const std::string& newName) {
  if (component != nullptr && !platform::SameTextAscii(curName, newName) &&
      component->owner_ == this) {
    CheckUniqueName(newName, component);
  }
  if (state_.Contains(csDesigning) && owner_ != nullptr) {
    owner_->ValidateRename(component, curName, newName);
  }
}

void TComponent::ValidateContainer(TComponent* container) {
  container->ValidateInsert(this);
}

void TComponent::ValidateInsert(TComponent*) {}

void TComponent::Updating() {
  state_.Include(csUpdating);
}

void TComponent::Updated() {
  state_.Exclude(csUpdating);
}

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}

TComponent* TComponent::GetChildOwner() {
  return nullptr;
}

TComponent* TComponent::GetChildParent() {
  return this;
}

TComponent* TComponent::GetParentComponent() const {
  return nullptr;
}

bool TComponent::HasParent() const {
  return false;
}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::SetChildOrder(TComponent*, int) {}

}  // namespace lx::framework
