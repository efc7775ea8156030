// Resource strings and shortcut texts through the default dictionary.
//
// While a dictionary with lxdoTranslateResourceStrings is open, the
// framework's resource-string loader and shortcut-text routine are replaced
// through their hooks by the engine's: every resource string and every key
// name is looked up in the default dictionary. The redirection belongs to the
// dictionary that installed it: when that one closes, another open dictionary
// that asks for it takes it over, and when none does the routines that were
// installed before are put back. Other dictionaries closing leave it alone.
#pragma once

#include <string>

#include "framework/runtime/ResourceStrings.h"
#include "framework/runtime/ShortCuts.h"

namespace lx::lang {

class TLxDictionary;

/// Whether the engine's routines are installed.
bool ResourceStringRedirectionInstalled();
/// The dictionary the installed routines belong to; null when none are installed.
const TLxDictionary* ResourceStringRedirectionHolder();
/// Installs the engine's routines on behalf of `holder`, remembering the ones they replace;
/// nothing when they are installed already.
void InstallResourceStringRedirection(const TLxDictionary* holder);
/// `dictionary` closes or goes: when it holds the redirection, the first other dictionary of
/// `Dictionaries()` that is open, not designing and has lxdoTranslateResourceStrings takes
/// it over, or, when there is none, the routines are removed. Nothing for any other one.
void ReleaseResourceStringRedirection(const TLxDictionary* dictionary);
/// Puts the remembered routines back, whoever holds them; nothing when the engine's are not
/// installed.
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
