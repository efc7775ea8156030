// Arbitrary bytes as a form (text or binary) with a translator, read into a stand-in root as
// `lxform --translate` reads it, translated with a dictionary of four languages (one right
// to left, one far-east) and switched through them: texts, mirroring, fonts and scaling on
// whatever the bytes make, and the form freed. Bad bytes may only be refused with a message.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "dict/LxBinDic.h"
#include "formtools/StandInForm.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "platform/Exception.h"
#include "pldimage/PldImage.h"
#include "translator/LxPoly.h"

namespace {

using namespace lx;

tools::PldImage Image() {
  tools::PldImage image;
  image.contentFlags = 1;
  const int primary[] = {0, 7, 1, 17};  // native, German, Arabic, Japanese
  const int codePages[] = {1252, 1252, 1256, 932};
  for (int i = 0; i < 4; ++i) {
    tools::PldLanguage& language = image.languages.emplace_back();
    language.primaryLanguage = primary[i];
    language.subLanguage = i == 0 ? 0 : 1;
    language.codePage = codePages[i];
    language.englishName = "Language " + std::to_string(i);
  }
  for (const char* text : {"Open", "&File", "Main window", "Name", "Line"}) {
    tools::PldTranslation& translation = image.translations.emplace_back();
    translation.texts = {text, std::string(text) + " (de)", "\xC7\xE1 " + std::string(text),
                         "\x83\x41 " + std::string(text)};
  }
  return image;
}

dict::TLxBinaryDictionary& Dictionary() {
  static const std::unique_ptr<dict::TLxBinaryDictionary> dictionary = [] {
    const std::vector<std::uint8_t> bytes = tools::WritePldImage(Image());
    auto opened = std::make_unique<dict::TLxBinaryDictionary>(nullptr);
    opened->SetFileName(fuzz::WriteFuzzFile("fuzz.pld", bytes.data(), bytes.size()));
    opened->SetBinding(lang::lxbiNone);
    opened->SetCheckLevel(lang::lxclNone);
    opened->Open();
    if (!opened->IsOpen()) std::abort();
    return opened;
  }();
  return *dictionary;
}

void TranslateAndSwitch(const std::vector<std::uint8_t>& binary) {
  tools::TStandInForm root(tools::RootClassName(binary));
  framework::TMemoryStream input(binary);
  framework::ReadComponentFrom(input, &root);
  translator::TLxTranslator* translator = tools::FindTranslator(root);
  if (translator == nullptr) return;
  dict::TLxBinaryDictionary& dictionary = Dictionary();
  dictionary.SetLanguage(1);
  translator->SetDictionary(&dictionary);
  translator->Open();
  for (int language : {2, 3, 0, 2})
    dictionary.SetLanguage(language);
  translator->Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tools::RegisterStandardClasses();
  try {
    TranslateAndSwitch(tools::BinaryFormOf(std::vector<std::uint8_t>(data, data + size)));
  } catch (const platform::Exception&) {
    // Refused with a message.
  }
  return 0;
}
