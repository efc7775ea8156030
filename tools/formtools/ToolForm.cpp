#include "formtools/ToolForm.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>

#include "framework/core/ScopeExit.h"
#include "framework/streaming/LoadedList.h"
#include "framework/streaming/StandIns.h"
#include "platform/Exception.h"
#include "platform/TextUtils.h"
#include "toolfiles/ToolFiles.h"
#include "translator/LxPoly.h"

namespace lx::tools {

platform::CodePage TextCodePageOf(const std::string& path, const std::vector<std::uint8_t>& bytes,
                                  const TFormOptions& options) {
  if (options.codePage) return *options.codePage;
  const bool bom = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
  const std::string extension = std::filesystem::path(path).extension().string();
  return !bom && platform::SameTextAscii(extension, ".dfm") ? 1252 : platform::CP_UTF8;
}

namespace {

namespace fs = std::filesystem;

std::unique_ptr<framework::TTolerantForm> FormOf(const std::string& path,
                                                 const std::vector<std::uint8_t>& bytes,
                                                 const TFormOptions& options) {
  return framework::TTolerantForm::FromSource(bytes, TextCodePageOf(path, bytes, options));
}

// Loaded as the program loads it (automatic hot keys and the like), except that no
// translator opens itself with whatever dictionary the tool has open: the snapshot is the
// form before any pass.
void NotifyLoadedUnopened(framework::TComponent& root, framework::TLoadedList& loaded) {
  std::vector<std::pair<translator::TLxTranslator*, translator::TLxTranslatorOptions>> held;
  for (int i = 0; i < root.ComponentCount(); ++i) {
    if (auto* found = dynamic_cast<translator::TLxTranslator*>(root.Components(i))) {
      held.emplace_back(found, found->Options());
      translator::TLxTranslatorOptions options = found->Options();
      options.Exclude(translator::lxtoAutoOpen);
      found->SetOptions(options);
    }
  }
  loaded.NotifyLoaded();
  for (auto& [found, options] : held)
    found->SetOptions(options);
}

using FormIndex = std::map<std::string, std::string>;  // lower-case root class -> file

bool IsFormFileName(const fs::path& path) {
  const std::string extension = path.extension().string();
  for (const char* kind : {".lfm", ".dfm", ".lxfm", ".xfm", ".fmx"})
    if (platform::SameTextAscii(extension, kind)) return true;
  return false;
}

// The root class of a form file without reading the whole form: the first object line of a
// text form, the header of a binary one; empty when neither.
std::string RootClassOfFile(const std::string& file, const TFormOptions& options) {
  try {
    const std::vector<std::uint8_t> bytes = ReadInputFile(file);
    if (framework::TTolerantForm::IsBinary(bytes))
      return framework::TTolerantForm::FromBinary(bytes)->RootClassName();
    static const std::regex kObject(R"(^\s*(?:object|inherited|inline)\s+(?:\w+\s*:\s*)?(\w+))",
                                    std::regex::icase);
    std::string text(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 4096));
    std::smatch match;
    if (std::regex_search(text, match, kObject)) return match[1];
  } catch (const std::exception&) {
  }
  (void)options;
  return {};
}

bool RootIsInherited(const std::string& file, const TFormOptions& options) {
  try {
    return FormOf(file, ReadInputFile(file), options)->RootInherited();
  } catch (const std::exception&) {
    return false;
  }
}

// The forms beside `file` and the ancestors given, by root class, made once per folder.
const FormIndex& FormsBeside(const std::string& file, const TFormOptions& options) {
  static std::map<std::string, FormIndex> byFolder;
  const fs::path folder = fs::absolute(fs::path(file)).parent_path();
  std::string key = folder.string();
  for (const std::string& ancestor : options.ancestors)
    key += '\n' + ancestor;
  auto [place, added] = byFolder.try_emplace(key);
  if (!added) return place->second;
  for (const std::string& ancestor : options.ancestors)
    place->second.emplace(platform::LowerCaseAscii(RootClassOfFile(ancestor, options)), ancestor);
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_symlink() || !entry.is_regular_file() || !IsFormFileName(entry.path())) continue;
    const std::string name = entry.path().string();
    const std::string same = (fs::path(file).parent_path() / entry.path().filename()).string();
    place->second.emplace(platform::LowerCaseAscii(RootClassOfFile(name, options)), same);
  }
  return place->second;
}

// The parent class that the Pascal unit beside `form` declares for `className`.
std::string DeclaredParent(const std::string& form, const std::string& className) {
  for (const char* extension : {".pas", ".pp"}) {
    fs::path unit = fs::path(form).replace_extension(extension);
    std::error_code error;
    if (!fs::is_regular_file(unit, error)) continue;
    try {
      const std::vector<std::uint8_t> bytes = ReadInputFile(unit.string());
      const std::string text(bytes.begin(), bytes.end());
      const std::regex declaration("\\b" + className + "\\s*=\\s*class\\s*\\(\\s*(\\w+)",
                                   std::regex::icase);
      std::smatch match;
      if (std::regex_search(text, match, declaration)) return match[1];
    } catch (const std::exception&) {
    }
  }
  return {};
}

}  // namespace

