// The JSON form of dictionary images that lxpld builds from and dumps to
// (docs/lxpld-json.md describes it).
#pragma once

#include <string>
#include <string_view>

#include "pldimage/PldImage.h"

namespace lx::tools {

/// The image as JSON text, every field written out, so that `ImageFromJson` of it
/// describes the same image.
std::string ImageToJson(const PldImage& image);

/// The image a JSON text describes; fields left out keep their defaults. Raises
/// PldImageError naming the place of what is wrong ("languages[1].codePage: ...").
PldImage ImageFromJson(std::string_view text);

}  // namespace lx::tools
