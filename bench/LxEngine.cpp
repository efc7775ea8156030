// Lx as the benchmark measures it: a binary dictionary on a dictionary file,
// looked up as the translator does (by key with a context-and-id image, by word
// without), into a reused text.
#include <filesystem>
#include <fstream>

#include "Engine.h"
#include "dict/LxBinDic.h"
#include "pldimage/PldImage.h"

namespace lx::bench {

namespace {

// Western languages of code page 1252, so that every system passes them.
constexpr int kPrimaryLanguages[] = {7, 12, 10, 16, 19, 22, 29, 6, 20};

tools::PldImage ImageOf(const Corpus& corpus, Keys keys) {
  tools::PldImage image;
  if (keys == Keys::Context) image.contentFlags = 1;
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
    if (keys == Keys::Context) record.context = kContext;
    for (const auto& texts : corpus.translations)
      record.texts.push_back(texts[i]);
  }
  return image;
}

class LxEngine : public Engine {
 public:
  LxEngine(const std::string& file, Keys keys) : keys_(keys) {
    dictionary_.SetFileName(file);
    dictionary_.SetBinding(lang::lxbiNone);
    dictionary_.SetCheckLevel(lang::lxclNone);
  }

  void Open(int language) override {
    dictionary_.Close();
    dictionary_.SetLanguage(language);
    dictionary_.Open();
  }

  void Switch(int language) override { dictionary_.SetLanguage(language); }

  std::size_t Lookup(const std::string& key) override {
    const bool found = keys_ == Keys::Context ? dictionary_.Translate(key, context_, value_, id_)
                                              : dictionary_.TranslateWord(key, value_);
    return found ? value_.size() : 0;
  }

 private:
  Keys keys_;
  dict::TLxBinaryDictionary dictionary_{nullptr};
  const std::string context_ = kContext;
  const std::string id_;
  std::string value_;
};

}  // namespace

std::unique_ptr<Engine> MakeLxEngine(const Corpus& corpus, const std::string& folder, Keys keys,
                                     std::string& why) {
  const std::string file = folder + (keys == Keys::Context ? "/lx-context.pld" : "/lx-word.pld");
  if (std::filesystem::exists(file)) return std::make_unique<LxEngine>(file, keys);
  // Written as lxpld and lxpo write images: in key order.
  const std::vector<std::uint8_t> bytes = tools::WritePldImageInKeyOrder(ImageOf(corpus, keys));
  const std::string partial = file + ".partial";
  {
    std::ofstream out(partial, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      why = "cannot write " + partial;
      return nullptr;
    }
  }
  std::filesystem::rename(partial, file);
  return std::make_unique<LxEngine>(file, keys);
}

}  // namespace lx::bench
