// Dictionary images are outside data: any bytes must end in a result or in one
// of the reader's own errors, never in a crash, a leak, an out-of-bounds read or
// a hang.
#include <cstdint>
#include <span>

#include "dict/LxPLDFil.h"
#include "platform/Exception.h"

namespace {

using lx::dict::TLxPLDFile;

template <typename F>
void Try(F&& query) {
  try {
    query();
  } catch (const lx::platform::Exception&) {
    // The reader's errors are the expected outcome of bad bytes.
  }
}

void ReadLanguages(TLxPLDFile& file) {
  Try([&] {
    file.SeekLanguages();
    for (int i = 0; i < file.LanguageCount(); ++i)
      file.ReadLanguage();
  });
  Try([&] { file.ReadLanguageAt(1); });
  Try([&] { file.ReadLanguageAt(file.LanguageCount() - 1); });
}

void ReadLocales(TLxPLDFile& file) {
  Try([&] {
    file.SeekLocales();
    for (int i = 0; i < file.LocaleCount(); ++i)
      file.ReadLocale();
  });
  Try([&] { file.ReadLocaleAt(file.LocaleCount() - 1); });
}

void ReadTranslations(TLxPLDFile& file) {
  struct Pair {
    int active, fallback, codePage;
  };
  const int last = file.LanguageCount() - 1;
  const Pair pairs[] = {{1, 0, 1252}, {2, 1, 1251}, {last, 1, 932}, {0, 0, 0}, {1, 1, 65001}};
  for (const Pair& pair : pairs) {
    Try([&] {
      file.SeekTranslations();
      lx::lang::TLxTranslation translation;
      for (int i = 0; i < file.TranslationCount(); ++i)
        file.ReadTranslation(translation, pair.active, pair.fallback, pair.codePage);
    });
    Try([&] {  // the texts alone, as a language switch reads them
      file.SeekTranslations();
      std::string text;
      for (int i = 0; i < file.TranslationCount(); ++i)
        file.ReadTranslationText(text, pair.active, pair.fallback, pair.codePage);
    });
  }
  Try([&] {
    file.SeekTranslations();
    lx::framework::TStringList texts;
    std::string context, id;
    for (int i = 0; i < file.TranslationCount(); ++i)
      file.ReadRawTranslation(texts, context, id);
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TLxPLDFile file;
  try {
    file.OpenStream(std::make_unique<lx::framework::TReadOnlyMemoryStream>(
        std::span<const std::uint8_t>(data, size)));
  } catch (const lx::platform::Exception&) {
    return 0;
  }
  ReadLanguages(file);
  ReadLocales(file);
  ReadTranslations(file);
  return 0;
}
