#include "dict/LxBinDic.h"

#include <limits>
#include <utility>

#include "framework/controls/Dialogs.h"
#include "framework/rtti/Published.h"
#include "framework/runtime/Application.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "platform/FileSystem.h"
#include "platform/Resources.h"
#include "platform/SystemLocale.h"

namespace lx::dict {

namespace {

constexpr std::string_view kResourceType = "LXDICTIONARY";
constexpr std::string_view kResourceName = "PlDictionary";

void CheckIndex(int index, int count, const char* what) {
  if (index < 0 || index >= count) {
    throw platform::ERangeError(std::string(what) + " index " + std::to_string(index) +
                                " is out of range");
  }
}

void NoStoredData(const std::string& text, const std::string& caption) {
  framework::MessageBox(text + ". No dictionary data was stored!", caption, framework::MB_OK);
}

}  // namespace

LX_PUBLISHED(TLxBinaryDictionary, Property("Follow", &TLxBinaryDictionary::Follow,
                                           &TLxBinaryDictionary::SetFollow, false))

TLxBinaryDictionary::TLxBinaryDictionary(framework::TComponent* owner)
    : TLxCustomFileDictionary(owner) {}

TLxBinaryDictionary::~TLxBinaryDictionary() = default;

bool TLxBinaryDictionary::ReadsImage() const {
  if (Storage() != lxsEmbedded) return true;
  return IsDesigning() && platform::FileExists(FileName());
}

std::unique_ptr<TLxPLDFile> TLxBinaryDictionary::OpenSource() {
  if (StoredFileName().empty()) throw platform::Exception("No FileName property set");
  auto reader = std::make_unique<TLxPLDFile>();
  // The file is opened as the resource is, so that the same bytes answer alike in both.
  if (Storage() == lxsFile || (IsDesigning() && platform::FileExists(FileName()))) {
    reader->OpenStream(std::make_unique<framework::TFileStream>(
        FileName(), framework::TFileStream::Mode::OpenRead));
  } else {
    reader->OpenStream(std::make_unique<framework::TResourceStream>(platform::MainModule(),
                                                                    kResourceName, kResourceType));
  }
  SetContextKeys(reader->ContentFlags() != 0);
  return reader;
}

int TLxBinaryDictionary::GetLanguageCount() {
  return ReadsImage() ? OpenSource()->LanguageCount() : storedLanguageCount_;
}

int TLxBinaryDictionary::GetTranslationCount() {
  return ReadsImage() ? OpenSource()->TranslationCount() : storedTranslationCount_;
}

int TLxBinaryDictionary::GetLocaleCount() {
  return ReadsImage() ? OpenSource()->LocaleCount() : storedLocaleCount_;
}

TLxStoredComponent TLxBinaryDictionary::StoredComponent() const {
  return {Owner() != nullptr ? Owner()->ClassName() : std::string(), ClassName(), Name()};
}

std::unique_ptr<framework::TMemoryStream> TLxBinaryDictionary::StoredData(
    std::string_view propertyName) const {
  return ReadStoredProperty(StoredComponent(), propertyName);
}

void TLxBinaryDictionary::GetLanguage(int index, lang::TLxLanguage& dest) {
  if (!ReadsImage()) {
    CheckIndex(index, storedLanguageCount_, "Language");
    if (legacyData_) return ReadListLanguage(StoredComponent(), index, dest);
    return ReadLanguageData(*StoredData("LanguageData"), index, dest);
  }
  const auto reader = OpenSource();
  CheckIndex(index, reader->LanguageCount(), "Language");
  dest.Assign(*reader->ReadLanguageAt(index));
}

void TLxBinaryDictionary::GetLanguages(std::vector<std::unique_ptr<lang::TLxLanguage>>& list) {
  if (!ReadsImage()) {
    if (legacyData_) return ReadListLanguages(StoredComponent(), list);
    return ReadLanguagesData(*StoredData("LanguageData"), list);
  }
  const auto reader = OpenSource();
  reader->SeekLanguages();
  for (int i = 0; i < reader->LanguageCount(); ++i)
    list.push_back(reader->ReadLanguage().Clone());
}

void TLxBinaryDictionary::GetStoredLocale(int index, lang::TLxLocale& dest) {
  try {
    CheckIndex(index, storedLocaleCount_, "Locale");
    if (legacyData_) return ReadListLocale(StoredComponent(), index, dest);
    ReadLocaleData(*StoredData("LocaleData"), index, dest);
  } catch (...) {
    throw lang::ELxPoly("No dictionary data! Set the FileName property.");
  }
}

void TLxBinaryDictionary::GetLocale(int index, lang::TLxLocale& dest) {
  if (!ReadsImage()) return GetStoredLocale(index, dest);
  const auto reader = OpenSource();
  CheckIndex(index, reader->LocaleCount(), "Locale");
  dest.Assign(*reader->ReadLocaleAt(index));
}

void TLxBinaryDictionary::GetLocales(std::vector<std::unique_ptr<lang::TLxLocale>>& list) {
  if (!ReadsImage()) {
    if (storedLocaleCount_ == 0) return;
    if (legacyData_) return ReadListLocales(StoredComponent(), list);
    return ReadLocalesData(*StoredData("LocaleData"), list);
  }
  const auto reader = OpenSource();
  if (reader->LocaleCount() == 0) return;
  reader->SeekLocales();
  for (int i = 0; i < reader->LocaleCount(); ++i)
    list.push_back(reader->ReadLocale().Clone());
}

void TLxBinaryDictionary::LoadTranslations() {
  if (ReadsImage()) {
    try {
      const auto reader = OpenSource();
      if (!SwitchTexts(*reader)) LoadImage(*reader);
      LoadVariants(*reader);
    } catch (...) {
      ClearTranslations();
      loadedKeys_.reset();
      variants_.clear();
      throw;
    }
    return;
  }
  ClearTranslations();
  loadedKeys_.reset();
  const int languageCount = GetLanguageCount();
  SetContextKeys(legacyData_
                     ? LoadListTranslations(StoredComponent(), languageCount, ActiveLanguageIndex(),
                                            FallbackLanguageIndex(), TranslationTable())
                     : LoadTranslationData(*StoredData("TranslationData"), languageCount,
                                           ActiveLanguageIndex(), FallbackLanguageIndex()));
  SortTranslations();
}

void TLxBinaryDictionary::DoOpen() {
  TLxCustomFileDictionary::DoOpen();
  UpdateFollowing();
}

namespace {

// Keys, kind and keyword joined by a character no key holds.
std::string VariantKey(std::string_view word, std::string_view context, std::string_view id,
                       std::string_view keyword) {
  std::string key;
  key.reserve(word.size() + context.size() + id.size() + keyword.size() + 3);
  key.append(word).append(1, '\x7F').append(context).append(1, '\x7F').append(id);
  key.append(1, '\x7F').append(keyword);
  return key;
}

}  // namespace

void TLxBinaryDictionary::LoadVariants(TLxPLDFile& reader) {
  variants_.clear();
  if (reader.VariantCount() == 0) return;
  reader.SeekVariants();
  TLxPLDFile::TLxVariantRecord record;
  const int codePage = CurrentLanguage().CodePage;
  for (int i = 0; i < reader.VariantCount(); ++i) {
    reader.ReadVariants(record, ActiveLanguageIndex(), FallbackLanguageIndex(), codePage);
    // Also under the word alone, where the first record of a word answers, as a look-up
    // by word does.
    for (const auto& [keyword, text] : record.texts) {
      variants_.emplace(VariantKey(record.native, record.context, record.id, keyword), text);
      variants_.emplace(VariantKey(record.native, "", "", keyword), text);
    }
  }
}

bool TLxBinaryDictionary::TranslateVariant(const std::string& word, const std::string& context,
                                           const std::string& id, const std::string& keyword,
                                           std::string& value) {
  const auto found = variants_.find(VariantKey(word, context, id, keyword));
  if (found == variants_.end()) return false;
  value = found->second;
  return true;
}

void TLxBinaryDictionary::DoClose() {
  variants_.clear();
  loadedKeys_.reset();
  follower_.reset();
  TLxCustomFileDictionary::DoClose();
}

void TLxBinaryDictionary::PatchTranslation(const std::string& native, const std::string& context,
                                           const std::string& id, const std::string& text) {
  if (!IsOpen()) return;
  const TLxTranslationList& table = TranslationTable();
  TLxTranslationList patched;
  patched.Reserve(static_cast<std::size_t>(table.Count()) + 1, 0);
  lang::TLxTranslation record;
  bool found = false;
  for (int i = 0; i < table.Count(); ++i) {
    table.CopyTo(i, record);
    if (record.Native == native && record.Context == context && record.Id == id) {
      record.Translation = text;
      record.State = lang::TLxTranslation::kActiveText;
      found = true;
    }
    patched.Add(record);
  }
  if (!found) patched.Add(native, context, id, text, lang::TLxTranslation::kActiveText);
  std::swap(patched, TranslationTable());
  SortTranslations();
  // The table no longer is the file's: the next load reads the file whole.
  loadedKeys_.reset();
  TLxDictionary::Change(true, false);
}

// ---- Following the file

void TLxBinaryDictionary::SetFollow(bool value) {
  follow_ = value;
  UpdateFollowing();
}

void TLxBinaryDictionary::UpdateFollowing() {
  const bool wanted = follow_ && IsOpen() && !IsDesigning() && Storage() == lxsFile;
  if (!wanted) {
    follower_.reset();
    return;
  }
  if (follower_ != nullptr && follower_->FileName() == FileName()) return;
  follower_.reset();
  try {
    follower_ = std::make_unique<TLxFileFollower>(FileName(), [this] { FileChanged(); });
  } catch (const platform::Exception& e) {
    ReportReloadError(e.Message());
  }
}

void TLxBinaryDictionary::FileChanged() {
  try {
    Reload();
    lastReloadError_.clear();
  } catch (const platform::Exception& e) {
    ReportReloadError(FileName() + ": " + e.Message());
  }
}

void TLxBinaryDictionary::ReportReloadError(const std::string& message) {
  if (message == lastReloadError_) return;
  lastReloadError_ = message;
  if (OnReloadError) return OnReloadError(this, message);
  framework::Application().ShowException(platform::Exception(message));
}

void TLxBinaryDictionary::CheckLanguages(TLxPLDFile& reader) const {
  CheckIndex(ActiveLanguageIndex(), reader.LanguageCount(), "Language");
  CheckIndex(FallbackLanguageIndex(), reader.LanguageCount(), "Language");
  // The language records must read whole too: menus and switches read them later.
  reader.SeekLanguages();
  for (int i = 0; i < reader.LanguageCount(); ++i)
    reader.ReadLanguage();
}

void TLxBinaryDictionary::Reload() {
  if (!IsOpen() || !ReadsFile()) return;
  const bool contextKeys = HasContextKeys();
  try {
    CheckLanguages(*OpenSource());
  } catch (...) {
    SetContextKeys(contextKeys);
    throw;
  }
  // The table in use is set aside whole and comes back when the new one cannot be read.
  TLxTranslationList kept;
  std::swap(kept, TranslationTable());
  std::optional<LoadedKeys> keptKeys = std::move(loadedKeys_);
  loadedKeys_.reset();
  std::map<std::string, std::string, std::less<>> keptVariants;
  std::swap(keptVariants, variants_);
  try {
    LoadTranslations();
  } catch (...) {
    std::swap(kept, TranslationTable());
    loadedKeys_ = std::move(keptKeys);
    std::swap(keptVariants, variants_);
    SetContextKeys(contextKeys);
    throw;
  }
  // The table is loaded: the translators and events hear of it as of a language switch.
  TLxDictionary::Change(true, false);
}

bool TLxBinaryDictionary::ReadsFile() const {
  return Storage() == lxsFile || (IsDesigning() && platform::FileExists(FileName()));
}

TLxBinaryDictionary::LoadedKeys TLxBinaryDictionary::KeysSource(const TLxPLDFile& reader) const {
  LoadedKeys keys;
  keys.fromFile = ReadsFile();
  if (keys.fromFile) {
    keys.fileName = FileName();
    std::error_code ignored;
    keys.written = std::filesystem::last_write_time(keys.fileName, ignored);
  }
  keys.size = reader.Size();
  keys.header = reader.Header();
  keys.convertNative = Options().Contains(lang::lxdoConvertNativeString);
  keys.nativeCodePage = NativeCodePage();
  keys.systemCodePage = static_cast<int>(platform::AnsiCodePage());
  return keys;
}

bool TLxBinaryDictionary::SameKeys(const LoadedKeys& a, const LoadedKeys& b) const {
  return a.fromFile == b.fromFile && a.fileName == b.fileName && a.written == b.written &&
         a.size == b.size && a.header == b.header && a.convertNative == b.convertNative &&
         a.nativeCodePage == b.nativeCodePage && a.systemCodePage == b.systemCodePage;
}

void TLxBinaryDictionary::LoadImage(TLxPLDFile& reader) {
  ClearTranslations();
  loadedKeys_.reset();
  LoadedKeys keys = KeysSource(reader);
  keys.present.assign(static_cast<std::size_t>(reader.TranslationCount()), false);
  // Offsets are kept as 32 bits; a larger image is read in full on every switch.
  const bool keepOffsets = reader.Size() <= std::numeric_limits<std::uint32_t>::max();
  if (keepOffsets) keys.textsAt.resize(static_cast<std::size_t>(reader.TranslationCount()));
  const int codePage = CurrentLanguage().CodePage;
  reader.SeekTranslations();
  TLxTranslationList& table = TranslationTable();
  table.Reserve(static_cast<std::size_t>(reader.TranslationCount()), 0);
  // Native texts that may need converting (with a context, when the system's code page
  // is not the native one) go through a record; the others are copied straight from the
  // reader's buffer whenever a record lies whole in it.
  const bool viewsServe = !keys.convertNative || keys.systemCodePage == keys.nativeCodePage;
  lang::TLxTranslation record;
  TLxPLDFile::RecordView view;
  for (int i = 0; i < reader.TranslationCount(); ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (viewsServe &&
        reader.ReadRecordInWindow(ActiveLanguageIndex(), FallbackLanguageIndex(), view)) {
      if (keepOffsets) keys.textsAt[at] = static_cast<std::uint32_t>(view.textsAt);
      if (view.state == lang::TLxTranslation::kNoText) continue;
      table.Add(view.native, view.context, view.id, view.translation, view.state);
    } else {
      reader.ReadTranslationKeys(record);
      if (keepOffsets) keys.textsAt[at] = static_cast<std::uint32_t>(reader.Position());
      record.State = reader.ReadTranslationTexts(record.Translation, ActiveLanguageIndex(),
                                                 FallbackLanguageIndex(), codePage);
      if (record.State == lang::TLxTranslation::kNoText) continue;
      ConvertNativeString(record);
      table.Add(record);
    }
    keys.present[at] = true;
    ++keys.presentCount;
  }
  SortTranslations();
  loadedKeys_ = std::move(keys);
}

// Reads only the active and fallback language's texts into the table, when its keys are
// those of this image; false (nothing changed) when a full load is needed.
bool TLxBinaryDictionary::SwitchTexts(TLxPLDFile& reader) {
  TLxTranslationList& table = TranslationTable();
  if (!loadedKeys_ || table.Count() != loadedKeys_->presentCount ||
      loadedKeys_->textsAt.size() != static_cast<std::size_t>(reader.TranslationCount()) ||
      !SameKeys(*loadedKeys_, KeysSource(reader))) {
    return false;
  }
  if (table.Empty()) return false;
  const int codePage = CurrentLanguage().CodePage;
  const int count = reader.TranslationCount();
  int record = 0;
  bool mismatch = false;
  std::string lastText;
  // The texts of the next record the table holds; false at the end of the records, or when
  // a record has a text now and had none at the load, or the reverse.
  const auto nextPresent = [&](std::string_view& text, std::uint8_t& state) {
    for (; record < count; ++record) {
      const auto at = static_cast<std::size_t>(record);
      reader.SeekTexts(loadedKeys_->textsAt[at]);
      state = reader.ReadChosenText(text, ActiveLanguageIndex(), FallbackLanguageIndex(), codePage);
      const bool present = state != lang::TLxTranslation::kNoText;
      if (present != loadedKeys_->present[at]) {
        mismatch = true;
        return false;
      }
      if (present) {
        ++record;
        return true;
      }
    }
    return false;
  };
  int given = 0;
  return table.ReplaceTranslations([&](std::string_view& text, std::uint8_t& state) {
    if (!nextPresent(text, state)) return false;
    if (++given < table.Count()) return true;
    // The records after the last one the table holds must still have no text; the text
    // of the last one is kept aside, since reading on moves the reader's buffer.
    lastText.assign(text);
    text = lastText;
    std::string_view rest;
    std::uint8_t none = 0;
    return !nextPresent(rest, none) && !mismatch;
  });
}

// ---- Stored data

bool TLxBinaryDictionary::FileHasData() const {
  const std::string& fileName = FileName();
  if (fileName.empty()) return false;
  if (!platform::FileExists(fileName)) {
    NoStoredData("Can not find the file name " + fileName, "File not found");
    return false;
  }
  TLxPLDFile file;
  file.OpenFile(fileName);
  if (!file.AnsiStrings()) {
    NoStoredData("Can not use a Unicode PLD file " + fileName, "Unicode not supported");
  }
  return file.AnsiStrings();
}

void TLxBinaryDictionary::DefineProperties(framework::TFiler& filer) {
  TLxCustomFileDictionary::DefineProperties(filer);
  if (Storage() != lxsEmbedded) return;
  const bool hasData = dynamic_cast<framework::TReader*>(&filer) != nullptr || FileHasData();
  DefineListProperties(filer, hasData);
  DefineBinaryProperties(filer, hasData);
}

void TLxBinaryDictionary::DefineListProperties(framework::TFiler& filer, bool hasData) {
  filer.DefineProperty(
      "Languages",
      [this](framework::TReader& reader) {
        legacyData_ = true;
        storedLanguageCount_ = CountListLanguages(reader);
      },
      nullptr, hasData);
  filer.DefineProperty(
      "Translations",
      [this](framework::TReader& reader) {
        legacyData_ = true;
        storedTranslationCount_ = CountListTranslations(reader, storedLanguageCount_);
      },
      nullptr, hasData);
  filer.DefineProperty(
      "Locales",
      [this](framework::TReader& reader) {
        legacyData_ = true;
        storedLocaleCount_ = CountListLocales(reader);
      },
      nullptr, hasData);
}

void TLxBinaryDictionary::DefineBinaryProperties(framework::TFiler& filer, bool hasData) {
  // Each writer copies one section of the file into the form.
  auto fromFile = [this](void (*write)(framework::TStream&, TLxPLDFile&)) {
    return [this, write](framework::TStream& data) {
      TLxPLDFile file;
      file.OpenFile(FileName());
      write(data, file);
    };
  };
  filer.DefineBinaryProperty(
      "LanguageData",
      [this](framework::TStream& data) { storedLanguageCount_ = CountLanguageData(data); },
      fromFile(&WriteLanguageData), hasData);
  filer.DefineBinaryProperty(
      "TranslationData",
      [this](framework::TStream& data) {
        storedTranslationCount_ = CountTranslationData(data, storedLanguageCount_);
      },
      fromFile(&WriteTranslationData), hasData);
  filer.DefineBinaryProperty(
      "LocaleData",
      [this](framework::TStream& data) { storedLocaleCount_ = CountLocaleData(data); },
      fromFile(&WriteLocaleData), hasData);
}

}  // namespace lx::dict
