// Dictionary images for tests, written by the image writer (tools/pldimage).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Streams.h"
#include "pldimage/PldImage.h"

namespace lx::support {

/// Three languages (native with primary 0, German with code page 1252, Russian with 1251),
/// four translations keyed by context and id (content flags 1) of which some lack a text,
/// and one custom locale (German, Austria). Version 3, little-endian, 8-bit texts unless
/// changed afterwards.
tools::PldImage SampleImage();

/// A memory stream holding `bytes`, ready for `OpenStream`.
std::unique_ptr<framework::TMemoryStream> ImageStream(const std::vector<std::uint8_t>& bytes);
std::unique_ptr<framework::TMemoryStream> ImageStream(const tools::PldImage& image);

}  // namespace lx::support
