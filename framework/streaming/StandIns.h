// Stand-ins: what a tolerant reader (TReader::SetTolerance) reads a component of a class the
// program has not registered into. A stand-in answers to the stored class name and keeps every
// stored value as it was, in order; its texts are published properties of its own class info,
// so that a translator's walk sees them:
//   Caption = 'Open'                 a string property "Caption" (wide when stored wide)
//   Items.Strings = ('a' 'b')        a string list property "Items"
//   Columns = <item Title = 'x' end> a collection property "Columns" of stand-in items
// Any other value (numbers, names, sets, binary data, events, dotted paths) is kept as its
// bytes. Writing gives each value back as it was read unless its text has changed since.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Collection.h"
#include "framework/core/Component.h"
#include "framework/core/Strings.h"

namespace lx::framework {

class TFiler;
class TWriter;

/// The stored values of one stand-in object, in the order they were stored.
class TStoredValues {
 public:
  TStoredValues();
  ~TStoredValues();
  TStoredValues(const TStoredValues&) = delete;
  TStoredValues& operator=(const TStoredValues&) = delete;

  /// Takes the stored value of `path` (its bytes, kind first), replacing an earlier one.
  void Take(const std::string& path, const std::vector<std::uint8_t>& value);
  /// Declares every value as a defined property, for the writers.
  void Define(TFiler& filer) const;
  /// Writes every value as a property name and its value (inside a collection item).
  void WriteAll(TWriter& writer) const;
  /// A class info named `className`, descending from `parent`, that publishes the texts.
  const TClassInfo& ClassInfoOf(const std::string& className, const TClassInfo& parent) const;
  int Count() const { return static_cast<int>(entries_.size()); }
  const std::string& Path(int index) const;

 private:
  struct TEntry;
  void WriteEntry(TWriter& writer, const TEntry& entry) const;

  std::vector<std::unique_ptr<TEntry>> entries_;
  // Earlier class infos stay alive: a walk may still hold on to them.
  mutable std::vector<std::unique_ptr<TClassInfo>> infos_;
  mutable bool changed_ = true;
};

/// A component of a class the program does not know.
class TStandInComponent : public TComponent {
 public:
  TStandInComponent(std::string className, TComponent* owner);
  ~TStandInComponent() override;

  const TClassInfo& ClassInfo() const override;
  TStoredValues& Values() { return values_; }
  const TStoredValues& Values() const { return values_; }
  /// Makes `child` one of the components stored inside this one.
  void AddChild(TComponent* child);

  void DefineProperties(TFiler& filer) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  /// An inline stand-in (a frame) owns what is stored inside it, as a frame does.
  TComponent* GetChildOwner() override;
  TComponent* GetParentComponent() const override { return parent_; }
  bool HasParent() const override { return parent_ != nullptr; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::string className_;
  TStoredValues values_;
  std::vector<TComponent*> children_;
  TStandInComponent* parent_ = nullptr;
};

/// An item of a stand-in's collection.
class TStandInItem : public TCollectionItem {
 public:
  explicit TStandInItem(TCollection* collection);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override;
  TStoredValues& Values() { return values_; }
  /// The index stored with the item ("item [2]"), or -1.
  int StoredIndex() const { return storedIndex_; }
  void SetStoredIndex(int value) { storedIndex_ = value; }

 private:
  TStoredValues values_;
  int storedIndex_ = -1;
};

/// A stand-in's collection of stand-in items.
class TStandInCollection : public TCollection {
 public:
  TStandInCollection();
  /// Reads the items of a collection value (its bytes, kind first).
  void Take(const std::vector<std::uint8_t>& value);
  void WriteValue(TWriter& writer) const;
};

}  // namespace lx::framework
