// TLxBinaryDictionary: the dictionary that reads a dictionary image.
//
// With `Storage` lxsFile it reads the file named by `FileName`; with
// lxsResource the same image linked into the program as the resource
// "PlDictionary" of type "LXDICTIONARY"; with lxsEmbedded the copy of the
// file's sections stored in the owner's form when it was saved in design state
// (at design time an existing file still wins). Every query opens the image or
// the form resource afresh, reads what it needs and lets it go; only the
// translation table of the active language stays in memory.
//
// A record's key is the same in every language, so a language switch on an
// image that has not changed since the last full load keeps the table's keys,
// order and index and reads only the new language's texts. It loads in full
// when the image, the conversion of native texts or the set of records that
// have a text in the new language differ, and after the dictionary was closed.
//
// With `Follow` set, an open dictionary on a file follows it: when the file is replaced or
// written, the table is read again and every bound translator translates anew in the active
// language (see `Reload`), through the application's message loop.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string_view>

#include "dict/LxAPoly.h"
#include "dict/LxFollower.h"
#include "dict/LxPLDFil.h"

namespace lx::dict {

/// A followed file could not be taken: the sender, and "<FileName>: <reason>".
using TLxReloadErrorEvent =
    std::function<void(framework::TObject* sender, const std::string& message)>;

class TLxBinaryDictionary : public TLxCustomFileDictionary {
  LX_CLASS(TLxBinaryDictionary, TLxCustomFileDictionary)

 public:
  explicit TLxBinaryDictionary(framework::TComponent* owner);
  ~TLxBinaryDictionary() override;

  /// Published, false by default. While open with lxsFile, the file is followed: a
  /// replacement (a rename over it) or a finished write reloads it (`Reload`) on the
  /// user-interface thread. A file that cannot be taken is reported once through
  /// `OnReloadError` (the same failure again is not), and the texts in use stay.
  bool Follow() const { return follow_; }
  void SetFollow(bool value);
  /// Whether the file is being followed now.
  bool Following() const { return follower_ != nullptr; }
  /// Reads the file again, in full, and translates every bound translator anew in the active
  /// language; does nothing when closed or not reading a file. A file that cannot be read
  /// whole, or lacks the active language, raises its error and leaves the table and the
  /// translations as they were.
  void Reload();
  /// Without a handler, failures go to the application's ShowException.
  TLxReloadErrorEvent OnReloadError;
  /// Gives the key (native, context, id) the active-language text `text` in the loaded table
  /// (adding the entry when it has none) and translates every bound translator anew: a text
  /// corrected while the program runs shows at once. The file is not changed; the next load
  /// of it (a reload, a switch of language) brings its own texts back. Open only.
  void PatchTranslation(const std::string& native, const std::string& context,
                        const std::string& id, const std::string& text);

  /// Opens the image for one query. Raises Exception "No FileName property set" when the
  /// stored `FileName` is empty (for every storage), the file-open or resource-not-found
  /// error when the image is missing, and the reader's errors for a bad image. Sets the
  /// context-key state from the image's content flags.
  std::unique_ptr<TLxPLDFile> OpenSource();

  int GetLanguageCount() override;
  /// Raises ERangeError "Language index <index> is out of range" for an index the image
  /// (or the embedded data) does not hold.
  void GetLanguage(int index, lang::TLxLanguage& dest) override;
  int GetLocaleCount() override;
  /// Raises ERangeError "Locale index <index> is out of range" for an index the image does
  /// not hold; from embedded data every failure is ELxPoly "No dictionary data! Set the
  /// FileName property.".
  void GetLocale(int index, lang::TLxLocale& dest) override;
  /// The number of translation records of the image (not of the loaded table).
  int GetTranslationCount() override;
  void GetLanguages(std::vector<std::unique_ptr<lang::TLxLanguage>>& list) override;
  void GetLocales(std::vector<std::unique_ptr<lang::TLxLocale>>& list) override;
  /// From the image's variant records, loaded with the translations.
  bool TranslateVariant(const std::string& word, const std::string& context, const std::string& id,
                        const std::string& keyword, std::string& value) override;

  /// Whether the stored form carried the older list-form data; then embedded data is read
  /// in that form.
  bool LegacyData() const { return legacyData_; }
  /// The counts of the embedded data, taken while the form was loaded.
  int StoredLanguageCount() const { return storedLanguageCount_; }
  int StoredTranslationCount() const { return storedTranslationCount_; }
  int StoredLocaleCount() const { return storedLocaleCount_; }

 protected:
  void LoadTranslations() override;
  /// Also starts following the file when `Follow` is set.
  void DoOpen() override;
  /// Also forgets the keys of the last load, so that the next open reads them again, and
  /// stops following.
  void DoClose() override;
  /// With lxsEmbedded, the stored data: the list forms "Languages", "Translations" and
  /// "Locales" are read (counted), never written; "LanguageData", "TranslationData" and
  /// "LocaleData" are counted on reading and copied from the file on writing. Writing stores
  /// nothing without a file, and nothing from a file with UTF-16 texts; both cases (but not
  /// an empty `FileName`) are told in a message box.
  void DefineProperties(framework::TFiler& filer) override;

 private:
  // Whether queries read the image (file or resource) rather than embedded data.
  bool ReadsImage() const;
  // How the dictionary is named in its owner's stored form.
  TLxStoredComponent StoredComponent() const;
  std::unique_ptr<framework::TMemoryStream> StoredData(std::string_view propertyName) const;
  void GetStoredLocale(int index, lang::TLxLocale& dest);
  // Saving: whether the file can give the data.
  bool FileHasData() const;
  void DefineListProperties(framework::TFiler& filer, bool hasData);
  void DefineBinaryProperties(framework::TFiler& filer, bool hasData);

  // What a language switch may keep of the last full load from the image: where the
  // keys came from and which records the table holds.
  struct LoadedKeys {
    bool fromFile = false;
    std::string fileName;
    std::filesystem::file_time_type written;
    std::int64_t size = 0;
    TLxPLDHeader header;
    bool convertNative = false;
    int nativeCodePage = 0;
    int systemCodePage = 0;
    std::vector<bool> present;  // per record of the image
    int presentCount = 0;
    // Per record of the image, where its language texts start: a switch goes straight
    // there, passing over neither keys nor records it has no use for.
    std::vector<std::uint32_t> textsAt;
  };
  bool ReadsFile() const;
  LoadedKeys KeysSource(const TLxPLDFile& reader) const;
  bool SameKeys(const LoadedKeys& a, const LoadedKeys& b) const;
  void LoadImage(TLxPLDFile& reader);
  bool SwitchTexts(TLxPLDFile& reader);

  // Following the file.
  void UpdateFollowing();
  void FileChanged();
  void ReportReloadError(const std::string& message);
  void CheckLanguages(TLxPLDFile& reader) const;

  std::optional<LoadedKeys> loadedKeys_;
  bool follow_ = false;
  std::unique_ptr<TLxFileFollower> follower_;
  // The last failure reported, so that the same one is not reported again.
  std::string lastReloadError_;

  void LoadVariants(TLxPLDFile& reader);
  // The active language's variants, by keys and keyword; empty for images without any.
  std::map<std::string, std::string, std::less<>> variants_;
  bool legacyData_ = false;
  int storedLanguageCount_ = 0;
  int storedTranslationCount_ = 0;
  int storedLocaleCount_ = 0;
};

}  // namespace lx::dict
