// The user's stored choice of language, read from the settings file.
//
// Section "language": "activeId" is the position of the language in the
// dictionary (0, the native language, when absent or not a whole number);
// "activeName" its English name ("Native" when absent). It is read once at
// start-up, and nothing is reported when it is missing or unreadable; a
// choice the user makes later is stored back into it for the next start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lx::frame {

struct StoredLanguage {
  std::int32_t id = 0;
  std::string name = "Native";
};

/// Reads the pair from `SettingsFileName`, or gives the override when one is
/// set; the name is cut to `maxNameLength`.
StoredLanguage ReadStoredLanguage(std::size_t maxNameLength);
/// The same from a given settings file.
StoredLanguage ReadStoredLanguageFrom(std::string_view settingsFile, std::size_t maxNameLength);

/// Stores `choice` as "activeName" and "activeId" of section "language" in
/// `SettingsFileName`, keeping every other line of the file; the file is
/// replaced whole, never half written. False when it could not be stored.
/// Never raises.
bool StoreLanguage(const StoredLanguage& choice);
/// The same into a given settings file.
bool StoreLanguageTo(std::string_view settingsFile, const StoredLanguage& choice);

/// A choice that stands in for the settings file for the rest of the run (a
/// program's command line sets it); nothing clears it.
void OverrideStoredLanguage(std::optional<StoredLanguage> choice);

}  // namespace lx::frame
