#include "FormTranslation.h"

#include "dict/LxBinDic.h"
#include "formtools/FormBatch.h"

namespace lx::tools {

std::vector<std::uint8_t> TranslatedForm(const std::string& path,
                                         const std::vector<std::uint8_t>& form,
                                         const std::string& dictionaryFile, int language,
                                         const TFormOptions& options, bool asText) {
  dict::TLxBinaryDictionary dictionary(nullptr);
  OpenToolDictionary(dictionary, dictionaryFile, language);
  TToolForm loaded(path, form, options);
  TranslateToolForm(loaded, dictionary);
  if (!asText) return loaded.Form().Write();
  const std::string text = loaded.Form().WriteText();
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace lx::tools
