#include "app/TextEdits.h"

#include <utility>

#include "framework/controls/Forms.h"
#include "platform/CodePages.h"
#include "platform/FileSystem.h"

namespace lx::app {

namespace {

int CodePageOr1252(int codePage) {
  return codePage == 0 ? 1252 : codePage;
}

}  // namespace

std::string ToUtf8(const std::string& text, int codePage) {
  return platform::WideToMultiByte(
      platform::MultiByteToWide(text, static_cast<platform::CodePage>(CodePageOr1252(codePage))),
      platform::CP_UTF8);
}

std::optional<std::string> FromUtf8(const std::string& utf8, int codePage) {
  const std::u16string wide = platform::MultiByteToWide(utf8, platform::CP_UTF8);
  // Damaged UTF-8 does not come back the same: it never reaches a file or a window.
  if (platform::WideToMultiByte(wide, platform::CP_UTF8) != utf8) return std::nullopt;
  const auto target = static_cast<platform::CodePage>(CodePageOr1252(codePage));
  if (!platform::CanEncode(wide, target)) return std::nullopt;
  return platform::WideToMultiByte(wide, target);
}

std::optional<TTranslatedText> TranslatedCaption(const translator::TLxTranslator& translator,
                                                 const framework::TControl& control) {
  const auto& items = translator.Table();
  for (int i = 0; i < items.Count(); ++i) {
    const translator::TLxTranslatorTableItem& item = items.Items(i);
    if (item.Control != &control || item.PropertyName != "Caption") continue;
    const framework::TCustomForm* form =
        framework::GetParentForm(const_cast<framework::TControl*>(&control));
    const auto* root = dynamic_cast<const framework::TCustomForm*>(&control);
    if (root == nullptr) root = form;
    return TTranslatedText{root != nullptr ? root->ClassName() : std::string(), item.ComponentName,
                           item.NativeText, control.Caption()};
  }
  return std::nullopt;
}

std::string TPoFolder::FileOf(const lang::TLxLanguage& language) const {
  const std::string base = folder_ + "/" + language.IsoLanguageName;
  if (!language.IsoCountryName.empty() &&
      platform::RegularFileExists(base + "_" + language.IsoCountryName + ".po"))
    return base + "_" + language.IsoCountryName + ".po";
  return base + ".po";
}

TPoFolder::TPoKey TPoFolder::KeyOf(const dict::TLxBinaryDictionary& dictionary,
                                   const TTranslatedText& text) const {
  // Without context keys the dictionary keys its texts by the native text alone, and so do
  // its PO files.
  const std::string msgctxt = dictionary.HasContextKeys() ? text.context + "|" + text.id : "";
  return {FileOf(dictionary.CurrentLanguage()), msgctxt,
          ToUtf8(text.native, dictionary.NativeCodePage())};
}

TPoText TPoFolder::Read(const dict::TLxBinaryDictionary& dictionary, const TTranslatedText& text) {
  const TPoKey key = KeyOf(dictionary, text);
  TPoText read = ReadPoText(key.file, key.msgctxt, key.msgid);
  read_[key.file + '\x04' + key.msgctxt + '\x04' + key.msgid] = read;
  return read;
}

std::string TPoFolder::Save(dict::TLxBinaryDictionary& dictionary, const TTranslatedText& text,
                            const std::string& utf8) {
  const int codePage = dictionary.CurrentLanguage().CodePage;
  const std::optional<std::string> translation = FromUtf8(utf8, codePage);
  if (!translation)
    return "The translation holds characters that code page " + std::to_string(codePage) +
           " cannot carry";
  const TPoKey key = KeyOf(dictionary, text);
  const std::string remembered = key.file + '\x04' + key.msgctxt + '\x04' + key.msgid;
  try {
    const auto found = read_.find(remembered);
    // Never read: what the file holds now is all there is to go by.
    const TPoText read =
        found != read_.end() ? found->second : ReadPoText(key.file, key.msgctxt, key.msgid);
    read_[remembered] = WritePoText(key.file, key.msgctxt, key.msgid, utf8, read);
  } catch (const platform::Exception& e) {
    return e.Message();
  }
  const bool keyed = dictionary.HasContextKeys();
  dictionary.PatchTranslation(text.native, keyed ? text.context : "", keyed ? text.id : "",
                              *translation);
  return {};
}

}  // namespace lx::app
