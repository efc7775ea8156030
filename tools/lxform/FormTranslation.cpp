#include "FormTranslation.h"

#include <filesystem>

#include "dict/LxBinDic.h"
#include "formtools/StandInForm.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "framework/streaming/TextForm.h"
#include "lang/LxLanguageIds.h"
#include "platform/Exception.h"
#include "toolfiles/ToolFiles.h"
#include "translator/LxPoly.h"

namespace lx::tools {

namespace {

// A dictionary that cannot be used is named in the message, not the form.
void OpenDictionary(dict::TLxBinaryDictionary& dictionary, const std::string& dictionaryFile,
                    int language) {
  const std::string name = InputName(dictionaryFile);
  const std::string file = RegularInputFile(dictionaryFile);
  try {
    dictionary.SetFileName(std::filesystem::absolute(file).string());
    dictionary.SetBinding(lang::lxbiNone);
    dictionary.SetCheckLevel(lang::lxclNone);
    dictionary.SetLanguage(language);
    dictionary.Open();
  } catch (const platform::Exception& error) {
    throw ToolFileError(name + ": " + ShortenQuoted(error.Message()));
  }
  if (!dictionary.IsOpen()) throw ToolFileError(name + ": cannot be opened as a dictionary");
}

}  // namespace

TranslatedForm TranslateForm(const std::vector<std::uint8_t>& form,
                             const std::string& dictionaryFile, int language, bool byteCodes) {
  RegisterStandardClasses();
  const std::vector<std::uint8_t> binary = BinaryFormOf(form);

  dict::TLxBinaryDictionary dictionary(nullptr);
  OpenDictionary(dictionary, dictionaryFile, language);

  TStandInForm root(RootClassName(binary));
  framework::TMemoryStream input(binary);
  framework::ReadComponentFrom(input, &root);
  translator::TLxTranslator* formTranslator = FindTranslator(root);
  if (formTranslator == nullptr) throw platform::Exception("The form has no translator");
  // Bound to this dictionary whatever name the form gives (the only one registered).
  formTranslator->SetDictionary(&dictionary);
  formTranslator->Open();

  framework::TMemoryStream output;
  framework::WriteComponentTo(output, root);
  const lang::TLxLanguage& current = dictionary.CurrentLanguage();
  TranslatedForm translated;
  translated.language = dictionary.Language() == 0 ? "the native language" : current.EnglishName;
  translated.rightToLeft = current.ScriptClass() == lang::kLxScriptRightToLeft;
  const int codePage = current.CodePage == 0 ? 1252 : current.CodePage;
  translated.text = byteCodes ? framework::FormBinaryToText(output.Bytes())
                              : framework::FormBinaryToText(
                                    output.Bytes(), static_cast<platform::CodePage>(codePage));
  return translated;
}

}  // namespace lx::tools
