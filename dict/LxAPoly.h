// The dictionaries that hold the active language's translations in memory.
//
// `TLxCustomDictionary` keeps the translations of the active and the fallback
// language in a table sorted by key and answers look-ups by binary search;
// what the table holds is decided by its descendant's `LoadTranslations`,
// which runs whenever the active language changes (a locale-only change keeps
// the table). `TLxCustomFileDictionary` adds where the data lives: `FileName`
// and `Storage`, and the binary form of the dictionary data a form can carry
// (LxAPolyData.cpp).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dict/LxPLDFil.h"
#include "dict/LxReader.h"
#include "dict/LxTranslationList.h"
#include "lang/LxDictionary.h"

namespace lx::dict {

class TLxCustomDictionary : public lang::TLxDictionary {
  LX_CLASS(TLxCustomDictionary, lang::TLxDictionary)

 public:
  explicit TLxCustomDictionary(framework::TComponent* owner);
  ~TLxCustomDictionary() override;

  /// Empties the translation table.
  void ClearTranslations() { translations_.Clear(); }
  /// Copies entry `index` of the table into `target`; raises EListError "List index out of
  /// bounds (<index>)".
  void TranslationAt(int index, lang::TLxTranslation& target) const;
  /// The translation table, for reading.
  const TLxTranslationList& Translations() const { return translations_; }

  /// The number of entries in the table.
  int GetTranslationCount() override { return translations_.Count(); }
  /// Index of an entry whose native text is `word` (whatever its context and id), or -1.
  int FindWord(const std::string& word) const override;
  /// Index of the entry with the key (word, context, id), or -1; without context keys the
  /// same as `FindWord`.
  int FindKey(const std::string& word, const std::string& context,
              const std::string& id) const override;
  /// The table's keys version; a descendant that answers `Translate` otherwise than from the
  /// table must answer 0.
  std::uint64_t KeysVersion() const override { return translations_.KeysVersion(); }
  /// The text of entry `index`; raises EListError "List index out of bounds (<index>)".
  std::string_view TextAt(int index) const override { return translations_.Translation(index); }
  /// The text of `FindWord`'s entry into value; value is untouched when there is none.
  bool TranslateWord(const std::string& word, std::string& value) override;
  /// The text of `FindKey`'s entry into value; value is untouched when there is none.
  bool Translate(const std::string& word, const std::string& context, std::string& value,
                 const std::string& id) override;
  /// Sorts the table by key (by native text without context keys).
  void SortTranslations();

 protected:
  /// Refills the table with the active and fallback language's translations, sets the
  /// context-key state and sorts.
  virtual void LoadTranslations() = 0;
  /// Reloads the table when the language changed, then applies the change.
  void Change(bool languageChanged, bool localeChanged) override;
  /// The table, for descendants that fill it.
  TLxTranslationList& TranslationTable() { return translations_; }

 private:
  TLxTranslationList translations_;
};

/// Where a file dictionary's data comes from at run time.
LX_ENUM(TLxStorage, lxsFile, lxsEmbedded, lxsResource)

class TLxCustomFileDictionary : public TLxCustomDictionary {
  LX_CLASS(TLxCustomFileDictionary, TLxCustomDictionary)

 public:
  explicit TLxCustomFileDictionary(framework::TComponent* owner);

  /// The dictionary file. Outside design state reading resolves the stored name (see
  /// `ResolveFileName`) and keeps the result; in design state it gives the name as stored.
  const std::string& FileName() const;
  /// Stores the name as given.
  void SetFileName(const std::string& value) { fileName_ = value; }
  /// The name as stored, without resolving it.
  const std::string& StoredFileName() const { return fileName_; }

  TLxStorage Storage() const { return storage_; }
  /// Changing the storage at design time (not while loading) reminds the developer in a
  /// message what the new storage needs (lxsEmbedded, lxsResource).
  void SetStorage(TLxStorage value);

  /// With lxsFile: the name expanded to a full path when a file of that name exists;
  /// otherwise, for a bare name, the file of that name beside the executable when it
  /// exists; otherwise the name unchanged. Other storages keep the name.
  std::string ResolveFileName(const std::string& name) const;

  /// True for lxsEmbedded and lxsResource; with lxsFile, whether the file exists.
  bool CanOpen() override;

  // ---- Dictionary data embedded in a stored form: the binary properties "LanguageData",
  // "TranslationData" and "LocaleData". Each is a little-endian stream that starts with
  // its format version (1); texts are a u16 byte count and that many 8-bit characters.
  // A version above 1 raises Exception "Unknown language data version: <v>" (translation,
  // locale alike); data that ends before its format does raises EReadError "Stream read
  // error".

  /// The bytes of the binary property `propertyName` of `component` in its owner's form
  /// resource, in a new stream at position 0. Raises EResNotFound "Could not find the
  /// property" and Exception "Invalid property type!" for a value that is not binary.
  static std::unique_ptr<framework::TMemoryStream> ReadStoredProperty(
      const TLxStoredComponent& component, std::string_view propertyName);

  /// Counting passes: every entry is read (and validated) and dropped; the count is returned.
  static int CountLanguageData(framework::TStream& data);
  /// Every record holds `languageCount` texts besides its keys.
  static int CountTranslationData(framework::TStream& data, int languageCount);
  static int CountLocaleData(framework::TStream& data);

  /// Entry `index` into dest, which is emptied before each entry read.
  static void ReadLanguageData(framework::TStream& data, int index, lang::TLxLanguage& dest);
  static void ReadLanguagesData(framework::TStream& data,
                                std::vector<std::unique_ptr<lang::TLxLanguage>>& list);
  static void ReadLocaleData(framework::TStream& data, int index, lang::TLxLocale& dest);
  static void ReadLocalesData(framework::TStream& data,
                              std::vector<std::unique_ptr<lang::TLxLocale>>& list);

  /// One entry, read (and validated) or written.
  static void ReadLanguageEntry(framework::TStream& data, lang::TLxLanguage& language);
  static void WriteLanguageEntry(framework::TStream& data, const lang::TLxLanguage& language);
  static void ReadLocaleEntry(framework::TStream& data, lang::TLxLocale& locale);
  static void WriteLocaleEntry(framework::TStream& data, const lang::TLxLocale& locale);

  /// Copy one section of an opened dictionary file (8-bit texts) into `data`.
  static void WriteLanguageData(framework::TStream& data, TLxPLDFile& file);
  static void WriteTranslationData(framework::TStream& data, TLxPLDFile& file);
  static void WriteLocaleData(framework::TStream& data, TLxPLDFile& file);

 protected:
  /// Appends to the table the entries of "TranslationData" with a text in language
  /// `activeIndex` or `fallbackIndex` (texts unescaped, native texts converted); true when
  /// the records carry context or id keys.
  bool LoadTranslationData(framework::TStream& data, int languageCount, int activeIndex,
                           int fallbackIndex);

 private:
  mutable std::string fileName_;
  TLxStorage storage_ = lxsFile;
};

}  // namespace lx::dict
