#include "app/ProbeForm.h"

#include <chrono>
#include <ctime>

#include "app/LanguageChoice.h"
#include "frame/dmLanguages.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/DateTime.h"
#include "framework/runtime/FormatSettings.h"
#include "lang/LxDictionaries.h"
#include "lang/LxParser.h"
#include "platform/LocaleInfo.h"
#include "platform/SystemLocale.h"

namespace lx::app {

LX_PUBLISHED(TProbeForm)

namespace {

constexpr int kWesternCodePage = 1252;

lang::TLxDictionary* OpenDictionary() {
  if (frame::dmlg == nullptr || frame::dmlg->Dictionary == nullptr) return nullptr;
  return frame::dmlg->Dictionary->IsOpen() ? frame::dmlg->Dictionary : nullptr;
}

template <typename T>
T* Find(const framework::TComponent& owner, const char* name) {
  return dynamic_cast<T*>(owner.FindComponent(name));
}

void SetLabel(const framework::TComponent& owner, const char* name, const std::string& text) {
  if (auto* label = Find<framework::TLabel>(owner, name)) label->SetCaption(text);
}

// A text of one code page in another; characters the target cannot hold come
// back as "?", so callers that care compare with `fallback`.
std::string Recode(const std::string& text, int from, int to) {
  return lang::WideToAnsi(lang::AnsiToWide(text, from), to);
}

// A language's own name in the window's code page, or its English name where
// that code page cannot write it.
std::string OwnName(const lang::TLxLanguage& language, int codePage) {
  const std::string native = Recode(language.NativeName, language.CodePage, codePage);
  const std::u16string wide = lang::AnsiToWide(language.NativeName, language.CodePage);
  if (native.empty() || lang::AnsiToWide(native, codePage) != wide) return language.EnglishName;
  return native;
}

// How a language is listed: the native language is the one the window was designed in.
std::string ListedName(lang::TLxDictionary& dictionary, int position, int codePage) {
  return position == 0 ? kDesignLanguage : OwnName(dictionary.LanguageAt(position), codePage);
}

std::string LocaleText(platform::Lcid lcid, int codePage) {
  const std::u16string language =
      platform::GetLocaleInfoW(lcid, platform::LOCALE_SENGLANGUAGE, u"");
  const std::u16string country = platform::GetLocaleInfoW(lcid, platform::LOCALE_SENGCOUNTRY, u"");
  std::u16string text = country.empty() ? language : language + u" (" + country + u")";
  char hex[16];
  std::snprintf(hex, sizeof hex, " 0x%04X", static_cast<unsigned>(lcid));
  return lang::WideToAnsi(text, codePage) + hex;
}

framework::TDateTime Today(bool withTime) {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  const framework::TDateTime date =
      framework::EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  return withTime ? date + framework::EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, 0)
                  : date;
}

// Whole units with the thousand separator, then the decimals.
std::string FormatAmount(long long cents, int decimals) {
  const framework::TFormatSettings& settings = framework::FormatSettings();
  long long scale = 1;
  for (int i = 0; i < decimals; ++i)
    scale *= 10;
  std::string whole = std::to_string(cents / scale);
  for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3)
    whole.insert(static_cast<std::size_t>(at), 1, settings.ThousandSeparator);
  if (decimals == 0) return whole;
  std::string fraction = std::to_string(cents % scale);
  fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
  return whole + settings.DecimalSeparator + fraction;
}

std::string FormatCurrencyAmount(long long cents) {
  const framework::TFormatSettings& settings = framework::FormatSettings();
  const std::string amount = FormatAmount(cents, 2);
  switch (settings.CurrencyFormat) {
    case 1:
      return amount + settings.CurrencyString;
    case 2:
      return settings.CurrencyString + " " + amount;
    case 3:
      return amount + " " + settings.CurrencyString;
    default:
      return settings.CurrencyString + amount;
  }
}

}  // namespace

translator::TLxTranslator* TProbeForm::Translator() const {
  return Find<translator::TLxTranslator>(*this, "Translator");
}

