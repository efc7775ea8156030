// Conversions between the UTF-8 of image descriptions and the texts of images.
#pragma once

#include <string>
#include <string_view>

namespace lx::tools::detail {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
/// "code page N is not installed" unless it is.
void CheckCodePage(int codePage);

}  // namespace lx::tools::detail
