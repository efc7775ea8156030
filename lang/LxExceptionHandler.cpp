#include "lang/LxExceptionHandler.h"

#include "framework/controls/Dialogs.h"
#include "framework/runtime/Application.h"
#include "lang/LxDictionaries.h"
#include "platform/Exception.h"

namespace lx::lang {

std::string ExceptionDialogText(const std::string& message) {
  std::string text = message;
  if (DefaultDictionaryUsable()) {
    // The handler must show the error it was given, not fail on its translation.
    try {
      text = TranslateWith(DefaultDictionary(), message);
    } catch (const platform::Exception&) {
      text = message;
    }
  }
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

void ShowEngineException(framework::TObject*, platform::Exception& e) {
  framework::MessageDlg(ExceptionDialogText(e.Message()), framework::mtError, {framework::mbOK}, 0);
}

void InstallExceptionHandler() {
  framework::TApplication& application = framework::Application();
  if (!application.OnException) application.OnException = ShowEngineException;
}

}  // namespace lx::lang
