#include "framework/controls/Menus.h"

#include <algorithm>
#include <set>

#include "framework/rtti/Published.h"
#include "framework/runtime/FrameworkStrings.h"

namespace lx::framework {

LX_PUBLISHED(TMenuItem,
             Property("AutoHotkeys", &TMenuItem::AutoHotkeys, &TMenuItem::SetAutoHotkeys, maParent),
             Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption),
             Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false),
             Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true),
             Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0),
             Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint),
             Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false),
             Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, 0),
             Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true),
             Event("OnClick", &TMenuItem::OnClick))

LX_PUBLISHED(TMenu,
             Property("AutoHotkeys", &TMenu::AutoHotkeys, &TMenu::SetAutoHotkeys, maAutomatic),
             Property("Items", &TMenu::Items, nullptr).Stored(false))

LX_PUBLISHED(TMainMenu)

LX_PUBLISHED(TPopupMenu,
             Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true))

namespace {

constexpr std::size_t kNoHotkey = std::string::npos;

// Captions are stepped through character by character: a byte inside a multi-byte
// character of the captions' code page is never taken for an "&" nor given one.
std::size_t NextChar(const std::string& caption, std::size_t at, platform::CodePage codePage) {
  return at + platform::CharSizeAt(caption, at, codePage);
}

// The position of the hot-key character: the one after the first single "&".
std::size_t HotkeyPos(const std::string& caption, platform::CodePage codePage) {
  for (std::size_t i = 0; i < caption.size(); i = NextChar(caption, i, codePage)) {
    if (caption[i] != '&') continue;
    if (i + 1 >= caption.size()) return kNoHotkey;
    if (caption[i + 1] != '&') return i + 1;
    ++i;  // "&&" is a literal ampersand
  }
  return kNoHotkey;
}

char KeyOf(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The key of the character at `at`: ASCII letters in upper case, any other character whole.
std::string KeyAt(const std::string& caption, std::size_t at, platform::CodePage codePage) {
  std::string key = caption.substr(at, platform::CharSizeAt(caption, at, codePage));
  if (key.size() == 1) key[0] = KeyOf(key[0]);
  return key;
}

bool CanBeHotkey(char c) {
  const char key = KeyOf(c);
  return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
}

bool TakesHotkey(const TMenuItem& item) {
  return !item.Caption().empty() && !item.IsLine();
}

// Gives the first free letter or digit of `caption` a "&"; false when none is free.
bool AssignHotkey(std::string& caption, std::set<std::string>& taken, platform::CodePage codePage) {
  for (std::size_t i = 0; i < caption.size(); i = NextChar(caption, i, codePage)) {
    if (caption[i] == '&') {
      ++i;  // skips the second of "&&"
      continue;
    }
    if (CanBeHotkey(caption[i]) && taken.insert(std::string(1, KeyOf(caption[i]))).second) {
      caption.insert(i, 1, '&');
      return true;
    }
  }
  return false;
}

}  // namespace

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  if (parent_ != nullptr) parent_->Detach(this);
  while (!items_.empty()) {
    TMenuItem* child = items_.back();
    items_.pop_back();
    child->parent_ = nullptr;
    delete child;
  }
}

void TMenuItem::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  MenuChanged();
}

void TMenuItem::SetChecked(bool value) {
  checked_ = value;
  if (!value || !radioItem_ || parent_ == nullptr) return;
  for (TMenuItem* sibling : parent_->items_) {
    if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
      sibling->checked_ = false;
  }
}

std::string TMenuItem::ShortCutText() const {
  return shortCut_ == 0 ? std::string() : ShortCutToText(shortCut_);
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) throw EMenuError(LoadResString(SMenuIndexError));
  return items_[static_cast<std::size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  const auto found = std::find(items_.begin(), items_.end(), item);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) {
  Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item == nullptr) return;
  // An item already in a tree, a menu's root, or this item's own ancestor cannot go here.
  bool placed = item->parent_ != nullptr || item->menu_ != nullptr;
  for (const TMenuItem* above = this; above != nullptr && !placed; above = above->parent_)
    placed = above == item;
  if (placed) throw EMenuError(LoadResString(SMenuReinserted));
  if (index < 0 || index > Count()) throw EMenuError(LoadResString(SMenuIndexError));
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  MenuChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
  if (item == nullptr || item->parent_ != this) throw EMenuError(LoadResString(SMenuNotFound));
  Detach(item);
}