int TProbeForm::TextCodePage() const {
  lang::TLxDictionary* dictionary = OpenDictionary();
  if (dictionary == nullptr) return kWesternCodePage;
  const int codePage = dictionary->CurrentLanguage().CodePage;
  return codePage == 0 ? kWesternCodePage : codePage;
}

void TProbeForm::InitializeContent() {
  const int codePage = TextCodePage();
  lang::TLxDictionary* dictionary = OpenDictionary();
  SetLabel(*this, "LanguageValue",
           dictionary == nullptr || dictionary->Language() == 0
               ? kDesignLanguage
               : OwnName(dictionary->CurrentLanguage(), codePage));
  SetLabel(*this, "LocaleValue", LocaleText(platform::ThreadLocale(), codePage));
  const framework::TFormatSettings& settings = framework::FormatSettings();
  // The formats' texts are in their locale's code page, the window's in its language's.
  const auto shown = [&settings, codePage](const std::string& text) {
    return Recode(text, static_cast<int>(settings.CodePage), codePage);
  };
  SetLabel(*this, "DateValue",
           shown(framework::FormatDateTime(settings.ShortDateFormat, Today(false))));
  SetLabel(*this, "TimeValue",
           shown(framework::FormatDateTime(settings.LongTimeFormat, Today(true))));
  SetLabel(*this, "NumberValue", shown(FormatAmount(123456789, 2)));
  SetLabel(*this, "CurrencyValue", shown(FormatCurrencyAmount(123456)));
  if (auto* list = Find<framework::TListBox>(*this, "LanguageList")) {
    list->Items()->Clear();
    const int count = dictionary == nullptr ? 0 : dictionary->GetLanguageCount();
    for (int i = 0; i < count; ++i)
      list->Items()->Add(ListedName(*dictionary, i, codePage));
    if (dictionary != nullptr) list->SetItemIndex(dictionary->Language());
  }
  // The note is a memo text, which the window's target list leaves alone: it is
  // translated here, always from the text the window was designed with.
  if (auto* notes = Find<framework::TMemo>(*this, "Notes")) {
    if (!notesRead_) {
      nativeNotes_ = notes->Text();
      while (!nativeNotes_.empty() && (nativeNotes_.back() == '\n' || nativeNotes_.back() == '\r'))
        nativeNotes_.pop_back();
      notesRead_ = true;
    }
    if (dictionary != nullptr) notes->SetText(lang::TranslateWith(dictionary, nativeNotes_));
  }
  UpdateLanguageMenu();
}

framework::TMenuItem* TProbeForm::LanguageMenu() const {
  return Find<framework::TMenuItem>(*this, "LanguageMenu");
}

// One radio item per language of the dictionary; only "English" without one.
void TProbeForm::BuildLanguageMenu() {
  framework::TMenuItem* menu = LanguageMenu();
  if (menu == nullptr) return;
  menu->Clear();
  // Automatic hot keys would insert "&" into the names byte by byte, which can split a
  // character of a double-byte code page.
  menu->SetAutoHotkeys(framework::maManual);
  lang::TLxDictionary* dictionary = OpenDictionary();
  const int count = dictionary == nullptr ? 1 : dictionary->GetLanguageCount();
  for (int position = 0; position < count; ++position) {
    auto* item = new framework::TMenuItem(this);
    item->SetRadioItem(true);
    item->OnClick = [this, position](framework::TObject*) { SelectLanguage(position); };
    menu->Add(item);
  }
  // The languages' own names are no texts to translate.
  if (translator::TLxTranslator* translator = Translator()) {
    translator->OnRestrictComponent = [menu](translator::TLxTranslator*,
                                             framework::TComponent* component,
                                             translator::TLxRestrictions& restrictions) {
      auto* item = dynamic_cast<framework::TMenuItem*>(component);
      if (item != nullptr && item->Parent() == menu)
        restrictions.Include(translator::lxrBuildInTranslation);
    };
  }
  UpdateLanguageMenu();
}

