// The engine's handler of exceptions that reach the application: it shows the
// message, translated through the default dictionary, in an error box.
#pragma once

#include <string>

#include "framework/core/Object.h"
#include "platform/Exception.h"

namespace lx::lang {

/// The text shown for an exception's message: translated when the default dictionary is
/// open, and ended with "." unless it ends in a character that sorts up to "." (such as
/// "!", ")" or "." itself). A translation that fails leaves the message as it was.
std::string ExceptionDialogText(const std::string& message);

/// The handler: `ExceptionDialogText` of the message in a modal error dialog with OK.
void ShowEngineException(framework::TObject* sender, platform::Exception& e);

/// Puts the handler into the application's exception slot unless that holds one already.
/// Every dictionary does so when it is created.
void InstallExceptionHandler();

}  // namespace lx::lang
