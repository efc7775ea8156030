// The framework's exception classes.
//
// Every error the system raises is an `Exception` carrying a human-readable
// `Message`; the descendants below tell the kinds apart so that callers can
// catch what they handle and let the rest through.
#pragma once

#include <exception>
#include <string>

namespace lx::platform {

/// The general exception class: a message and nothing else.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message);

  const std::string& Message() const noexcept { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }

  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

#define LX_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {             \
   public:                               \
    using Base::Base;                    \
  }

/// A text that does not convert to the asked type ("'x' is not a valid integer value").
LX_DECLARE_EXCEPTION(EConvertError, Exception);
/// An index outside the valid range.
LX_DECLARE_EXCEPTION(ERangeError, Exception);
/// An index outside a list ("List index out of bounds (5)").
LX_DECLARE_EXCEPTION(EListError, Exception);
/// A missing resource ("Resource X not found").
LX_DECLARE_EXCEPTION(EResNotFound, Exception);
/// Any failure of a stream.
LX_DECLARE_EXCEPTION(EStreamError, Exception);
/// A file that cannot be opened.
LX_DECLARE_EXCEPTION(EFOpenError, EStreamError);
/// A file that cannot be created.
LX_DECLARE_EXCEPTION(EFCreateError, EStreamError);
/// Failures of form streaming.
LX_DECLARE_EXCEPTION(EFilerError, EStreamError);
/// A stream that ends early or holds what the reader does not expect ("Stream read error").
LX_DECLARE_EXCEPTION(EReadError, EFilerError);
/// A stream that cannot take what is written to it.
LX_DECLARE_EXCEPTION(EWriteError, EFilerError);

#undef LX_DECLARE_EXCEPTION

}  // namespace lx::platform
