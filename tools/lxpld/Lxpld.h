// The lxpld command line: build a dictionary image from JSON, dump one as JSON,
// check one with the engine's own reader.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace lx::tools {

/// Exit codes of lxpld.
inline constexpr int kLxpldOk = 0;
inline constexpr int kLxpldBadInput = 1;
inline constexpr int kLxpldBadUsage = 2;

/// Runs lxpld with `args` (without the program name), writing results to `out` and
/// messages to `err`; returns the exit code.
int RunLxpld(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lx::tools
