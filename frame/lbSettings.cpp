#include "frame/lbSettings.h"

#include <algorithm>
#include <utility>

#include "frame/lbPaths.h"
#include "platform/ProfileFile.h"
#include "platform/ProfileWriter.h"

namespace lx::frame {

namespace {

std::optional<StoredLanguage>& Override() {
  static std::optional<StoredLanguage> choice;
  return choice;
}

}  // namespace

void OverrideStoredLanguage(std::optional<StoredLanguage> choice) {
  Override() = std::move(choice);
}

StoredLanguage ReadStoredLanguage(std::size_t maxNameLength) {
  if (const std::optional<StoredLanguage>& choice = Override()) {
    StoredLanguage stored = *choice;
    stored.name.resize(std::min(stored.name.size(), maxNameLength));
    return stored;
  }
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

bool StoreLanguage(const StoredLanguage& choice) {
  return StoreLanguageTo(SettingsFileName(), choice);
}

bool StoreLanguageTo(std::string_view settingsFile, const StoredLanguage& choice) {
  if (settingsFile.empty()) return false;
  return platform::WriteProfileValues(
      settingsFile, "language",
      {{"activeName", choice.name}, {"activeId", std::to_string(choice.id)}});
}

}  // namespace lx::frame
