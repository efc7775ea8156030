// Lx as the benchmark measures it: a binary dictionary on a dictionary file,
// looked up by word as the translator does, into a reused text.
#include <fstream>

#include "Engine.h"
#include "dict/LxBinDic.h"
#include "pldimage/PldImage.h"

namespace lx::bench {

namespace {

// Western languages of code page 1252, so that every system passes them.
constexpr int kPrimaryLanguages[] = {7, 12, 10, 16, 19, 22, 29, 6, 20};

tools::PldImage ImageOf(const Corpus& corpus) {
  tools::PldImage image;
  tools::PldLanguage native;
  native.codePage = 1252;
  native.englishName = "English";
  image.languages.push_back(native);
  for (int language = 1; language < corpus.LanguageCount(); ++language) {
    tools::PldLanguage translated;
    translated.primaryLanguage = kPrimaryLanguages[(language - 1) % 9];
    translated.subLanguage = 1;
    translated.codePage = 1252;
    translated.englishName = "Language " + std::to_string(language);
    image.languages.push_back(translated);
  }
  image.translations.reserve(corpus.keys.size());
  for (std::size_t i = 0; i < corpus.keys.size(); ++i) {
    tools::PldTranslation& record = image.translations.emplace_back();
    record.texts.push_back(corpus.keys[i]);
    for (const auto& texts : corpus.translations)
      record.texts.push_back(texts[i]);
  }
  return image;
}

class LxEngine : public Engine {
 public:
  explicit LxEngine(const std::string& file) {
    dictionary_.SetFileName(file);
    dictionary_.SetBinding(lang::lxbiNone);
    dictionary_.SetCheckLevel(lang::lxclNone);
  }

  std::string Name() const override { return "Lx"; }

  void Open(int language) override {
    dictionary_.Close();
    dictionary_.SetLanguage(language);
    dictionary_.Open();
  }

  void Switch(int language) override { dictionary_.SetLanguage(language); }

  std::size_t Lookup(const std::string& key) override {
    return dictionary_.TranslateWord(key, value_) ? value_.size() : 0;
  }

 private:
  dict::TLxBinaryDictionary dictionary_{nullptr};
  std::string value_;
};

}  // namespace

std::unique_ptr<Engine> MakeLxEngine(const Corpus& corpus, const std::string& folder,
                                     std::string& why) {
  const std::string file = folder + "/lx.pld";
  const std::vector<std::uint8_t> bytes = tools::WritePldImage(ImageOf(corpus));
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    why = "cannot write " + file;
    return nullptr;
  }
  return std::make_unique<LxEngine>(file);
}

}  // namespace lx::bench
