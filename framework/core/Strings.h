// TStrings, the framework's list of strings each with an associated object, and TStringList,
// the list held in memory, optionally sorted.
//
// Index errors raise EStringListError "List index out of bounds (<index>)" (an EListError).
// Case-insensitive comparisons fold ASCII letters only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Persistent.h"

namespace lx::framework {

class TReader;
class TWriter;

class EStringListError : public platform::EListError {
 public:
  using EListError::EListError;
};

LX_ENUM(TDuplicates, dupIgnore, dupAccept, dupError)

/// The abstract list: descendants keep the strings, the base builds everything else on Count,
/// Strings, Objects, Insert, Delete and Clear.
class TStrings : public TPersistent {
  LX_CLASS(TStrings, TPersistent)

 public:
  TStrings() = default;

  virtual int Count() const = 0;
  virtual std::string Strings(int index) const = 0;
  /// Replaces the string at `index`, keeping its object.
  virtual void SetStrings(int index, const std::string& value);
  /// The object of the string at `index`; null by default.
  virtual TObject* Objects(int index) const;
  virtual void SetObjects(int index, TObject* object);

  /// Adds `value` at the end (or at its sorted place); returns its index.
  virtual int Add(const std::string& value);
  virtual int AddObject(const std::string& value, TObject* object);
  virtual void Insert(int index, const std::string& value) = 0;
  virtual void InsertObject(int index, const std::string& value, TObject* object);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  /// Swaps two strings with their objects.
  virtual void Exchange(int index1, int index2);
  /// Moves the string with its object from `curIndex` to `newIndex`.
  virtual void Move(int curIndex, int newIndex);
  void AddStrings(const TStrings& strings);

  /// The index of the first string equal to `value` (ASCII case-insensitive here), or -1.
  virtual int IndexOf(const std::string& value) const;
  int IndexOfObject(const TObject* object) const;
  /// Same strings in the same order.
  bool Equals(const TStrings& strings) const;

  /// Every string followed by a line feed.
  std::string Text() const;
  /// Replaces the content with the lines of `text`, which end at CR, LF or CR LF.
  virtual void SetText(std::string_view text);
  /// The strings separated by commas; a string that is empty among others stays empty, one
  /// holding a blank, a control character, a comma or a double quote is double-quoted with
  /// its quotes doubled, and a list of one empty string is "".
  std::string CommaText() const;
  /// Replaces the content with the items of `text`: items end at a comma or a blank unless
  /// double-quoted; blanks around items are skipped; a final comma adds an empty item.
  void SetCommaText(std::string_view text);

  /// Copies the strings and objects of another TStrings.
  void Assign(const TPersistent* source) override;
  /// Stores the strings as the defined property "Strings", a list of strings, written when
  /// there are strings (or, for an inherited form, when they differ from the ancestor's).
  void DefineProperties(TFiler& filer) override;

  /// Holds back change notifications until the matching EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

 protected:
  /// The stored "Strings": replaces the content with the strings of a list value.
  void ReadData(TReader& reader);
  void WriteData(TWriter& writer) const;
  /// Called when the first BeginUpdate starts and the last EndUpdate ends an update.
  virtual void SetUpdateState(bool updating);
  /// How strings compare for IndexOf and sorting: <0, 0, >0.
  virtual int CompareStrings(const std::string& a, const std::string& b) const;
  [[noreturn]] void IndexError(int index) const;

 private:
  int updateCount_ = 0;
};

/// The strings in memory. Objects are not owned unless OwnsObjects is set.
class TStringList : public TStrings {
  LX_CLASS(TStringList, TStrings)

 public:
  TStringList() = default;
  ~TStringList() override;

  /// Fired before and after every change, or once around an update.
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Strings(int index) const override;
  /// Raises EStringListError "Operation not allowed on sorted list" when sorted.
  void SetStrings(int index, const std::string& value) override;
  TObject* Objects(int index) const override;
  /// An owning list frees the object it replaces.
  void SetObjects(int index, TObject* object) override;
  /// In a sorted list a duplicate is ignored (the index of the present one is returned),
  /// accepted, or refused with EStringListError "String list does not allow duplicates".
  /// An owning list frees the object of an ignored duplicate; a refused one stays the
  /// caller's.
  int AddObject(const std::string& value, TObject* object) override;
  /// Raises EStringListError "Operation not allowed on sorted list" when sorted.
  void Insert(int index, const std::string& value) override;
  void InsertObject(int index, const std::string& value, TObject* object) override;
  void Delete(int index) override;
  void Clear() override;
  /// Exchange and Move raise "Operation not allowed on sorted list" when sorted.
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  int IndexOf(const std::string& value) const override;

  /// Looks `value` up: in a sorted list by binary search, `index` being where it is or would
  /// go; otherwise from the start, `index` being Count when absent.
  bool Find(const std::string& value, int& index) const;
  /// Sorts the strings (ties keep their order).
  void Sort();

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  /// Compares case-sensitively (by bytes) or ignoring ASCII case (the default).
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);
  bool OwnsObjects() const { return ownsObjects_; }
  void SetOwnsObjects(bool value) { ownsObjects_ = value; }

 protected:
  virtual void Changing();
  virtual void Changed();
  void SetUpdateState(bool updating) override;
  int CompareStrings(const std::string& a, const std::string& b) const override;

 private:
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };

  void CheckIndex(int index) const;
  void CheckUnsorted() const;
  void InsertItem(int index, const std::string& value, TObject* object);
  void FreeObject(TObject* object) const;

  std::vector<Item> items_;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
  bool caseSensitive_ = false;
  bool ownsObjects_ = false;
};

}  // namespace lx::framework
