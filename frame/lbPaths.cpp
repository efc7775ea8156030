#include "frame/lbPaths.h"

#include <filesystem>
#include <system_error>

#include "framework/runtime/FormatSettings.h"
#include "platform/TextUtils.h"

namespace lx::frame {

using platform::kNativePathStyle;

namespace {

struct CompanionFiles {
  std::string executable;
  std::string settingsFile;
  std::string scratchFolder;
  platform::HeldFolder scratchHeld;
  std::string scratchParent;  // made by this process, removed with the scratch folder
};

CompanionFiles& Companions() {
  static CompanionFiles companions;
  return companions;
}

std::string Fitted(std::string path) {
  return path.size() <= kMaxPathLength ? path : std::string();
}

// Separator runs collapse to one; a leading pair survives.
std::string CollapseSeparators(std::string_view path, char separator) {
  std::string result;
  const bool networkPath = path.size() >= 2 && path[0] == separator && path[1] == separator;
  for (char c : path) {
    if (c == separator && !result.empty() && result.back() == separator) continue;
    result += c;
  }
  if (networkPath) result.insert(result.begin(), separator);
  return result;
}

enum class CaseMapping { Upper, Lower };

std::string NormalizeFolderAs(std::string_view path, PathStyle style, CaseMapping mapping) {
  if (path.empty()) return std::string();
  std::string folder(path);
  if (style == PathStyle::Windows) {
    folder = mapping == CaseMapping::Upper ? platform::UpperCaseAscii(folder)
                                           : platform::LowerCaseAscii(folder);
  }
  folder = platform::IncludeTrailingSeparator(folder, style);
  return Fitted(CollapseSeparators(folder, platform::PathSeparator(style)));
}

std::string CompanionFile(std::string_view executable, std::string_view extension,
                          PathStyle style) {
  if (executable.empty()) return std::string();
  std::string path = PathWithoutExtension(executable, style) + std::string(extension);
  if (style == PathStyle::Windows) path = platform::LowerCaseAscii(path);
  return Fitted(std::move(path));
}

// Where the scratch folder goes: the folder made for this process alone (held while it
// runs, so that no other instance takes it for a leftover), and the folder made to hold it.
struct Scratch {
  platform::HeldFolder held;
  std::string madeParent;
};

// Leftovers of instances killed before their exit go first; then a folder of our own.
platform::HeldFolder HeldFolderIn(const std::string& parent, const std::string& name) {
  platform::RemoveStaleFolders(parent, name);
  platform::HeldFolder held = platform::HeldFolder::Create(parent, name);
  if (!held.Path().empty() && held.Path().size() >= kMaxPathLength) {
    platform::RemoveFolder(held.Path());  // too long to name; ours and still empty
    held.Release();
  }
  return held;
}

// Beside the executable, "temp" may already be there (the user's own copy of the
// program); it is used only when it is the user's and no link.
Scratch ScratchBesideExecutable(std::string_view executable) {
  Scratch scratch;
  const std::vector<std::string> candidates =
      ScratchFolderCandidates(executable, kNativePathStyle, std::string_view());
  if (candidates.empty()) return scratch;
  std::string parent = candidates.front();
  parent.pop_back();
  const std::string name = platform::ExtractFileName(parent, kNativePathStyle);
  parent.resize(parent.size() - name.size() - 1);
  bool created = false;
  if (!platform::CreateOwnFolderTree(parent, &created)) return scratch;
  scratch.held = HeldFolderIn(parent, name);
  if (created && scratch.held.Path().empty()) platform::RemoveFolder(parent);
  if (created && !scratch.held.Path().empty()) scratch.madeParent = parent;
  return scratch;
}

// A folder in a temporary root, so that neither another instance nor another user shares it.
Scratch PrivateScratchFolder(std::string_view executable) {
  Scratch scratch;
  const std::string name =
      PathWithoutExtension(platform::ExtractFileName(executable, kNativePathStyle));
  if (name.empty()) return scratch;
  for (const std::string& root : platform::PrivateTemporaryRoots()) {
    scratch.held = HeldFolderIn(root, name);
    if (!scratch.held.Path().empty()) break;
  }
  return scratch;
}

Scratch MakeScratchFolder(std::string_view executable) {
  Scratch scratch = ScratchBesideExecutable(executable);
  return scratch.held.Path().empty() ? PrivateScratchFolder(executable) : std::move(scratch);
}

// The scratch folder and companion files need a full path.
std::string AbsoluteExecutable(std::string_view executable) {
  if (executable.empty() || executable.starts_with('/')) return std::string(executable);
  std::error_code error;
  const std::string current = std::filesystem::current_path(error).string();
  if (error || current.empty()) return std::string(executable);
  while (executable.starts_with("./"))
    executable.remove_prefix(2);
  return current + (current.ends_with('/') ? "" : "/") + std::string(executable);
}

}  // namespace

std::string PathWithoutExtension(std::string_view path, PathStyle style) {
  return platform::ChangeFileExt(path, "", style);
}

std::string NormalizeFolder(std::string_view path, PathStyle style) {
  return NormalizeFolderAs(path, style, CaseMapping::Upper);
}

std::string ForceFolder(std::string_view path, PathStyle style) {
  std::string folder = NormalizeFolderAs(path, style, CaseMapping::Lower);
  if (!folder.empty() && style == kNativePathStyle && !platform::DirectoryExists(folder)) {
    platform::CreateFolderTree(folder);
  }
  return folder;
}

std::string WindowsFolder(PathStyle style) {
  return NormalizeFolder(platform::WindowsFolderOfSystem(), style);
}

void ListFolder(framework::TStrings& list, std::string_view pattern,
                platform::FileAttributes attributes) {
  list.BeginUpdate();
  list.Clear();
  for (const platform::FoundEntry& entry : platform::FindFiles(pattern, attributes)) {
    if (!entry.name.starts_with('.')) list.Add(entry.name);
  }
  list.EndUpdate();
}

bool RemoveFolderTree(std::string_view folder) {
  const std::string base = NormalizeFolder(folder);
  if (base.empty()) return false;
  return platform::RemoveFolderTreeByDescriptor(
      base, [](std::string_view name) { return name.starts_with('.'); });
}

std::string SettingsFileFor(std::string_view executable, PathStyle style) {
  return CompanionFile(executable, ".ini", style);
}

std::string DictionaryFileFor(std::string_view executable, PathStyle style) {
  return CompanionFile(executable, ".pld", style);
}

std::vector<std::string> ScratchFolderCandidates(std::string_view executable, PathStyle style,
                                                 std::string_view windowsFolder) {
  std::vector<std::string> candidates;
  const std::string name =
      PathWithoutExtension(platform::ExtractFileName(executable, style), style);
  if (name.empty()) return candidates;
  const char separator = platform::PathSeparator(style);
  const std::string inTemp = std::string(1, separator) + "temp" + separator + name;
  const auto add = [&](const std::string& path) {
    std::string folder = NormalizeFolderAs(NormalizeFolder(path, style), style, CaseMapping::Lower);
    if (!folder.empty()) candidates.push_back(std::move(folder));
  };
  add(platform::ExtractFilePath(executable, style) + inTemp);
  if (style == PathStyle::Windows && !windowsFolder.empty()) {
    add(std::string(windowsFolder) + inTemp);
  }
  return candidates;
}

void InitializeCompanionFiles() {
  InitializeCompanionFiles(platform::ExecutablePath());
}

void InitializeCompanionFiles(std::string_view executable) {
  CompanionFiles& companions = Companions();
  try {
    companions.executable = AbsoluteExecutable(executable);
    companions.settingsFile = SettingsFileFor(companions.executable);
    // The folder held so far stays held until the new one is made: it is no leftover.
    Scratch scratch = MakeScratchFolder(companions.executable);
    companions.scratchFolder = scratch.held.Path().empty() ? "" : scratch.held.Path() + '/';
    companions.scratchHeld = std::move(scratch.held);
    companions.scratchParent = std::move(scratch.madeParent);
    framework::FormatSettings().LongTimeFormat = "hh:nn:ss";
    framework::FormatSettings().ShortDateFormat = "dd/mm/yyyy";
  } catch (...) {
    // Start-up goes on with whatever could be set up.
  }
}

void FinalizeCompanionFiles() {
  CompanionFiles& companions = Companions();
  try {
    if (!companions.scratchFolder.empty() && platform::DirectoryExists(companions.scratchFolder)) {
      RemoveFolderTree(companions.scratchFolder);
    }
    // Only when empty: another instance may have its folder there too.
    if (!companions.scratchParent.empty()) platform::RemoveFolder(companions.scratchParent);
  } catch (...) {
    // Leftovers in the scratch folder are not worth stopping the exit for.
  }
  companions.scratchHeld.Release();
  companions.scratchParent.clear();
  companions.scratchFolder.clear();
}

const std::string& ExecutableFileName() {
  return Companions().executable;
}
const std::string& SettingsFileName() {
  return Companions().settingsFile;
}
const std::string& ScratchFolder() {
  return Companions().scratchFolder;
}

std::string DefaultDictionaryFile() {
  std::string file = DictionaryFileFor(Companions().executable);
  return !file.empty() && platform::RegularFileExists(file) ? file : std::string();
}

}  // namespace lx::frame
