#include "dict/LxAPoly.h"

#include <filesystem>

#include "framework/controls/Dialogs.h"
#include "framework/rtti/Published.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace lx::dict {

LX_PUBLISHED(TLxCustomDictionary)

LX_PUBLISHED(TLxCustomFileDictionary,
             Property("FileName", &TLxCustomFileDictionary::FileName,
                      &TLxCustomFileDictionary::SetFileName, std::string()),
             Property("Storage", &TLxCustomFileDictionary::Storage,
                      &TLxCustomFileDictionary::SetStorage, lxsFile))

TLxCustomDictionary::TLxCustomDictionary(framework::TComponent* owner) : TLxDictionary(owner) {}

TLxCustomDictionary::~TLxCustomDictionary() {
  ClearTranslations();
}

void TLxCustomDictionary::TranslationAt(int index, lang::TLxTranslation& target) const {
  translations_.CopyTo(index, target);
}

int TLxCustomDictionary::FindWord(const std::string& word) const {
  return translations_.FindWord(word, HasContextKeys());
}

int TLxCustomDictionary::FindKey(const std::string& word, const std::string& context,
                                 const std::string& id) const {
  return translations_.FindKey(word, context, id, HasContextKeys());
}

bool TLxCustomDictionary::TranslateWord(const std::string& word, std::string& value) {
  std::string_view text;
  if (!translations_.FindWordText(word, HasContextKeys(), text)) return false;
  value.assign(text);
  return true;
}

bool TLxCustomDictionary::Translate(const std::string& word, const std::string& context,
                                    std::string& value, const std::string& id) {
  std::string_view text;
  if (!translations_.FindKeyText(word, context, id, HasContextKeys(), text)) return false;
  value.assign(text);
  return true;
}

void TLxCustomDictionary::SortTranslations() {
  translations_.Sort(HasContextKeys());
}

void TLxCustomDictionary::Change(bool languageChanged, bool localeChanged) {
  if (languageChanged) LoadTranslations();
  TLxDictionary::Change(languageChanged, localeChanged);
}

TLxCustomFileDictionary::TLxCustomFileDictionary(framework::TComponent* owner)
    : TLxCustomDictionary(owner) {}

const std::string& TLxCustomFileDictionary::FileName() const {
  if (!IsDesigning()) fileName_ = ResolveFileName(fileName_);
  return fileName_;
}

void TLxCustomFileDictionary::SetStorage(TLxStorage value) {
  if (value == storage_) return;
  storage_ = value;
  if (!IsDesigning() || ComponentState().Contains(framework::csLoading)) return;
  if (value == lxsEmbedded) {
    framework::MessageDlg(
        "The dictionary data is now stored in the form. After every change of the dictionary "
        "file, save the form again and rebuild the application.",
        framework::mtInformation, {framework::mbOK}, 0);
  } else if (value == lxsResource) {
    framework::MessageDlg(
        "The dictionary is now read from the application's resources. Link the dictionary "
        "file into the application as the resource \"PlDictionary\" of type \"LXDICTIONARY\" "
        "and rebuild the application.",
        framework::mtInformation, {framework::mbOK}, 0);
  }
}

std::string TLxCustomFileDictionary::ResolveFileName(const std::string& name) const {
  if (storage_ != lxsFile || name.empty()) return name;
  std::error_code error;
  const std::string full = std::filesystem::absolute(name, error).lexically_normal().string();
  if (!error && platform::FileExists(full)) return full;
  constexpr auto style = platform::kNativePathStyle;
  if (!platform::HasFolderPart(name, style)) {
    const std::string beside = platform::ExtractFilePath(platform::ExecutablePath(), style) + name;
    if (platform::FileExists(beside)) return beside;
  }
  return name;
}

bool TLxCustomFileDictionary::CanOpen() {
  if (storage_ != lxsFile) return true;
  const std::string& name = FileName();
  return !name.empty() && platform::FileExists(name);
}

}  // namespace lx::dict
