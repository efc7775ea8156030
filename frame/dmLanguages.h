// The language data module: the program's one dictionary and the start-up
// choice of its language.
//
// `LanguageSetup` makes the data module when a dictionary file exists, opens
// its dictionary on the file, selects the language stored in the settings
// file (by English name first, then by position) and chooses the help file of
// that language. Nothing here raises or reports: a step that fails is skipped
// and the program runs with the state reached so far.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dict/LxBinDic.h"
#include "frame/lbSettings.h"
#include "framework/controls/Forms.h"

namespace lx::frame {

/// The data module; its dictionary comes from the form resource "TDMLG".
class Tdmlg : public framework::TDataModule {
  LX_CLASS(Tdmlg, framework::TDataModule)

 public:
  explicit Tdmlg(framework::TComponent* owner) : TDataModule(owner) {}
  /// Forgets `dmlg` when it is this module.
  ~Tdmlg() override;

  dict::TLxBinaryDictionary* Dictionary = nullptr;
};

/// The one data module; null until `LanguageSetup` makes it. The application
/// object owns it.
extern Tdmlg* dmlg;

/// Registers the classes the data module's form resource names.
void RegisterLanguageClasses();

/// True when the program carries the data module's form resource "TDMLG" (the build links
/// it with `lx_add_language_module_form`). Without it `LanguageSetup` makes no data module
/// and the program runs untranslated, as the frame reports nothing: a program's test asks
/// here.
bool LanguageModuleFormLinked();

/// Runs at most once per process, once the data module exists. `path` names
/// the dictionary file; empty (or a file that does not exist) means the one
/// beside the executable. Never raises.
void LanguageSetup(std::string_view path);

/// Closes the dictionary, points it at `path`, opens it and selects the
/// language named `name` (0 when none is). Never raises.
void OpenDictionaryByName(Tdmlg* module, const std::string& path, const std::string& name);
/// Closes the dictionary, points it at `path` with `Language` `id`, opens it
/// and chooses the help file of the language reached. Never raises.
void OpenDictionaryById(Tdmlg* module, const std::string& path, std::int32_t id);
/// Switches the program's dictionary to the language at `position` while the
/// program runs: the registered translators follow, the help file of the
/// language is chosen and the choice is stored in the settings file for the
/// next start. False, with nothing changed, when there is no open dictionary
/// or no such language. Never raises.
bool ChangeLanguage(int position);
/// The pair that brings back the language at `position` at the next start:
/// its English name ("Native" for the native language), or no name when an
/// earlier language has the same one, and the position.
StoredLanguage StoredChoiceOf(Tdmlg* module, int position);

/// The position of the first language whose English name equals `name`
/// (ASCII case ignored); 0 when none does or the languages cannot be read.
int FindLanguageByName(Tdmlg* module, const std::string& name);

}  // namespace lx::frame
