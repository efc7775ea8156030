// The executable's resources: named byte blocks linked into the program.
//
// A resource is found by type and name, both compared without regard to
// ASCII case, as Windows does. The build links resources in with the CMake
// function `lx_add_resource` (cmake/LxResources.cmake); each one registers
// itself here before `main` runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lx::platform {

/// Resource types the system uses.
inline constexpr std::string_view RT_RCDATA = "RCDATA";  // form resources
inline constexpr std::string_view RT_CURSOR = "CURSOR";
inline constexpr std::string_view RT_STRING = "STRING";  // string tables

/// A loaded program module. This system consists of one module, the executable.
using HMODULE = std::uintptr_t;
HMODULE MainModule();

/// Registers a resource of the main module; a later registration of the same
/// type and name replaces the earlier one. `bytes` must outlive the program
/// (linked data does).
void RegisterResource(std::string_view type, std::string_view name,
                      std::span<const std::uint8_t> bytes);

/// Removes a registration; true when there was one.
bool UnregisterResource(std::string_view type, std::string_view name);

/// The bytes of a resource, or nothing when `module` holds no such resource.
std::optional<std::span<const std::uint8_t>> FindResource(HMODULE module, std::string_view type,
                                                          std::string_view name);

}  // namespace lx::platform
