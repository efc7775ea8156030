// Many forms in one command: the form files of folders, and a translated copy of each.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "formtools/ToolForm.h"

namespace lx::dict {
class TLxBinaryDictionary;
}

namespace lx::tools {

/// A form file to read and the name it goes by (its path below the folder it was found in,
/// or its file name when given itself).
struct TFormFile {
  std::string path;
  std::string name;
  bool inFolder = false;  // found by walking a folder
};

/// The forms of `inputs`: a file as it is, a folder walked (links not followed) for files of
/// the kinds the tools read (".lfm", ".dfm", ".lxfm", ".xfm", ".fmx"), in name order.
std::vector<TFormFile> FormFilesOf(const std::vector<std::string>& inputs);

/// The dictionary image `file` opened in `language` for the tools' passes; raises
/// ToolFileError naming the file when it cannot be used.
void OpenToolDictionary(dict::TLxBinaryDictionary& dictionary, const std::string& file,
                        int language);

/// What one pass did to a form: its texts and how many of them it translated.
struct TPassCount {
  int texts = 0;
  int translated = 0;
};
/// Lets the form's translator translate it with `dictionary`.
TPassCount TranslateToolForm(TToolForm& form, dict::TLxBinaryDictionary& dictionary);

/// What a batch did.
struct TBatchSummary {
  int forms = 0;
  int texts = 0;
  int translated = 0;
  int failed = 0;
  /// "forms 10, texts 120, translated 118, left alone 2, failed 0"
  std::string Text() const;
};

/// Translates every form of `files` with `dictionary` and writes each, in its own kind, to
/// `outputDir` under its name, then the summary to "summary.txt" there. A form that fails is
/// reported on `errors` in one line ("FILE:LINE: error: REASON", or "FILE: error: REASON")
/// and the others go on.
TBatchSummary TranslateForms(const std::vector<TFormFile>& files,
                             dict::TLxBinaryDictionary& dictionary, const std::string& outputDir,
                             const TFormOptions& options, std::ostream& errors);

/// The file name of the picture of form `formName` (its name among the forms, "Main.lxfm") in
/// a language with the ISO codes `isoLanguage` and `isoCountry`: "Main.de_DE.png", and
/// "Main.native.png" for a language without a code (the native one).
std::string FormPictureName(const std::string& formName, const std::string& isoLanguage,
                            const std::string& isoCountry);

/// The one-line reason of the exception being handled, for `file`.
std::string FailureLine(const std::string& file);

}  // namespace lx::tools