void TMenuItem::Delete(int index) {
  Detach(Items(index));
}

void TMenuItem::Detach(TMenuItem* item) {
  std::erase(items_, item);
  item->parent_ = nullptr;
  MenuChanged();
}

void TMenuItem::Clear() {
  while (!items_.empty())
    delete items_.back();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* top = this;
  while (top->parent_ != nullptr)
    top = top->parent_;
  return top->menu_;
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ == nullptr) return nullptr;
  if (parent_->menu_ != nullptr) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* value) {
  if (parent_ != nullptr) parent_->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(value)) {
    menu->Items()->Add(this);
  } else if (auto* item = dynamic_cast<TMenuItem*>(value)) {
    item->Add(this);
  }
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent* root) {
  const std::vector<TMenuItem*> children = items_;
  for (TMenuItem* child : children) {
    if (child->Owner() == root) proc(child);
  }
}

void TMenuItem::MenuChanged() {
  if (TMenu* menu = GetParentMenu()) menu->ItemsChanged();
}

bool TMenuItem::IsAutomatic(bool parentAutomatic) const {
  return autoHotkeys_ == maParent ? parentAutomatic : autoHotkeys_ == maAutomatic;
}

// ---- TMenu ----

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {
  items_->menu_ = this;
}

TMenu::~TMenu() {
  items_->menu_ = nullptr;
  delete items_;
}

void TMenu::SetAutoHotkeys(TMenuAutoFlag value) {
  autoHotkeys_ = value == maManual ? maManual : maAutomatic;
}

void TMenu::ItemsChanged() {
  if (autoHotkeys_ != maAutomatic || rethinking_) return;
  const TComponentState state = ComponentState();
  if (state.Contains(csLoading) || state.Contains(csDestroying)) return;
  RethinkHotkeys();
}

namespace {

// One level: kept hot keys first, in order, then new ones for the captions still without.
void RethinkLevel(const std::vector<TMenuItem*>& items, std::vector<std::string>& captions,
                  platform::CodePage codePage) {
  std::set<std::string> taken;
  std::vector<bool> has(items.size(), false);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!TakesHotkey(*items[i])) continue;
    std::string& caption = captions[i];
    const std::size_t pos = HotkeyPos(caption, codePage);
    if (pos == kNoHotkey) continue;
    if (taken.insert(KeyAt(caption, pos, codePage)).second) {
      has[i] = true;
    } else {
      caption.erase(pos - 1, 1);  // a clash: the later one gives its key up
    }
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!has[i] && TakesHotkey(*items[i])) AssignHotkey(captions[i], taken, codePage);
  }
}

}  // namespace

void TMenu::RethinkHotkeys() {
  rethinking_ = true;
  std::vector<std::pair<TMenuItem*, bool>> levels{{items_, items_->IsAutomatic(true)}};
  while (!levels.empty()) {
    auto [parent, automatic] = levels.back();
    levels.pop_back();
    if (automatic) {
      std::vector<std::string> captions;
      for (TMenuItem* item : parent->items_)
        captions.push_back(item->caption_);
      RethinkLevel(parent->items_, captions, captionCodePage_);
      for (std::size_t i = 0; i < captions.size(); ++i)
        parent->items_[i]->caption_ = captions[i];
    }
    for (TMenuItem* item : parent->items_) {
      if (!item->items_.empty()) levels.emplace_back(item, item->IsAutomatic(automatic));
    }
  }
  rethinking_ = false;
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) {
  items_->GetChildren(proc, root);
}

void TMenu::Loaded() {
  TComponent::Loaded();
  if (autoHotkeys_ == maAutomatic) RethinkHotkeys();
}

}  // namespace lx::framework
