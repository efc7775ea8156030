// The dictionary unit in one include: the language, locale and translation
// records, the dictionary component and its registry, language activation and
// what it changes in the process, the redirection of resource strings, the
// exception handler, and the dictionary's side of the translator.
#pragma once

#include "lang/LxCustomTranslator.h"
#include "lang/LxDictionaries.h"
#include "lang/LxDictionary.h"
#include "lang/LxExceptionHandler.h"
#include "lang/LxLocaleVariables.h"
#include "lang/LxRecords.h"
#include "lang/LxRedirection.h"
