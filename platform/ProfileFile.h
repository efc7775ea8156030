// Reader of initialisation ("private profile") files: "[section]" headers and
// "key=value" lines.
//
// The rules are the ones Windows users know: section and key names match
// without regard to ASCII case, blanks around names and values are dropped, a
// value enclosed in a pair of matching quotes loses them, lines starting with ";"
// are comments, and the first matching section and key win. Nothing is ever
// written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lx::platform {

class ProfileFile {
 public:
  /// The classic read buffer holds 2048 characters, so a value keeps at most 2047.
  static constexpr std::size_t kDefaultBufferSize = 2048;

  /// The largest settings file read or written (1 MiB).
  static constexpr std::size_t kMaxSettingsFileSize = std::size_t{1} << 20;

  /// Reads the file; a missing or unreadable file reads as an empty one, and so does
  /// anything but a regular file (a FIFO, a device, a folder, also through a link) and a
  /// file larger than kMaxSettingsFileSize.
  explicit ProfileFile(std::string_view fileName);
  /// Parses text already in memory.
  static ProfileFile FromText(std::string_view text);

  /// The value of the key, cut to `bufferSize` - 1 characters, or `fallback`
  /// when the section or key is absent.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                         std::size_t bufferSize = kDefaultBufferSize) const;

  /// The value converted as a whole number (see TryStrToInt), or `fallback`.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t fallback) const;

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };

  ProfileFile() = default;
  void Parse(std::string_view text);
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

  std::vector<Section> sections_;
};

}  // namespace lx::platform
