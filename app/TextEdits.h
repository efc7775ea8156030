// What probe's edit mode corrects: a caption its translator translated, in the PO file of
// the window's language, and at once in the running window.
//
// probe's PO files lie in one folder (`po/` beside probe, or `probe --po DIR`), one per
// language and named as `lxpo export` names them ("de.po", or "de_AT.po" when there is one).
#pragma once

#include <map>
#include <optional>
#include <string>

#include "app/PoUpdate.h"
#include "dict/LxBinDic.h"
#include "framework/controls/Controls.h"
#include "translator/LxPoly.h"

namespace lx::app {

/// A caption as the translator translated it: the look-up's key and texts (native text in
/// the native code page, the translation as the control shows it).
struct TTranslatedText {
  std::string context;  // the root's class name
  std::string id;       // the component's name
  std::string native;
  std::string translation;
};

/// The caption `translator` translated into `control` (a form: its own caption); nullopt when
/// it translated none there.
std::optional<TTranslatedText> TranslatedCaption(const translator::TLxTranslator& translator,
                                                 const framework::TControl& control);

class TPoFolder {
 public:
  explicit TPoFolder(std::string folder) : folder_(std::move(folder)) {}

  /// The PO file of `language` in the folder.
  std::string FileOf(const lang::TLxLanguage& language) const;
  /// The PO entry of `text` in the active language's file, as UTF-8; remembered, so that a
  /// later Save can tell another program's change of the file.
  TPoText Read(const dict::TLxBinaryDictionary& dictionary, const TTranslatedText& text);
  /// Writes `utf8` as the translation of `text` into the active language's PO file and gives
  /// the dictionary the same text (PatchTranslation): empty when done, else the reason, with
  /// neither changed.
  std::string Save(dict::TLxBinaryDictionary& dictionary, const TTranslatedText& text,
                   const std::string& utf8);

 private:
  struct TPoKey {
    std::string file, msgctxt, msgid;
  };
  TPoKey KeyOf(const dict::TLxBinaryDictionary& dictionary, const TTranslatedText& text) const;

  std::string folder_;
  std::map<std::string, TPoText> read_;  // by file, msgctxt and msgid
};

/// `text` from code page `codePage` to UTF-8, and back; nullopt when it cannot be carried.
std::string ToUtf8(const std::string& text, int codePage);
std::optional<std::string> FromUtf8(const std::string& utf8, int codePage);

}  // namespace lx::app
