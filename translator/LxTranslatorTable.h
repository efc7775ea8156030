// The translator table: what a translator remembers of every text it has translated.
//
// One item per text occurrence (an object, a property, and for string lists one item per
// line): the native text found there the first time, and the text the translator wrote last
// (without hot-key markers for menu items). A later pass finds the item by what the property
// holds now and translates from the native text again, never from an earlier translation.
// Searches give the first matching item, as a scan from the start would, without scanning:
// a pass meets the texts in the order the pass before met them, so the item taken after the
// last one then is tried first; then the item after the last one taken for the property (the
// lines of a list), and an index by text answers otherwise. A pass thus costs about one step
// per text whatever the size of the table. While a pass runs, an item found once is not found
// again in that pass: each occurrence has its own item, so two lines of a list that show the
// same text (two texts the dictionary emptied, say) keep their own native texts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/core/Object.h"

namespace lx::framework {
class TComponent;
}

namespace lx::translator {

/// Where the dictionary answered an item's native text: a later pass over the same keys
/// (another language of the same dictionary) reads the text there instead of searching.
struct TLxLookupAnswer {
  enum TPath : std::uint8_t { kWord, kContext, kFlat };
  /// The dictionary's keys version it was found under; 0 when nothing is remembered.
  std::uint64_t keysVersion = 0;
  /// The translator's look-up settings it was found with (root class, flat translation...).
  std::uint64_t settings = 0;
  /// The entry found, or -1.
  int position = -1;
  /// How it was found: by word alone without context keys, in a context, or flat.
  TPath path = kWord;
  /// Whether the text without hot-key markers was asked too.
  bool stripped = false;
};

class TLxTranslatorTableItem : public framework::TObject {
  LX_CLASS(TLxTranslatorTableItem, framework::TObject)

 public:
  TLxTranslatorTableItem() = default;

  // What a pass reads of every item comes first, to lie in as few cache lines as it can.

  /// The object whose property holds the text (not owned).
  framework::TObject* Control = nullptr;
  /// The property; a string list's property for its lines, "Text" for a memo text.
  std::string PropertyName;
  /// The text written last, without hot-key markers for menu items.
  std::string CurrentStripped;
  /// Kept by the translator.
  TLxLookupAnswer Answer;

 private:
  friend class TLxTranslatorTable;
  // Whether the item is the first of its object and property: then it is the first match
  // whenever it matches.
  bool first_ = false;
  // Whether the index holds the item, and whether under an old text.
  bool indexed_ = false;
  bool stale_ = false;
  bool dropped_ = false;
  // Where the item is in the order of the pass numbered orderPass_ (see the table).
  std::uint32_t orderIndex_ = 0;
  std::uint64_t usedInPass_ = 0;
  std::uint64_t orderPass_ = 0;

 public:
  /// The name of the component the look-up was made for; empty for the root.
  std::string ComponentName;
  /// The text found the first time, and the same without hot-key markers (menu items).
  std::string NativeText;
  std::string NativeStripped;
  /// The component whose walk reached Control (Control itself when it is a component); the
  /// item goes when that component is destroyed.
  const framework::TComponent* Holder = nullptr;

 private:
  std::uint64_t sequence_ = 0;
  // The key the item is indexed under; stale when CurrentStripped changed since.
  std::size_t indexedKey_ = 0;
};

class TLxTranslatorTable : public framework::TObject {
  LX_CLASS(TLxTranslatorTable, framework::TObject)

 public:
  TLxTranslatorTable() = default;
  ~TLxTranslatorTable() override;

  int Count() const { return static_cast<int>(items_.size() - dropped_); }
  /// Raises EListError "List index out of bounds (<index>)".
  TLxTranslatorTableItem& Items(int index) const;
  /// Appends the item and owns it.
  TLxTranslatorTableItem& Add(std::unique_ptr<TLxTranslatorTableItem> item);
  void Clear();

