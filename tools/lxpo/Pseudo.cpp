#include "Pseudo.h"

#include <algorithm>
#include <cctype>

namespace lx::tools {
namespace {

// Look-alikes in code page 1252, so that a pseudo-language builds as a Western language.
const char* LookAlike(char c) {
  switch (c) {
    case 'A':
      return "Å";
    case 'a':
      return "å";
    case 'C':
      return "Ç";
    case 'c':
      return "ç";
    case 'D':
      return "Ð";
    case 'E':
      return "É";
    case 'e':
      return "é";
    case 'I':
      return "Î";
    case 'i':
      return "î";
    case 'N':
      return "Ñ";
    case 'n':
      return "ñ";
    case 'O':
      return "Ö";
    case 'o':
      return "ö";
    case 'S':
      return "Š";
    case 's':
      return "š";
    case 'U':
      return "Ü";
    case 'u':
      return "ü";
    case 'Y':
      return "Ý";
    case 'y':
      return "ý";
    case 'Z':
      return "Ž";
    case 'z':
      return "ž";
    default:
      return nullptr;
  }
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The length of the format placeholder at `at` ("%" [index ":"] ["-"] [width] ["." prec]
// type), or 0 when there is none.
std::size_t PlaceholderLength(std::string_view text, std::size_t at) {
  std::size_t end = at + 1;
  if (end < text.size() && text[end] == '%') return 2;
  auto digits = [&] {
    while (end < text.size() && (IsDigit(text[end]) || text[end] == '*'))
      ++end;
  };
  digits();
  if (end < text.size() && text[end] == ':') ++end, digits();
  if (end < text.size() && text[end] == '-') ++end;
  digits();
  if (end < text.size() && text[end] == '.') ++end, digits();
  if (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end])) != 0)
    return end + 1 - at;
  return 0;
}

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string PseudoText(std::string_view text) {
  std::string body;
  std::size_t characters = 0;
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    std::size_t keep = 1;
    if (c == '%') {
      keep = std::max<std::size_t>(PlaceholderLength(text, at), 1);
    } else if (c == '&') {
      keep = at + 1 < text.size() ? 2 : 1;  // "&&" and the hot-key letter stay
      while (at + keep < text.size() && IsContinuationByte(text[at + keep]))
        ++keep;
    } else if (const char* accented = LookAlike(c)) {
      body += accented;
      ++characters;
      ++at;
      continue;
    } else {
      while (at + keep < text.size() && IsContinuationByte(text[at + keep]))
        ++keep;
    }
    body.append(text.substr(at, keep));
    ++characters;
    at += keep;
  }
  const std::size_t padding = (characters * 35 + 99) / 100;
  return "[" + body + std::string(padding, '~') + "]";
}

}  // namespace lx::tools
