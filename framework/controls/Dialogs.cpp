#include "framework/controls/Dialogs.h"

#include <iostream>
#include <vector>

#include "framework/runtime/Application.h"
#include "framework/runtime/FrameworkStrings.h"

namespace lx::framework {

namespace {

int WriteToStandardError(const TDialogRequest& request) {
  std::cerr << request.caption << ": " << request.text << std::endl;
  return request.defaultResult;
}

TDialogSink& InstalledSink() {
  static TDialogSink sink = WriteToStandardError;
  return sink;
}

const TResStringRec& CaptionOf(TMsgDlgType type) {
  static const TResStringRec* const kCaptions[] = {&SMsgDlgWarning, &SMsgDlgError,
                                                   &SMsgDlgInformation, &SMsgDlgConfirm};
  return *kCaptions[type];
}

TModalResult ResultOf(TMsgDlgBtn button) {
  static constexpr TModalResult kResults[] = {mrYes,     mrNo,       mrOk,     mrCancel,
                                              mrAbort,   mrRetry,    mrIgnore, mrAll,
                                              mrNoToAll, mrYesToAll, mrNone};
  return kResults[button];
}

TModalResult DefaultResult(TMsgDlgButtons buttons) {
  if (buttons.Empty() || buttons.Contains(mbOK)) return mrOk;
  if (buttons.Contains(mbYes)) return mrYes;
  for (int b = mbYes; b <= mbHelp; ++b) {
    if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) return ResultOf(static_cast<TMsgDlgBtn>(b));
  }
  return mrOk;
}

// The answers of the buttons of each MB_ button set, in order.
std::vector<int> BoxButtons(platform::UINT flags) {
  switch (flags & 0x0F) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    case MB_RETRYCANCEL:
      return {IDRETRY, IDCANCEL};
    default:
      return {IDOK};
  }
}

}  // namespace

TDialogSink SetDialogSink(TDialogSink sink) {
  TDialogSink previous = InstalledSink();
  InstalledSink() = sink ? std::move(sink) : TDialogSink(WriteToStandardError);
  return previous;
}

TModalResult MessageDlg(const std::string& message, TMsgDlgType dlgType, TMsgDlgButtons buttons,
                        int helpContext) {
  TDialogRequest request;
  request.kind = TDialogRequest::TKind::MessageDlg;
  request.caption = dlgType == mtCustom ? Application().Title() : LoadResString(CaptionOf(dlgType));
  request.text = message;
  request.dlgType = dlgType;
  request.buttons = buttons;
  request.helpContext = helpContext;
  request.defaultResult = DefaultResult(buttons);
  return InstalledSink()(request);
}

int MessageBox(const std::string& text, const std::string& caption, platform::UINT flags) {
  const std::vector<int> buttons = BoxButtons(flags);
  const std::size_t choice = (flags >> 8) & 0x0F;
  TDialogRequest request;
  request.kind = TDialogRequest::TKind::MessageBox;
  request.caption = caption;
  request.text = text;
  request.flags = flags;
  request.defaultResult = buttons[choice < buttons.size() ? choice : 0];
  return InstalledSink()(request);
}

}  // namespace lx::framework
