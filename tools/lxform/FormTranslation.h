// lxform --translate: a stored form shown after a translator pass.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formtools/ToolForm.h"

namespace lx::tools {

/// A form as its translator left it.
struct TranslatedForm {
  /// The form as text.
  std::string text;
  /// The English name of the dictionary's language, and whether it reads right to left.
  std::string language;
  bool rightToLeft = false;
};

/// Reads the form in `form` (a text form or a binary form stream, the content of the file
/// `path`) tolerantly (TToolForm), opens the dictionary image `dictionaryFile` in language
/// `language` (an index; 0 is the native language), lets the form's translator translate it
/// (a form without one, or with an empty target list, takes the default targets), and gives
/// the form's text, every value the pass left alone as it stood: what changed with its 8-bit
/// texts, which are in the language's code page, written as their characters (UTF-8), or with
/// `byteCodes` as the form stores them ("#n" codes of their bytes), a text that compiles back
/// to the same binary form. The form's root class need not be known: a stand-in form of that
/// class name takes the components, so the class name is the look-up context as in the
/// program. Raises ToolFileError naming the dictionary file for a dictionary that cannot be
/// used, and the framework's and the engine's errors for the form.
TranslatedForm TranslateForm(const std::string& path, const std::vector<std::uint8_t>& form,
                             const std::string& dictionaryFile, int language,
                             const TFormOptions& options, bool byteCodes);

}  // namespace lx::tools
