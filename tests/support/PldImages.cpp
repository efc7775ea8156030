#include "support/PldImages.h"

namespace lx::support {

tools::PldImage SampleImage() {
  return tools::SamplePldImage();
}

tools::PldImage PluralImage() {
  tools::PldImage image = tools::SamplePldImage();
  tools::PldTranslation& files = image.translations.emplace_back();
  files.texts = {"%d file", "%d Datei", "%d файл"};
  files.context = "TMainForm";
  files.id = "FilesLabel";
  files.variantKind = tools::PldVariantKind::Plural;
  files.variants = {{"one", {"%d file", "%d Datei", "%d файл"}},
                    {"few", {"", "", "%d файла"}},
                    {"many", {"", "", "%d файлов"}},
                    {"other", {"%d files", "%d Dateien", ""}}};
  return image;
}

std::unique_ptr<framework::TMemoryStream> ImageStream(const std::vector<std::uint8_t>& bytes) {
  return std::make_unique<framework::TMemoryStream>(bytes);
}

std::unique_ptr<framework::TMemoryStream> ImageStream(const tools::PldImage& image) {
  return ImageStream(tools::WritePldImage(image));
}

}  // namespace lx::support
