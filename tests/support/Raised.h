// What a call raised, for tests that check errors by their exact message.
#pragma once

#include <string>

#include "platform/Exception.h"

namespace lx::support {

/// The message of the `E` that `action` raises; "(nothing raised)" when it raises nothing.
template <typename E = platform::Exception, typename F>
std::string MessageOf(F&& action) {
  try {
    action();
  } catch (const E& error) {
    return error.Message();
  }
  return "(nothing raised)";
}

/// The message of the exception `action` raises; empty when it raises nothing.
template <typename F>
std::string ErrorOf(F&& action) {
  try {
    action();
  } catch (const platform::Exception& error) {
    return error.Message();
  }
  return "";
}

}  // namespace lx::support
