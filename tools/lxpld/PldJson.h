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
/// PldImageError naming the place of what is wrong ("languages[1].codePage: ..."), the
/// parser's complaint without the library's own prefix, or the nesting error of
/// `CheckJsonNesting`.
PldImage ImageFromJson(std::string_view text);

/// The most arrays and objects a JSON source may nest in one another; images need four.
inline constexpr int kMaxJsonNesting = 100;

/// Raises PldImageError "arrays and objects nested deeper than 100 levels" for a JSON text
/// that nests deeper, before any parser recurses into it.
void CheckJsonNesting(std::string_view text);

/// A message of the JSON library (`what()` of its exceptions) as a user reads it: without
/// the "[json.exception...]" prefix and with the input it quotes cut to an excerpt.
std::string JsonMessage(std::string_view what);

}  // namespace lx::tools
