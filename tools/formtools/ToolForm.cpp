#include "formtools/ToolForm.h"

#include <filesystem>

#include "framework/streaming/LoadedList.h"
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

}  // namespace

TToolForm::TToolForm(const std::string& path, const std::vector<std::uint8_t>& bytes,
                     const TFormOptions& options)
    : form_(FormOf(path, bytes, options)) {
  RegisterStandardClasses();
  root_ = std::make_unique<TStandInForm>(form_->RootClassName());
  framework::TLoadedList loaded;
  if (form_->RootInherited()) {
    if (options.ancestors.empty()) {
      notes_.push_back("the ancestor of " + form_->RootClassName() +
                       " is missing (give its form with --ancestor): its inherited components"
                       " are read as they stand");
    }
    for (const std::string& ancestor : options.ancestors) {
      ancestors_.push_back(FormOf(ancestor, ReadInputFile(ancestor), options));
      ancestors_.back()->ReadInto(*root_, &loaded);
    }
  }
  form_->ReadInto(*root_, &loaded);
  NotifyLoadedUnopened(*root_, loaded);
  form_->Snapshot();
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
