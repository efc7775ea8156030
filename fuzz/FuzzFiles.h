// Files for the fuzz targets whose readers take a path: a folder of the process's own,
// made at the first use and removed at exit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lx::fuzz {

/// The folder's path with a trailing separator.
const std::string& FuzzFolder();

/// Writes `size` bytes at `data` to `name` in the folder and gives the file's path.
std::string WriteFuzzFile(std::string_view name, const std::uint8_t* data, std::size_t size);
std::string WriteFuzzFile(std::string_view name, std::string_view text);

}  // namespace lx::fuzz
