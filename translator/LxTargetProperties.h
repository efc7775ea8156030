// The target list of a translator: which (class, property) pairs it translates.
//
// An entry names a class (empty: every class) and a property (empty: every property of
// that class), and either includes the pair or excludes it. Exclusions win over inclusions
// whatever their order. Class names are compared with the object's own class only, so an
// entry for TLabel does not cover a class derived from it. The list is stored with a form as
// the translator's defined property "TargetsData" (see ReadTargetsData and WriteTargetsData).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Persistent.h"

namespace lx::framework {
class TReader;
class TWriter;
}  // namespace lx::framework

namespace lx::translator {

class TLxTargetProperty : public framework::TObject {
  LX_CLASS(TLxTargetProperty, framework::TObject)

 public:
  TLxTargetProperty() = default;
  TLxTargetProperty(std::string targetClass, std::uint8_t exclude, std::string targetProperty);

  /// Empty means any class.
  std::string TargetClass;
  /// Empty means every property of TargetClass.
  std::string TargetProperty;
  /// 0: the pair is translated; 1: it never is.
  std::uint8_t Exclude = 0;

  /// Both names equal (case-sensitive) and the same kind.
  bool SameAs(const TLxTargetProperty& other) const;
  /// Whether the entry covers (className, propertyName), compared without regard to case.
  bool Matches(std::string_view className, std::string_view propertyName) const;
};

class TLxTargetProperties : public framework::TPersistent {
  LX_CLASS(TLxTargetProperties, framework::TPersistent)

 public:
  TLxTargetProperties() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  /// Raises EListError "List index out of bounds (<index>)".
  TLxTargetProperty& Items(int index) const;
  /// Appends the entry and owns it; duplicates are not checked.
  void Add(std::unique_ptr<TLxTargetProperty> entry);
  /// The same, built from its parts.
  void Add(const std::string& targetClass, std::uint8_t exclude, const std::string& targetProperty);
  /// Adds the default targets, which the tools use for a form without a translator or with an
  /// empty list: Caption, Hint, Title, Items, Lines, Hints, Tabs and Filter of every class,
  /// TMemo.Text and TStringGrid.Cells.
  void AddDefaults();
  /// The first entry equal to `entry`, or -1.
  int IndexOf(const TLxTargetProperty& entry) const;
  void Clear();

  /// From another target list: a copy of its entries in order; anything else raises the
  /// framework's assignment error.
  void Assign(const framework::TPersistent* source) override;
  /// Same count, and every entry of this list has an equal one in `other`.
  bool SameAs(const TLxTargetProperties& other) const;

  bool IsExcluded(std::string_view className, std::string_view propertyName) const;
  /// An inclusion matches and no exclusion does.
  bool IsTarget(std::string_view className, std::string_view propertyName) const;
  /// Whether a whole class is a target (an entry for the class with every property).
  bool IsClassTarget(std::string_view className) const;

  /// Reads "TargetsData": version, count and entries; an entry equal to one already in the
  /// list is dropped, and the list is not cleared first (an inherited form's ancestor entries
  /// stay in front). A version above 1 raises ELxPoly "Unknown target properties data
  /// version: <version>".
  void ReadTargetsData(framework::TReader& reader);
  /// Writes the entries that `ancestor` (null: none) lacks, empty names as "*".
  void WriteTargetsData(framework::TWriter& writer, const TLxTargetProperties* ancestor) const;
  /// Whether a writer must store "TargetsData" against `ancestor` (null: none).
  bool HasTargetsData(const TLxTargetProperties* ancestor) const;

  /// Reads the older "Data" form (pairs of class and property, all inclusions).
  void DefineProperties(framework::TFiler& filer) override;

 private:
  void ReadLegacyData(framework::TReader& reader);

  std::vector<std::unique_ptr<TLxTargetProperty>> items_;
  // The number of exclusions: when none, no exclusion test is needed.
  int excludeCount_ = 0;
};

}  // namespace lx::translator
