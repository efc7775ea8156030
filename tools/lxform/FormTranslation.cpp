#include "FormTranslation.h"

#include "dict/LxBinDic.h"
#include "formtools/FormBatch.h"
#include "lang/LxLanguageIds.h"

namespace lx::tools {

TranslatedForm TranslateForm(const std::string& path, const std::vector<std::uint8_t>& form,
                             const std::string& dictionaryFile, int language,
                             const TFormOptions& options, bool byteCodes) {
  dict::TLxBinaryDictionary dictionary(nullptr);
  OpenToolDictionary(dictionary, dictionaryFile, language);
  TToolForm loaded(path, form, options);
  TranslateToolForm(loaded, dictionary);

  const lang::TLxLanguage& current = dictionary.CurrentLanguage();
  TranslatedForm translated;
  translated.language = dictionary.Language() == 0 ? "the native language" : current.EnglishName;
  translated.rightToLeft = current.ScriptClass() == lang::kLxScriptRightToLeft;
  const int codePage = current.CodePage == 0 ? 1252 : current.CodePage;
  translated.text = byteCodes ? loaded.Form().WriteText()
                              : loaded.Form().PrintText(static_cast<platform::CodePage>(codePage));
  return translated;
}

}  // namespace lx::tools
