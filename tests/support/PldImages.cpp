#include "support/PldImages.h"

namespace lx::support {

tools::PldImage SampleImage() {
  return tools::SamplePldImage();
}

std::unique_ptr<framework::TMemoryStream> ImageStream(const std::vector<std::uint8_t>& bytes) {
  return std::make_unique<framework::TMemoryStream>(bytes);
}

std::unique_ptr<framework::TMemoryStream> ImageStream(const tools::PldImage& image) {
  return ImageStream(tools::WritePldImage(image));
}

}  // namespace lx::support