TToolForm::TToolForm(const std::string& path, const std::vector<std::uint8_t>& bytes,
                     const TFormOptions& options)
    : path_(path),
      options_(options),
      form_(FormOf(path, bytes, options)),
      loaded_(std::make_unique<framework::TLoadedList>()) {
  RegisterStandardClasses();
  root_ = std::make_unique<TStandInForm>(form_->RootClassName());
  if (form_->RootInherited()) {
    std::vector<std::string> ancestors = options.ancestors;
    if (ancestors.empty()) ancestors = AncestorsOf(form_->RootClassName());
    if (ancestors.empty()) {
      notes_.push_back("the ancestor of " + form_->RootClassName() +
                       " is missing (give its form with --ancestor): its inherited components"
                       " are read as they stand");
    }
    for (const std::string& ancestor : ancestors) {
      ancestors_.push_back(FormOf(ancestor, ReadInputFile(ancestor), options));
      ancestors_.back()->SetStandInFactory(
          [this](const std::string& name, framework::TComponent* owner) {
            return ReadFrame(name, owner);
          });
      ancestors_.back()->ReadInto(*root_, loaded_.get());
    }
  }
  form_->SetStandInFactory([this](const std::string& name, framework::TComponent* owner) {
    return ReadFrame(name, owner);
  });
  form_->ReadInto(*root_, loaded_.get());
  NotifyLoadedUnopened(*root_, *loaded_);
  form_->Snapshot();
}

// A frame's stand-in holds what the frame's own form holds, so that its inline use finds
// its inherited components.
framework::TComponent* TToolForm::ReadFrame(const std::string& className,
                                            framework::TComponent* owner) {
  const std::string* file = FormOfClass(className);
  if (file == nullptr || std::find(framesBeingRead_.begin(), framesBeingRead_.end(), className) !=
                             framesBeingRead_.end())
    return nullptr;
  framesBeingRead_.push_back(className);
  const framework::TScopeExit done([this] { framesBeingRead_.pop_back(); });
  auto frame = std::make_unique<framework::TStandInComponent>(className, owner);
  auto source = FormOf(*file, ReadInputFile(*file), options_);
  source->SetStandInFactory([this](const std::string& name, framework::TComponent* inner) {
    return ReadFrame(name, inner);
  });
  source->ReadInto(*frame, loaded_.get());
  ancestors_.push_back(std::move(source));
  return frame.release();
}

// "TForm2 = class(TForm1)" in the unit beside the form, then TForm1's own ancestors.
std::vector<std::string> TToolForm::AncestorsOf(const std::string& className) {
  std::vector<std::string> chain;
  std::string current = className;
  for (int depth = 0; depth < 16; ++depth) {
    const std::string* file = depth == 0 ? &path_ : FormOfClass(current);
    if (file == nullptr) break;
    const std::string parent = DeclaredParent(*file, current);
    const std::string* ancestor = parent.empty() ? nullptr : FormOfClass(parent);
    if (ancestor == nullptr) break;
    chain.insert(chain.begin(), *ancestor);
    if (!RootIsInherited(*ancestor, options_)) break;
    current = parent;
  }
  return chain;
}

const std::string* TToolForm::FormOfClass(const std::string& className) {
  const FormIndex& index = FormsBeside(path_, options_);
  const auto found = index.find(platform::LowerCaseAscii(className));
  return found != index.end() && found->second != path_ ? &found->second : nullptr;
}

TToolForm::~TToolForm() {
  // The root and its components go before the records that point at them.
  root_.reset();
}

translator::TLxTranslator& TToolForm::Translator() {
  translator::TLxTranslator* found = FindTranslator(*root_);
  if (found == nullptr) found = new translator::TLxTranslator(root_.get());  // owned by the root
  return *found;
}

void TToolForm::TranslateTexts() {
  using namespace translator;
  TLxTranslator& formTranslator = Translator();
  const TLxTranslatorOptions options = formTranslator.Options();
  const TLxCharsetChange charsetChange = formTranslator.CharsetChange();
  const bool defaultTargets = formTranslator.Targets()->Count() == 0;
  if (defaultTargets) formTranslator.Targets()->AddDefaults();
  TLxTranslatorOptions textsOnly = options;
  for (TLxTranslatorOption adaptation :
       {lxtoCheckFont, lxtoScaleMultiByte, lxtoMirrorBiDirectional, lxtoChangeFontCharset,
        lxtoUpdateLocaleProperty, lxtoForceCharsetChange})
    textsOnly.Exclude(adaptation);
  formTranslator.SetOptions(textsOnly);
  formTranslator.SetCharsetChange(lxccDisabled);
  formTranslator.Open();
  formTranslator.SetOptions(options);
  formTranslator.SetCharsetChange(charsetChange);
  if (defaultTargets) formTranslator.Targets()->Clear();
}

}  // namespace lx::tools
