// Resource strings and shortcut texts through the default dictionary.
//
// While a dictionary with lxdoTranslateResourceStrings is open, the
// framework's resource-string loader and shortcut-text routine are replaced
// through their hooks by the engine's: every resource string and every key
// name is looked up in the default dictionary. Closing the dictionary puts the
// routines back that were installed before.
#pragma once

#include <string>

#include "framework/runtime/ResourceStrings.h"
#include "framework/runtime/ShortCuts.h"

namespace lx::lang {

/// Whether the engine's routines are installed.
bool ResourceStringRedirectionInstalled();
/// Installs the engine's routines, remembering the ones they replace; nothing when they are
/// installed already.
void InstallResourceStringRedirection();
/// Puts the remembered routines back; nothing when the engine's are not installed.
void RemoveResourceStringRedirection();

/// The engine's loader: the text as the replaced loader gives it, then, when the default
/// dictionary is usable, its translation keyed by the identifier, else by the text alone,
/// after the missing-translation rule. Never raises: a failure gives an empty text. A
/// resource string loaded while one is being translated is not translated.
std::string TranslatedLoadResString(const framework::TResStringRec& record);

/// The engine's shortcut text: the framework's composition with every resource text (key
/// names and modifier prefixes) translated through the default dictionary when it is usable.
std::string TranslatedShortCutToText(framework::TShortCut shortCut);

}  // namespace lx::lang
