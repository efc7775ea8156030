#include "frame/lbSettings.h"

#include <algorithm>

#include "frame/lbPaths.h"
#include "platform/ProfileFile.h"

namespace lx::frame {

StoredLanguage ReadStoredLanguage(std::size_t maxNameLength) {
  return ReadStoredLanguageFrom(SettingsFileName(), maxNameLength);
}

StoredLanguage ReadStoredLanguageFrom(std::string_view settingsFile, std::size_t maxNameLength) {
  StoredLanguage stored;
  stored.name.resize(std::min(stored.name.size(), maxNameLength));
  if (settingsFile.empty()) return stored;
  try {
    const platform::ProfileFile profile(settingsFile);
    stored.id = profile.ReadInteger("language", "activeId", 0);
    stored.name = profile.ReadString("language", "activeName", "Native").substr(0, maxNameLength);
  } catch (...) {
    // What was read so far stands; the rest keeps its initial value.
  }
  return stored;
}

}  // namespace lx::frame
