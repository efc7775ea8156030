#include <algorithm>
#include <numeric>

#include "platform/CodePages.h"
#include "pldimage/PldImage.h"
#include "pldimage/PldText.h"

namespace lx::tools {

namespace {

// A text as the reader takes it from an 8-bit image: the bytes of the code page.
std::string ImageBytes(const std::string& text, platform::CodePage codePage) {
  if (text.empty()) return text;
  return platform::WideToMultiByte(detail::Utf8ToUtf16(text), codePage);
}

// The text the reader's table sorts a record by: the native text, and with key strings
// character 127, the context and the id that the content flags carry.
std::string SortText(const PldTranslation& translation, int contentFlags,
                     platform::CodePage codePage) {
  std::string text = ImageBytes(translation.texts.empty() ? "" : translation.texts[0], codePage);
  if (contentFlags == 0) return text;
  text += '\x7F';
  if (contentFlags == 1 || contentFlags == 3) text += ImageBytes(translation.context, codePage);
  if (contentFlags == 1 || contentFlags == 2) text += ImageBytes(translation.id, codePage);
  return text;
}

}  // namespace

void SortTranslationsByKey(PldImage& image) {
  const int textCodePage = EffectiveTextCodePage(image);
  try {
    detail::CheckCodePage(textCodePage);
  } catch (const PldImageError&) {
    return;  // the writer tells why it cannot write the image
  }
  const auto codePage = static_cast<platform::CodePage>(textCodePage);
  std::vector<std::string> texts;
  texts.reserve(image.translations.size());
  for (const PldTranslation& translation : image.translations)
    texts.push_back(SortText(translation, image.contentFlags, codePage));
  std::vector<std::size_t> order(texts.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(),
            [&texts](std::size_t a, std::size_t b) { return texts[a] < texts[b]; });
  // Among equal keys the reader's own sort decides which one answers, and it starts from
  // the order of the image: keep that order.
  const auto same = [&texts](std::size_t a, std::size_t b) { return texts[a] == texts[b]; };
  if (std::adjacent_find(order.begin(), order.end(), same) != order.end()) return;
  std::vector<PldTranslation> sorted;
  sorted.reserve(order.size());
  for (const std::size_t index : order)
    sorted.push_back(std::move(image.translations[index]));
  image.translations = std::move(sorted);
}

std::vector<std::uint8_t> WritePldImageInKeyOrder(const PldImage& image) {
  PldImage sorted = image;
  SortTranslationsByKey(sorted);
  try {
    return WritePldImage(sorted);
  } catch (const PldImageError&) {
    // Sorted, a record would be named by its new place: fail as the image stands.
    WritePldImage(image);
    throw;
  }
}

}  // namespace lx::tools
