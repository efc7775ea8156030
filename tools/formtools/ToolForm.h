// A form as the tools read it: tolerantly, into a stand-in root of the stored class name, with
// its ancestor forms first when it is inherited, and ready to be written back as it stood.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formtools/StandInForm.h"
#include "framework/streaming/LoadedList.h"
#include "framework/streaming/TolerantForm.h"
#include "platform/CodePages.h"

namespace lx::translator {
class TLxTranslator;
}

namespace lx::tools {

/// How the tools read forms.
///
/// Ancestors: an inherited form ("inherited" at the top) is read after the forms given in
/// `ancestors`, in their order; without any, its ancestor is found by its class: the Pascal
/// unit beside the form (same name, ".pas" or ".pp") declares "TForm2 = class(TForm1)", and the
/// form of root class TForm1 is looked for among the forms beside it (and so on for its own
/// ancestor). A frame ("inline Frame1: TFrame1") is read from the form of root class TFrame1
/// among `ancestors` and the forms beside. What is not found is read as it stands.
struct TFormOptions {
  /// The code page of text forms; by default UTF-8, and 1252 for a ".dfm" without a UTF-8
  /// byte-order mark (Delphi saves text forms in the system's ANSI code page).
  std::optional<platform::CodePage> codePage;
  /// Forms that inherited forms derive from, the oldest first, and forms of frames.
  std::vector<std::string> ancestors;
};

/// One form read by the tools.
class TToolForm {
 public:
  /// Reads `bytes`, the content of the file `path`. Raises the reader's and the parser's
  /// errors. An inherited form without ancestors is read as it stands, with the note "the
  /// ancestor of <class> is missing (give its form with --ancestor): ...".
  TToolForm(const std::string& path, const std::vector<std::uint8_t>& bytes,
            const TFormOptions& options);
  ~TToolForm();

  TStandInForm& Root() { return *root_; }
  framework::TTolerantForm& Form() { return *form_; }
  /// The form's translator, made when it has none.
  translator::TLxTranslator& Translator();
  /// Lets the translator translate the form's texts with the dictionary it is bound to. An
  /// empty target list takes the defaults (TLxTargetProperties::AddDefaults), as the tools
  /// translate and extract alike. Only texts change: fonts, character sets, mirroring,
  /// far-east scaling and locale properties are what the program's own translator adapts at
  /// run time, and a copy that held them would have them applied twice. The translator's
  /// own stored settings are left as they were.
  void TranslateTexts();
  /// What the reading could not do as the form wants (a missing ancestor).
  const std::vector<std::string>& Notes() const { return notes_; }

 private:
  framework::TComponent* ReadFrame(const std::string& className, framework::TComponent* owner);
  std::vector<std::string> AncestorsOf(const std::string& className);
  const std::string* FormOfClass(const std::string& className);

  std::string path_;
  TFormOptions options_;
  std::unique_ptr<framework::TTolerantForm> form_;
  std::unique_ptr<framework::TLoadedList> loaded_;
  std::vector<std::unique_ptr<framework::TTolerantForm>> ancestors_;
  std::vector<std::string> framesBeingRead_;
  std::unique_ptr<TStandInForm> root_;
  std::vector<std::string> notes_;
};

/// The code page `options` give a text form of the file `path` with content `bytes`.
platform::CodePage TextCodePageOf(const std::string& path, const std::vector<std::uint8_t>& bytes,
                                  const TFormOptions& options);

}  // namespace lx::tools
