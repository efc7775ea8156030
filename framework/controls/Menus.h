// Menus: TMenu with its tree of TMenuItem, the form's main menu and pop-up menus.
//
// Items are components owned by the form like any other; their place in the menu is a
// separate relation: each item holds its child items, and freeing an item frees its children.
// A menu holds an unnamed root item (Items) whose children are the menu's top items.
//
// Automatic hot keys: while a menu's AutoHotkeys is maAutomatic, every change of its items
// (adding, inserting, removing, renaming) makes it give each caption of a level a "&" before a
// letter or digit no sibling uses: a caption that carries one keeps it unless an earlier
// sibling already took that key; "-" separators and empty captions are left alone; "&&" is a
// literal ampersand. An item whose AutoHotkeys is maManual keeps its child items as they are.
// Switching a menu to maAutomatic does not by itself recompute anything.
#pragma once

#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/runtime/ShortCuts.h"
#include "platform/CodePages.h"

namespace lx::framework {

LX_ENUM(TMenuAutoFlag, maAutomatic, maManual, maParent)

/// A misuse of the item tree ("Menu inserted twice", "Sub-menu is not in menu", "Menu index
/// out of range").
class EMenuError : public platform::Exception {
 public:
  using Exception::Exception;
};

class TMenu;

class TMenuItem : public TComponent {
  LX_CLASS(TMenuItem, TComponent)
  friend class TMenu;

 public:
  explicit TMenuItem(TComponent* owner);
  /// Leaves its parent item and frees its child items.
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  /// The key that chooses the item, by number (see framework/runtime/ShortCuts.h); 0 for none.
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value) { shortCut_ = value; }
  /// The shortcut as the menu shows it, through ShortCutToText; empty for none.
  std::string ShortCutText() const;
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  bool Checked() const { return checked_; }
  /// Checking a radio item unchecks the radio items of its group among its siblings.
  void SetChecked(bool value);
  /// One of a group of items of which one at most is checked; shown with a radio mark.
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool value) { radioItem_ = value; }
  /// The group of a radio item among its siblings.
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value) { groupIndex_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  /// maParent: as the parent item, and at the top as the menu.
  TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
  void SetAutoHotkeys(TMenuAutoFlag value) { autoHotkeys_ = value; }
  /// A separator.
  bool IsLine() const { return caption_ == "-"; }

  TNotifyEvent OnClick;
  void Click();

  int Count() const { return static_cast<int>(items_.size()); }
  /// The child item at `index`; raises EMenuError "Menu index out of range".
  TMenuItem* Items(int index) const;
  int IndexOf(const TMenuItem* item) const;
  /// Appends `item`, which must not be in a menu yet ("Menu inserted twice").
  void Add(TMenuItem* item);
  /// Inserts `item` at `index`, from 0 to Count ("Menu index out of range").
  void Insert(int index, TMenuItem* item);
  /// Takes `item` out without freeing it ("Sub-menu is not in menu" when it is not a child).
  void Remove(TMenuItem* item);
  /// Takes the child item at `index` out without freeing it.
  void Delete(int index);
  /// Frees every child item.
  void Clear();
  TMenuItem* Parent() const { return parent_; }
  /// The position among the parent's items; -1 without parent.
  int MenuIndex() const { return parent_ == nullptr ? -1 : parent_->IndexOf(this); }
  /// The menu the item is in, or null.
  TMenu* GetParentMenu() const;

  // Stored items belong to their parent item, top items to the menu.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

 private:
  void Detach(TMenuItem* item);
  void MenuChanged();
  bool IsAutomatic(bool parentAutomatic) const;

  std::string caption_;
  TShortCut shortCut_ = 0;
  std::string hint_;
  bool checked_ = false;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  bool enabled_ = true;
  bool visible_ = true;
  TMenuAutoFlag autoHotkeys_ = maParent;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  TMenu* menu_ = nullptr;  // set on a menu's root item only
};

class TMenu : public TComponent {
  LX_CLASS(TMenu, TComponent)
  friend class TMenuItem;

 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  /// The root item; its children are the menu's top items.
  TMenuItem* Items() const { return items_; }
  /// maAutomatic or maManual; maParent counts as maAutomatic.
  TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
  void SetAutoHotkeys(TMenuAutoFlag value);
  /// Gives the captions their automatic hot keys now, whatever AutoHotkeys says.
  void RethinkHotkeys();
  /// The code page the captions are written in (CP_ACP, the system's, by default): hot keys
  /// are found and placed at its character boundaries, never inside a multi-byte character.
  platform::CodePage CaptionCodePage() const { return captionCodePage_; }
  void SetCaptionCodePage(platform::CodePage value) { captionCodePage_ = value; }

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

 protected:
  void Loaded() override;

 private:
  void ItemsChanged();

  TMenuItem* items_;
  TMenuAutoFlag autoHotkeys_ = maAutomatic;
  platform::CodePage captionCodePage_ = platform::CP_ACP;
  bool rethinking_ = false;
};

/// The menu bar of a form.
class TMainMenu : public TMenu {
  LX_CLASS(TMainMenu, TMenu)

 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
};

/// A menu that pops up over a control.
class TPopupMenu : public TMenu {
  LX_CLASS(TPopupMenu, TMenu)

 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}

  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }

 private:
  bool autoPopup_ = true;
};

}  // namespace lx::framework
