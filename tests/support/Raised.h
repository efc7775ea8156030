// What a call raised, for tests that check errors by their exact message.
#pragma once

#include <exception>
#include <string>

#include "platform/Exception.h"

namespace lx::support {

/// The message of the `E` that `action` raises; "(nothing raised)" when it raises nothing, and
/// a note naming the other kind when it raises something else, so a test fails readably.
template <typename E = platform::Exception, typename F>
std::string MessageOf(F&& action) {
  try {
    action();
  } catch (const platform::Exception& error) {
    if (dynamic_cast<const E*>(&error) != nullptr) return error.Message();
    return "(another exception raised: " + error.Message() + ")";
  } catch (const std::exception& error) {
    return std::string("(a standard exception raised: ") + error.what() + ")";
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

/// Expects `statement` to raise a `Type` whose message is exactly `message`.
#define EXPECT_RAISES(statement, Type, message) \
  EXPECT_EQ(::lx::support::MessageOf<Type>([&] { statement; }), message)
