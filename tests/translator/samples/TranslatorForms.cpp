#include "samples/TranslatorForms.h"

#include "dict/LxBinDic.h"
#include "framework/controls/CheckLst.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "translator/LxPoly.h"

namespace lx::support {

LX_PUBLISHED(TMainForm)
LX_PUBLISHED(TChildForm)

namespace {

struct TEntry {
  const char* context;
  const char* id;
  std::vector<std::string> texts;  // English, Spanish, German
};

// As in TranslatorDictionary.json.
const std::vector<TEntry>& Entries() {
  static const std::vector<TEntry> entries = {
      {"TMainForm", "", {"Main window", "Ventana principal", "Hauptfenster"}},
      {"TMainForm", "", {"The main window", "La ventana principal", "Das Hauptfenster"}},
      {"TMainForm", "FileLabel", {"&File name", "&Nombre", "&Dateiname"}},
      {"TMainForm", "FileLabel", {"Name", "Nombre", "Name"}},
      {"TMainForm", "OpenButton", {"Open", "Abrir", "Oeffnen"}},
      {"TMainForm", "OpenButton", {"Open a file", "Abrir un archivo", "Datei oeffnen"}},
      {"TMainForm", "Notes", {"Hello\r\nWorld", "Hola\r\nMundo", "Hallo\r\nWelt"}},
      {"TMainForm", "Colours", {"Red", "Rojo", "Rot"}},
      {"TMainForm", "Colours", {"Green", "Verde", "Gruen"}},
      {"TMainForm", "Colours", {"Blue", "Azul", "Blau"}},
      {"TMainForm", "Styles", {"Bold", "Negrita", "Fett"}},
      {"TMainForm", "Styles", {"Italic", "Cursiva", "Kursiv"}},
      {"TMainForm", "Sizes", {"Small", "Pequeno", "Klein"}},
      {"TMainForm", "Sizes", {"Large", "Grande", "Gross"}},
      {"TMainForm", "FileItem", {"&File", "&Archivo", "&Datei"}},
      {"TMainForm", "OpenItem", {"&Open", "&Abrir", "&Oeffnen"}},
      {"TMainForm", "ExitItem", {"E&xit", "&Acabar", "&Beenden"}},
      {"TChildForm", "", {"Child window", "Ventana hija", "Kindfenster"}},
      {"TChildForm", "HelpButton", {"Help", "Ayuda", "Hilfe"}},
      {"", "", {"&Close", "&Cerrar", "&Schliessen"}},
  };
  return entries;
}

lang::TLxDictionaryOptions WithoutFlatTranslation(lang::TLxDictionaryOptions options) {
  return options - lang::TLxDictionaryOptions{lang::lxdoUseFlatTranslation};
}

}  // namespace

void RegisterTranslatorForms() {
  using namespace framework;
  RegisterClasses(
      {&TLabel::StaticClassInfo(), &TEdit::StaticClassInfo(), &TButton::StaticClassInfo(),
       &TMemo::StaticClassInfo(), &TListBox::StaticClassInfo(), &TCheckListBox::StaticClassInfo(),
       &TComboBox::StaticClassInfo(), &TMainMenu::StaticClassInfo(), &TMenuItem::StaticClassInfo(),
       &TMainForm::StaticClassInfo(), &TChildForm::StaticClassInfo()});
  translator::RegisterTranslatorClasses();
}

std::unique_ptr<TLxMemoryDictionary> MemoryDictionary() {
  auto dictionary = std::make_unique<TLxMemoryDictionary>(nullptr);
  dictionary->SetDictionaryName("Dictionary1");
  dictionary->SetBinding(lang::lxbiNone);
  dictionary->AddLanguage(0, 0, 1252, "", "English");
  dictionary->AddLanguage(10, 1, 1252, "", "Spanish");
  dictionary->AddLanguage(7, 1, 1252, "", "German");
  for (const TEntry& entry : Entries()) {
    for (int language = 1; language <= 2; ++language)
      dictionary->SetText(entry.texts[0], language, entry.texts[language], entry.context, entry.id);
  }
  dictionary->SetContextKeys(true);
  dictionary->SetOptions(WithoutFlatTranslation(dictionary->Options()));
  return dictionary;
}

std::unique_ptr<lang::TLxDictionary> ResourceDictionary() {
  auto dictionary = std::make_unique<dict::TLxBinaryDictionary>(nullptr);
  dictionary->SetDictionaryName("Dictionary1");
  dictionary->SetStorage(dict::lxsResource);
  dictionary->SetFileName("translator.pld");
  dictionary->SetBinding(lang::lxbiNone);
  dictionary->SetOptions(WithoutFlatTranslation(dictionary->Options()));
  return dictionary;
}

}  // namespace lx::support
