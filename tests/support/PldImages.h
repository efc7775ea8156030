// Dictionary images for tests, written by the image writer (tools/pldimage).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/streaming/Streams.h"
#include "pldimage/PldImage.h"

namespace lx::support {

/// `tools::SamplePldImage()`.
tools::PldImage SampleImage();

/// `SampleImage()` (native, German, Russian; keyed) with a text with a count: "%d file"
/// (context "TMainForm", id "FilesLabel"), translated "%d Datei" and "%d файл", and its
/// plural variants: "one" and "other" natively and in German ("%d Dateien"), "one", "few"
/// ("%d файла") and "many" ("%d файлов") in Russian.
tools::PldImage PluralImage();

/// A memory stream holding `bytes`, ready for `OpenStream`.
std::unique_ptr<framework::TMemoryStream> ImageStream(const std::vector<std::uint8_t>& bytes);
std::unique_ptr<framework::TMemoryStream> ImageStream(const tools::PldImage& image);

}  // namespace lx::support