// Each name as the language writes it, whatever the window's code page can hold.
void TProbeForm::UpdateLanguageMenu() {
  framework::TMenuItem* menu = LanguageMenu();
  if (menu == nullptr) return;
  lang::TLxDictionary* dictionary = OpenDictionary();
  for (int position = 0; position < menu->Count(); ++position) {
    framework::TMenuItem* item = menu->Items(position);
    std::string name = kDesignLanguage;
    if (dictionary != nullptr && position > 0) {
      const lang::TLxLanguage& language = dictionary->LanguageAt(position);
      name = language.NativeName.empty() ? language.EnglishName : language.NativeName;
    }
    // A name is shown as written: an "&" in it is no hot-key mark.
    for (std::size_t at = name.find('&'); at != std::string::npos; at = name.find('&', at + 2))
      name.insert(at, 1, '&');
    item->SetCaption(name);
    item->SetChecked(position == (dictionary == nullptr ? 0 : dictionary->Language()));
  }
}

int TProbeForm::CaptionCodePage(const framework::TMenuItem& item) const {
  lang::TLxDictionary* dictionary = OpenDictionary();
  framework::TMenuItem* menu = LanguageMenu();
  if (dictionary == nullptr || menu == nullptr || item.Parent() != menu) return TextCodePage();
  const int position = menu->IndexOf(&item);
  if (position <= 0 || position >= dictionary->GetLanguageCount()) return kWesternCodePage;
  const lang::TLxLanguage& language = dictionary->LanguageAt(position);
  if (language.NativeName.empty()) return kWesternCodePage;
  return language.CodePage == 0 ? kWesternCodePage : language.CodePage;
}

void TProbeForm::SelectLanguage(int position) {
  try {
    if (!frame::ChangeLanguage(position)) return;
    InitializeContent();
    Repaint();
  } catch (...) {
    // The window stays as it was.
  }
}

// The window's own commands; help that cannot be shown is no error of the program's.
void TProbeForm::ConnectCommands() {
  auto close = [this](framework::TObject*) { Close(); };
  auto help = [](framework::TObject*) {
    try {
      framework::Application().HelpShowTableOfContents();
    } catch (...) {
    }
  };
  if (auto* item = Find<framework::TMenuItem>(*this, "ExitItem")) item->OnClick = close;
  if (auto* button = Find<framework::TButton>(*this, "CloseButton")) button->OnClick = close;
  if (auto* item = Find<framework::TMenuItem>(*this, "ContentsItem")) item->OnClick = help;
  if (auto* button = Find<framework::TButton>(*this, "HelpButton")) button->OnClick = help;
}

void TProbeForm::StartUp() {
  try {
    frame::LanguageSetup("");
    ConnectCommands();
    BuildLanguageMenu();
    try {
      if (translator::TLxTranslator* translator = Translator()) translator->Open();
    } catch (...) {
      // The window stays as designed.
    }
    Show();
    Repaint();
    try {
      InitializeContent();
      Repaint();
    } catch (...) {
    }
  } catch (...) {
  }
  try {
    InstallHandCursor();
  } catch (...) {
  }
}

namespace {

framework::HCURSOR& InstalledHandCursor() {
  static framework::HCURSOR cursor = 0;
  return cursor;
}

}  // namespace

bool InstallHandCursor() {
  const framework::HCURSOR cursor = framework::LoadCursor(0, "MANO");
  if (cursor == 0) return false;
  framework::Screen().SetCursors(framework::crHandPoint, cursor);
  InstalledHandCursor() = cursor;
  return true;
}

bool HandCursorInstalled() {
  const framework::HCURSOR cursor = InstalledHandCursor();
  return cursor != 0 && framework::Screen().Cursors(framework::crHandPoint) == cursor;
}

void RegisterProbeClasses() {
  using namespace framework;
  RegisterClasses({&TLabel::StaticClassInfo(), &TButton::StaticClassInfo(),
                   &TMemo::StaticClassInfo(), &TListBox::StaticClassInfo(),
                   &TMainMenu::StaticClassInfo(), &TMenuItem::StaticClassInfo(),
                   &TProbeForm::StaticClassInfo()});
  translator::RegisterTranslatorClasses();
  frame::RegisterLanguageClasses();
}

}  // namespace lx::app
