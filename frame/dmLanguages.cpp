#include "frame/dmLanguages.h"

#include <memory>
#include <vector>

#include "frame/lbHelp.h"
#include "frame/lbPaths.h"
#include "frame/lbSettings.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "framework/runtime/Application.h"
#include "platform/FileSystem.h"
#include "platform/Resources.h"

namespace lx::frame {

LX_PUBLISHED(Tdmlg, Field("Dictionary", &Tdmlg::Dictionary))

Tdmlg* dmlg = nullptr;

Tdmlg::~Tdmlg() {
  if (dmlg == this) dmlg = nullptr;
}

namespace {

bool SameNameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

std::string ChooseDictionaryFile(std::string_view path) {
  std::string given(path.substr(0, std::min(path.size(), kMaxPathLength)));
  if (!given.empty() && platform::RegularFileExists(given)) return given;
  return DefaultDictionaryFile();
}

void CloseQuietly(lang::TLxDictionary& dictionary) {
  try {
    dictionary.Close();
  } catch (...) {
  }
}

// The dictionary reads its file again at each query: every record the program may ask for
// is read once here, so that a damaged file fails now rather than halfway through a window.
void ReadEveryRecord(lang::TLxDictionary& dictionary) {
  std::vector<std::unique_ptr<lang::TLxLanguage>> languages;
  dictionary.GetLanguages(languages);
  std::vector<std::unique_ptr<lang::TLxLocale>> locales;
  dictionary.GetLocales(locales);
  dictionary.GetTranslationCount();
}

// The dictionary opens on its own; a file that will not open, or not be read whole, leaves
// it closed, and the program runs untranslated.
void OpenQuietly(lang::TLxDictionary& dictionary) {
  try {
    dictionary.Open();
    ReadEveryRecord(dictionary);
  } catch (...) {
    CloseQuietly(dictionary);
  }
}

// The help file of the language in force: the general one for the native language.
void SelectHelpFileForLanguage(const std::string& path, lang::TLxDictionary& dictionary) {
  const int language = dictionary.Language();
  if (language == 0) {
    SelectHelpFile(path, "");
  } else {
    SelectHelpFile(path, dictionary.LanguageAt(language).EnglishName);
  }
}

}  // namespace

void RegisterLanguageClasses() {
  framework::RegisterClasses(
      {&Tdmlg::StaticClassInfo(), &dict::TLxBinaryDictionary::StaticClassInfo()});
}

bool LanguageModuleFormLinked() {
  return platform::FindResource(platform::MainModule(), platform::RT_RCDATA, "TDMLG").has_value();
}

int FindLanguageByName(Tdmlg* module, const std::string& name) {
  int result = 0;
  if (name.empty()) return result;
  try {
    lang::TLxDictionary& dictionary = *module->Dictionary;
    const int count = dictionary.GetLanguageCount();
    for (int i = 0; i < count; ++i) {
      if (SameNameIgnoringAsciiCase(dictionary.LanguageAt(i).EnglishName, name)) {
        result = i;
        break;
      }
    }
  } catch (...) {
    // The search ends; a match found so far stands.
  }
  return result;
}

void OpenDictionaryByName(Tdmlg* module, const std::string& path, const std::string& name) {
  try {
    lang::TLxDictionary& dictionary = *module->Dictionary;
    dictionary.Close();
    if (path.empty()) return;
    module->Dictionary->SetFileName(path);
    dictionary.SetBinding(lang::lxbiNone);
    OpenQuietly(dictionary);
    dictionary.SetLanguage(FindLanguageByName(module, name));
  } catch (...) {
    if (module->Dictionary != nullptr) CloseQuietly(*module->Dictionary);
  }
}

void OpenDictionaryById(Tdmlg* module, const std::string& path, std::int32_t id) {
  try {
    lang::TLxDictionary& dictionary = *module->Dictionary;
    dictionary.Close();
    if (path.empty()) return;
    module->Dictionary->SetFileName(path);
    dictionary.SetLanguage(id);
    dictionary.SetBinding(lang::lxbiNone);
    OpenQuietly(dictionary);
    if (id == 0) {
      SelectHelpFile(path, "");
    } else {
      SelectHelpFile(path, dictionary.LanguageAt(dictionary.Language()).EnglishName);
    }
  } catch (...) {
    if (module->Dictionary != nullptr) CloseQuietly(*module->Dictionary);
  }
}

StoredLanguage StoredChoiceOf(Tdmlg* module, int position) {
  StoredLanguage choice;
  choice.id = position;
  if (position == 0) return choice;
  choice.name = module->Dictionary->LanguageAt(position).EnglishName;
  // A name found earlier in the list would bring back another language.
  if (FindLanguageByName(module, choice.name) != position) choice.name.clear();
  return choice;
}

bool ChangeLanguage(int position) {
  try {
    if (dmlg == nullptr || dmlg->Dictionary == nullptr) return false;
    lang::TLxDictionary& dictionary = *dmlg->Dictionary;
    if (!dictionary.IsOpen() || position < 0 || position >= dictionary.GetLanguageCount())
      return false;
    dictionary.SetLanguage(position);
    SelectHelpFileForLanguage(dmlg->Dictionary->FileName(), dictionary);
    StoreLanguage(StoredChoiceOf(dmlg, dictionary.Language()));
    return true;
  } catch (...) {
    return false;
  }
}

void LanguageSetup(std::string_view path) {
  if (dmlg != nullptr) return;
  const std::string dictionaryPath = ChooseDictionaryFile(path);
  StoredLanguage stored;
  if (!dictionaryPath.empty()) stored = ReadStoredLanguage(kMaxPathLength);
  try {
    if (dictionaryPath.empty()) return;
    framework::Application().CreateForm(dmlg);
    if (dmlg == nullptr) return;
    OpenDictionaryByName(dmlg, dictionaryPath, stored.name);
    if (dmlg->Dictionary->Language() == 0 && stored.id != 0)
      OpenDictionaryById(dmlg, dictionaryPath, stored.id);
    SelectHelpFileForLanguage(dictionaryPath, *dmlg->Dictionary);
  } catch (...) {
    if (dmlg != nullptr && dmlg->Dictionary != nullptr) CloseQuietly(*dmlg->Dictionary);
  }
}

}  // namespace lx::frame
