// Modal message dialogs: MessageDlg with a type and buttons, and the plain MessageBox.
//
// Headless, a dialog is a request handed to the dialog sink, which answers with the button
// chosen. The default sink writes the caption and the text to standard error and answers with
// the default button; tests install their own to see and answer the dialogs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/core/Set.h"
#include "framework/rtti/Rtti.h"
#include "platform/Menus.h"

namespace lx::framework {

LX_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
LX_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll,
        mbYesToAll, mbHelp)
using TMsgDlgButtons = TSet<TMsgDlgBtn, std::uint16_t>;

/// What a modal dialog or form answers.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

// MessageBox buttons (the low four bits of the flags), icons and default button.
inline constexpr platform::UINT MB_OK = 0x00;
inline constexpr platform::UINT MB_OKCANCEL = 0x01;
inline constexpr platform::UINT MB_ABORTRETRYIGNORE = 0x02;
inline constexpr platform::UINT MB_YESNOCANCEL = 0x03;
inline constexpr platform::UINT MB_YESNO = 0x04;
inline constexpr platform::UINT MB_RETRYCANCEL = 0x05;
inline constexpr platform::UINT MB_ICONHAND = 0x10;
inline constexpr platform::UINT MB_ICONSTOP = MB_ICONHAND;
inline constexpr platform::UINT MB_ICONERROR = MB_ICONHAND;
inline constexpr platform::UINT MB_ICONQUESTION = 0x20;
inline constexpr platform::UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr platform::UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr platform::UINT MB_ICONASTERISK = 0x40;
inline constexpr platform::UINT MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr platform::UINT MB_DEFBUTTON1 = 0x000;
inline constexpr platform::UINT MB_DEFBUTTON2 = 0x100;
inline constexpr platform::UINT MB_DEFBUTTON3 = 0x200;

// What MessageBox answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

/// One dialog as the sink sees it.
struct TDialogRequest {
  enum class TKind { MessageBox, MessageDlg };
  TKind kind = TKind::MessageBox;
  std::string caption;
  std::string text;
  /// MessageDlg: the type, the buttons and the help context.
  TMsgDlgType dlgType = mtCustom;
  TMsgDlgButtons buttons;
  int helpContext = 0;
  /// MessageBox: the flags.
  platform::UINT flags = 0;
  /// The answer of the default button.
  int defaultResult = 0;
};

/// Shows a dialog and answers with the button chosen.
using TDialogSink = std::function<int(const TDialogRequest& request)>;

/// Installs `sink` for every later dialog and returns the one it replaces; an empty sink puts
/// the default (standard error, default button) back.
TDialogSink SetDialogSink(TDialogSink sink);

/// A message dialog captioned by its type ("Warning", "Error", "Information", "Confirm"; the
/// application's title for mtCustom). The default button is OK when offered, else Yes, else
/// the first button offered; no buttons at all count as OK.
TModalResult MessageDlg(const std::string& message, TMsgDlgType dlgType, TMsgDlgButtons buttons,
                        int helpContext);

/// A message box; the default button is chosen by MB_DEFBUTTON1..3 among the buttons of the
/// flags (the first when there are fewer).
int MessageBox(const std::string& text, const std::string& caption, platform::UINT flags);

}  // namespace lx::framework
