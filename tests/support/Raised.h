// EXPECT_RAISES(statement, Type, "message"): a test's check of the kind and the exact message
// of the error a statement raises.
#pragma once

#include <exception>
#include <string>

#include "platform/Exception.h"

namespace lx::support {

/// The message of the `E` that `action` raises; "(nothing raised)" when it raises nothing, and
/// a note naming the other kind when it raises something else, so a test fails readably.
/// Used through EXPECT_RAISES.
template <typename E, typename F>
std::string RaisedMessage(F&& action) {
  try {
    action();
  } catch (const platform::Exception& error) {
    if (dynamic_cast<const E*>(&error) != nullptr) return error.Message();
    return "(another exception raised: " + error.Message() + ")";
  } catch (const std::exception& error) {
    if (dynamic_cast<const E*>(&error) != nullptr) return error.what();
    return std::string("(a standard exception raised: ") + error.what() + ")";
  }
  return "(nothing raised)";
}

}  // namespace lx::support

/// Expects `statement` to raise a `Type` whose message is exactly `message`.
#define EXPECT_RAISES(statement, Type, message) \
  EXPECT_EQ(::lx::support::RaisedMessage<Type>([&] { statement; }), message)