  /// Starts and ends a pass (see above); passes do not nest. Items dropped while a pass runs
  /// (by Clear or RemoveHolder) are no longer found, but stay alive until it ends: the pass
  /// may still hold one.
  void BeginPass();
  void EndPass();
  bool PassRunning() const { return passRunning_; }
  /// The first item with this control, property and current text (all case-sensitive), or
  /// null. Inside a pass, items found before in the same pass are skipped, and the item
  /// found counts as used.
  TLxTranslatorTableItem* Find(const framework::TObject* control, std::string_view propertyName,
                               std::string_view currentStripped);
  /// Changes an item's CurrentStripped; the item keeps its place among equal items.
  void SetCurrentStripped(TLxTranslatorTableItem& item, std::string_view value);
  /// The same for a value known to differ from the item's.
  void ChangeCurrentStripped(TLxTranslatorTableItem& item, std::string_view value);
  /// Drops the items that `holder` reached (their Holder when they were added): it is
  /// being destroyed, and a later object at its address must not take its texts. Costs
  /// about what the holder's items are, whatever the size of the table.
  void RemoveHolder(const framework::TComponent* holder);

 private:
  using Bucket = std::vector<TLxTranslatorTableItem*>;
  using ItemList = std::vector<std::unique_ptr<TLxTranslatorTableItem>>;

  // The items of one property of one object in table order (the lines of a list), and
  // where the next pass is likely to go on.
  struct Group {
    std::string propertyName;
    Bucket items;
    std::size_t cursor = 0;
    std::uint64_t pass = 0;
  };
  // The groups of one object (a few properties each), and the object asked about after it
  // last time: a pass meets the objects in the order of the pass before.
  struct Groups {
    std::vector<Group> groups;
    const framework::TObject* next = nullptr;
    Groups* nextGroups = nullptr;
  };

  // An item a pass took, with the object it was asked for (the item's own).
  struct Taken {
    const framework::TObject* control = nullptr;
    TLxTranslatorTableItem* item = nullptr;
  };

  TLxTranslatorTableItem* FindInOrder(const framework::TObject* control,
                                      std::string_view propertyName,
                                      std::string_view currentStripped);
  void Take(TLxTranslatorTableItem& item);
  void ForgetOrder(TLxTranslatorTableItem& item);
  static std::size_t KeyOf(const framework::TObject* control, std::string_view propertyName,
                           std::string_view currentStripped);
  static bool Matches(const TLxTranslatorTableItem& item, const framework::TObject* control,
                      std::string_view propertyName, std::string_view currentStripped);
  TLxTranslatorTableItem* FindNext(Group& group, std::string_view currentStripped);
  TLxTranslatorTableItem* FindInGroup(const Group& group, const framework::TObject* control,
                                      std::string_view propertyName,
                                      std::string_view currentStripped);
  TLxTranslatorTableItem* FindIndexed(const framework::TObject* control,
                                      std::string_view propertyName,
                                      std::string_view currentStripped);
  bool Available(const TLxTranslatorTableItem& item) const;
  void Index(TLxTranslatorTableItem& item);
  void Unindex(TLxTranslatorTableItem& item);
  void Reindex();
  // Keeps the items in [first, last) alive until the pass that runs ends.
  void Retire(ItemList::iterator first, ItemList::iterator last) const;
  // Takes the dropped items out of the list.
  void Compact() const;
  void Ungroup(std::vector<Group*>& groups);

  // Dropped items stay in the list, marked, until they are many or an index is asked for.
  mutable ItemList items_;
  mutable std::size_t dropped_ = 0;
  std::unordered_map<const framework::TComponent*, std::vector<TLxTranslatorTableItem*>> held_;
  // Items dropped during the pass that runs.
  mutable ItemList retired_;
  // The items of groups too long to search directly, by a hash of (Control, PropertyName,
  // CurrentStripped), each bucket in table order; items whose text changed are moved when the
  // index is next asked.
  std::unordered_map<std::size_t, Bucket> index_;
  std::vector<TLxTranslatorTableItem*> stale_;
  Group* FindGroup(const framework::TObject* control, std::string_view propertyName);

  std::unordered_map<const framework::TObject*, Groups> groups_;
  // The groups of the object asked last: a pass asks for the texts of one object in a row.
  const framework::TObject* lastControl_ = nullptr;
  Groups* lastGroups_ = nullptr;
  // The items the last pass took, in the order it took them, and where this pass is in that
  // order; the order this pass builds.
  std::vector<Taken> taken_;
  std::size_t nextTaken_ = 0;
  std::uint64_t takenPass_ = 0;
  std::vector<Taken> taking_;
  std::uint64_t nextSequence_ = 0;
  std::uint64_t pass_ = 0;
  bool passRunning_ = false;
};

}  // namespace lx::translator
