#include "TextMarks.h"

#include <cctype>

namespace lx::tools {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && IsDigit(text[at]))
    ++at;
  return at;
}

// A width or precision at `at`: digits, or "*" that takes an argument.
std::size_t ReadCount(std::string_view text, std::size_t at, int& next,
                      std::vector<Placeholder>& found) {
  if (at < text.size() && text[at] == '*') {
    found.push_back({next++, '*'});
    return at + 1;
  }
  return SkipDigits(text, at);
}

// The placeholder after the "%" at `at`; npos when there is none.
std::size_t ReadPlaceholder(std::string_view text, std::size_t at, int& next,
                            std::vector<Placeholder>& found) {
  std::size_t end = SkipDigits(text, at);
  if (end > at && end < text.size() && text[end] == ':') {
    if (end - at > 6) return std::string_view::npos;
    next = std::stoi(std::string(text.substr(at, end - at)));
    at = end + 1;
  } else if (at < text.size() && text[at] == '*' && at + 1 < text.size() && text[at + 1] == ':') {
    found.push_back({next++, '*'});
    at += 2;
  }
  if (at < text.size() && text[at] == '-') ++at;
  at = ReadCount(text, at, next, found);
  if (at < text.size() && text[at] == '.') at = ReadCount(text, at + 1, next, found);
  if (at >= text.size()) return std::string_view::npos;
  const char type = static_cast<char>(std::tolower(static_cast<unsigned char>(text[at])));
  if (std::string_view("duefgnmpsx").find(type) == std::string_view::npos)
    return std::string_view::npos;
  found.push_back({next++, type});
  return at + 1;
}

std::size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::optional<std::vector<Placeholder>> Placeholders(std::string_view text) {
  std::vector<Placeholder> found;
  int next = 0;
  for (std::size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at)) {
    if (at + 1 < text.size() && text[at + 1] == '%') {
      at += 2;
      continue;
    }
    at = ReadPlaceholder(text, at + 1, next, found);
    if (at == std::string_view::npos) return std::nullopt;
  }
  return found;
}

bool IsFormatText(std::string_view text) {
  const auto found = Placeholders(text);
  return found && !found->empty();
}

std::vector<std::string> HotKeys(std::string_view text) {
  std::vector<std::string> keys;
  for (std::size_t at = 0; at + 1 < text.size(); ++at) {
    if (text[at] != '&') continue;
    if (text[at + 1] == '&') {
      ++at;
      continue;
    }
    std::string key(text.substr(at + 1, Utf8Length(static_cast<unsigned char>(text[at + 1]))));
    if (key.size() == 1)
      key[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])));
    keys.push_back(key);
  }
  return keys;
}

}  // namespace lx::tools
