#include "platform/Exception.h"

namespace lx::platform {

Exception::Exception(std::string message) : message_(std::move(message)) {}

}  // namespace lx::platform
