// The lxpo command line: a program's texts out to translators as PO files and back into a
// dictionary image (extract, build, export, pseudo).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace lx::tools {

/// Exit codes of lxpo.
inline constexpr int kLxpoOk = 0;
inline constexpr int kLxpoBadInput = 1;
inline constexpr int kLxpoBadUsage = 2;

/// Runs lxpo with `args` (without the program name), writing results to `out` and messages
/// to `err`; returns the exit code. Every output file is written to a temporary file beside
/// it and renamed over it when complete, so an error leaves no output behind.
int RunLxpo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lx::tools
