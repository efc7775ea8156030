#include "app/ProbeText.h"

#include <string>
#include <vector>

#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "lang/LxParser.h"
#include "platform/CodePages.h"
#include "platform/Menus.h"
#include "platform/Windows.h"

namespace lx::app {

namespace {

constexpr int kUtf8 = 65001;

class TTextWriter {
 public:
  TTextWriter(int codePage, std::ostream& out) : codePage_(codePage), out_(out) {}

  std::string Utf8(const std::string& text) const { return Utf8(text, codePage_); }
  static std::string Utf8(const std::string& text, int codePage) {
    return lang::WideToAnsi(lang::AnsiToWide(text, codePage), kUtf8);
  }
  std::string Quoted(const std::string& text) const { return Quoted(text, codePage_); }
  static std::string Quoted(const std::string& text, int codePage) {
    std::string shown = Utf8(text, codePage);
    while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r'))
      shown.pop_back();
    for (std::size_t at = 0; (at = shown.find("\r\n", at)) != std::string::npos;)
      shown.replace(at, 2, " / ");
    return "\"" + WithoutControls(shown) + "\"";
  }
  // A damaged dictionary can hold any byte: none reaches the terminal as a control, only
  // the tab that separates a menu text from its shortcut.
  static std::string WithoutControls(const std::string& text) {
    std::string shown;
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if ((byte >= 0x20 && byte != 0x7F) || c == '\t') {
        shown += c;
      } else {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        shown += {'\\', 'x', kDigits[byte >> 4], kDigits[byte & 15]};
      }
    }
    return shown;
  }
  std::ostream& Out() { return out_; }
  int CodePage() const { return codePage_; }

 private:
  int codePage_;
  std::ostream& out_;
};

// The character after the single "&" of a caption, whole in the caption's code page; empty
// when it has none.
std::string HotKey(const std::string& caption, int codePage) {
  const auto page = static_cast<platform::CodePage>(codePage);
  for (std::size_t at = 0; at + 1 < caption.size(); at += platform::CharSizeAt(caption, at, page)) {
    if (caption[at] != '&') continue;
    if (caption[at + 1] != '&')
      return caption.substr(at + 1, platform::CharSizeAt(caption, at + 1, page));
    ++at;
  }
  return {};
}

std::string Place(const framework::TControl& control) {
  return "(" + std::to_string(control.Left()) + "," + std::to_string(control.Top()) + " " +
         std::to_string(control.Width()) + "x" + std::to_string(control.Height()) + ")";
}

void RenderMenuItem(TTextWriter& writer, const framework::TMenuItem& item, int depth,
                    const TMenuCaptionCodePage& menuCodePage) {
  std::ostream& out = writer.Out();
  const int captionCodePage = menuCodePage ? menuCodePage(item) : writer.CodePage();
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ')
      << TTextWriter::Quoted(item.Caption(), captionCodePage);
  if (const std::string key = HotKey(item.Caption(), captionCodePage); !key.empty())
    out << " hot key " << TTextWriter::WithoutControls(TTextWriter::Utf8(key, captionCodePage));
  if (item.ShortCut() != 0) out << "  shortcut " << writer.Quoted(item.ShortCutText());
  if (!item.Hint().empty()) out << "  hint " << writer.Quoted(item.Hint());
  if (item.Checked()) out << "  checked";
  out << "\n";
  for (int i = 0; i < item.Count(); ++i)
    RenderMenuItem(writer, *item.Items(i), depth + 1, menuCodePage);
}

void RenderSystemMenu(TTextWriter& writer, framework::TCustomForm& form) {
  const platform::HMENU menu = platform::GetSystemMenu(form.Handle(), false);
  const int count = platform::GetMenuItemCount(menu);
  std::vector<std::string> texts;
  for (int position = 0; position < count; ++position) {
    std::vector<char> buffer(256);
    const int length = platform::GetMenuString(menu, static_cast<platform::UINT>(position), buffer,
                                               platform::MF_BYPOSITION);
    if (length > 0) texts.push_back(writer.Quoted(std::string(buffer.data())));
  }
  std::ostream& out = writer.Out();
  out << "System menu:";
  for (const std::string& text : texts)
    out << " " << text;
  out << "\n";
}

void RenderControl(TTextWriter& writer, const framework::TControl& control) {
  std::ostream& out = writer.Out();
  out << "  " << control.Name() << ": " << control.ClassName() << " " << Place(control);
  if (const auto* memo = dynamic_cast<const framework::TCustomMemo*>(&control)) {
    out << " text " << writer.Quoted(memo->Text());
  } else if (const auto* list = dynamic_cast<const framework::TCustomListBox*>(&control)) {
    out << " items";
    for (int i = 0; i < list->Items()->Count(); ++i) {
      out << " " << writer.Quoted(list->Items()->Strings(i));
      if (i == list->ItemIndex()) out << "*";
    }
  } else {
    out << " " << writer.Quoted(control.Caption());
  }
  if (!control.Hint().empty()) out << "  hint " << writer.Quoted(control.Hint());
  out << "\n";
}

}  // namespace

void RenderWindowAsText(framework::TCustomForm& form, int codePage, std::ostream& out,
                        const TMenuCaptionCodePage& menuCodePage) {
  TTextWriter writer(codePage, out);
  out << "Window " << writer.Quoted(form.Caption()) << " " << Place(form) << "\n";
  out << "Reading direction: " << (form.UseRightToLeftReading() ? "right to left" : "left to right")
      << "\n";
  RenderSystemMenu(writer, form);
  if (framework::TMainMenu* menu = form.Menu()) {
    out << "Menu:\n";
    for (int i = 0; i < menu->Items()->Count(); ++i)
      RenderMenuItem(writer, *menu->Items()->Items(i), 1, menuCodePage);
  }
  out << "Controls:\n";
  for (int i = 0; i < form.ComponentCount(); ++i) {
    if (const auto* control = dynamic_cast<const framework::TControl*>(form.Components(i)))
      RenderControl(writer, *control);
  }
}

}  // namespace lx::app
