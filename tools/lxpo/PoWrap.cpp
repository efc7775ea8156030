#include "PoWrap.h"

#include <algorithm>
#include <iterator>

namespace lx::tools {
namespace {

// gettext's page width: msgcat, msgmerge and PO editors wrap at it, so lxpo does too and their
// first save changes nothing.
constexpr int kPageWidth = 79;

// Decodes the UTF-8 character at `at` (a byte that does not start one stands for itself).
char32_t CodeAt(std::string_view text, std::size_t at, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (at + length > text.size()) length = 1;
  if (length == 1) return lead;
  char32_t code = lead & (0x3F >> (length - 1));
  for (std::size_t k = 1; k < length; ++k)
    code = (code << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
  return code;
}

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// Small kana and the prolonged sound mark start a line only after a space.
bool IsSmallKana(char32_t c) {
  static constexpr char32_t kSmall[] = {0x3041, 0x3043, 0x3045, 0x3047, 0x3049, 0x3063, 0x3083,
                                        0x3085, 0x3087, 0x308E, 0x3095, 0x3096, 0x30A1, 0x30A3,
                                        0x30A5, 0x30A7, 0x30A9, 0x30C3, 0x30E3, 0x30E5, 0x30E7,
                                        0x30EE, 0x30F5, 0x30F6, 0x30FC};
  return std::find(std::begin(kSmall), std::end(kSmall), c) != std::end(kSmall) ||
         (c >= 0x31F0 && c <= 0x31FF) || (c >= 0xFF67 && c <= 0xFF70);
}

// The classes of the Unicode line-breaking rules that decide where gettext breaks a text.
// kClose never starts a line; kSlash neither, but a word may start right after it.
enum class BreakClass {
  kSpace,
  kOpen,
  kClose,
  kSlash,
  kHyphen,
  kBar,
  kNonStarter,
  kIdeograph,
  kQuote,
  kOther
};

BreakClass ClassOf(char32_t c) {
  switch (c) {
    case ' ':
      return BreakClass::kSpace;
    case '(':
    case '[':
    case '{':
    case 0x300C:
    case 0x300E:
    case 0xFF08:
      return BreakClass::kOpen;
    case '/':
    case '!':
    case '?':
    case '}':
      return BreakClass::kSlash;
    case ',':
    case '.':
    case ':':
    case ';':
      return BreakClass::kSlash;
    case ')':
    case ']':
    case 0x3001:
    case 0x3002:
    case 0x300D:
    case 0x300F:
    case 0xFF09:
    case 0xFF0C:
    case 0xFF01:
    case 0xFF1F:
      return BreakClass::kClose;
    case '-':
      return BreakClass::kHyphen;
    case '|':
      return BreakClass::kBar;
    case '"':
    case '\'':
    case 0xAB:
    case 0xBB:
    case 0x2018:
    case 0x2019:
    case 0x201C:
    case 0x201D:
    case 0x2039:
    case 0x203A:
      return BreakClass::kQuote;
    case 0x201A:
    case 0x201E:
      return BreakClass::kOpen;
    default:
      if (IsSmallKana(c)) return BreakClass::kNonStarter;
      return IsWide(c) || (c >= 0xFF66 && c <= 0xFF9F) ? BreakClass::kIdeograph
                                                       : BreakClass::kOther;
  }
}

// Whether a line may break between two characters with no space between them.
bool BreaksBetween(BreakClass before, BreakClass now, bool digit) {
  if (now == BreakClass::kHyphen || now == BreakClass::kBar || now == BreakClass::kNonStarter)
    return false;
  if (before == BreakClass::kBar) return now != BreakClass::kQuote;
  if (before == BreakClass::kHyphen || before == BreakClass::kSlash)
    return !digit && now != BreakClass::kQuote;
  if (before == BreakClass::kOpen || before == BreakClass::kQuote || now == BreakClass::kQuote)
    return false;
  return before == BreakClass::kIdeograph || now == BreakClass::kIdeograph;
}

// One character of a string as gettext writes it: its escaped bytes, its columns and whether
// a line may break before it.
struct Piece {
  std::string bytes;
  int width = 1;
  bool breakBefore = false;
};

// gettext escapes the C control characters by name and writes every other byte as it is.
std::vector<Piece> EscapedPieces(std::string_view text) {
  static const std::string_view kControls("\a\b\f\n\r\t\v", 7);
  static const char kNames[] = "abfnrtv";
  std::vector<Piece> pieces;
  BreakClass before = BreakClass::kOther;
  bool spaces = false;
  bool openBeforeSpaces = false;
  bool quoteBeforeSpaces = false;
  bool closeBeforeSpaces = false;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t length = 1;
    const char32_t code = CodeAt(text, at, length);
    Piece piece;
    const std::size_t control = kControls.find(text[at]);
    const bool escaped = control != std::string_view::npos || text[at] == '\\' || text[at] == '"';
    piece.bytes =
        control != std::string_view::npos
            ? std::string{'\\', kNames[control]}
            : (escaped ? std::string{'\\', text[at]} : std::string(text.substr(at, length)));
    piece.width = escaped ? 2 : (IsWide(code) ? 2 : 1);
    // An escape breaks as a backslash does before it, never inside it.
    const BreakClass now = escaped ? BreakClass::kOther : ClassOf(code);
    const bool digit = code >= '0' && code <= '9';
    if (!pieces.empty() && now != BreakClass::kSpace && now != BreakClass::kClose &&
        now != BreakClass::kSlash)
      piece.breakBefore = spaces ? !openBeforeSpaces &&
                                       !(quoteBeforeSpaces && now == BreakClass::kOpen) &&
                                       !(closeBeforeSpaces && now == BreakClass::kNonStarter)
                                 : BreaksBetween(before, now, digit);
    if (now == BreakClass::kSpace) {
      if (!spaces) openBeforeSpaces = before == BreakClass::kOpen;
      if (!spaces) quoteBeforeSpaces = before == BreakClass::kQuote;
      if (!spaces) closeBeforeSpaces = before == BreakClass::kClose;
      spaces = true;
    } else {
      spaces = false;
      // Nothing breaks right after a quote or a backslash.
      before = control != std::string_view::npos ? BreakClass::kOther
               : escaped                         ? BreakClass::kQuote
                                                 : now;
    }
    pieces.push_back(std::move(piece));
    at += escaped ? 1 : length;
  }
  return pieces;
}

// Greedy breaking as gettext does it: a piece between two break opportunities that would pass
// `width` moves to a new line. Marks where lines break; true when any does.
bool BreakLines(std::vector<Piece>& pieces, int width, int startColumn, std::vector<bool>& breaks) {
  breaks.assign(pieces.size(), false);
  int lastColumn = startColumn;
  int pieceWidth = 0;
  std::size_t last = pieces.size();
  bool any = false;
  for (std::size_t i = 0; i <= pieces.size(); ++i) {
    const bool end = i == pieces.size();
    if (end || pieces[i].breakBefore) {
      if (last < pieces.size() && lastColumn + pieceWidth > width) {
        breaks[last] = true;
        any = true;
        lastColumn = 0;
      }
      if (end) break;
      last = i;
      lastColumn += pieceWidth;
      pieceWidth = 0;
    }
    pieceWidth += pieces[i].width;
  }
  return any;
}

}  // namespace

std::string WrappedPoString(std::string_view keyword, std::string_view text) {
  std::string out;
  // One column for each quote.
  const int width = kPageWidth - 2;
  bool firstLine = true;
  std::size_t start = 0;
  do {
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    std::vector<Piece> pieces = EscapedPieces(text.substr(start, end - start));
    // Never a break right before the "\n" that ends the line.
    if (end > start && text[end - 1] == '\n') pieces.back().breakBefore = false;
    std::vector<bool> breaks;
    const int startColumn = firstLine ? static_cast<int>(keyword.size()) + 1 : 0;
    const bool wraps = BreakLines(pieces, width, startColumn, breaks);
    if (firstLine && !pieces.empty() && (end < text.size() || wraps)) {
      out += std::string(keyword) + " \"\"\n";
      firstLine = false;
      BreakLines(pieces, width, 0, breaks);
    }
    if (firstLine) out += std::string(keyword) + " ";
    out += '"';
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (breaks[i]) out += "\"\n\"";
      out += pieces[i].bytes;
    }
    out += "\"\n";
    firstLine = false;
    start = end;
  } while (start < text.size());
  return out;
}

std::string PoReferenceLines(const std::vector<std::string>& references) {
  std::string out;
  if (references.empty()) return out;
  std::vector<std::string> seen;
  std::size_t column = 2;
  out += "#:";
  for (const std::string& reference : references) {
    if (std::find(seen.begin(), seen.end(), reference) != seen.end()) continue;
    seen.push_back(reference);
    if (column > 2 && column + reference.size() + 1 > static_cast<std::size_t>(kPageWidth)) {
      out += "\n#:";
      column = 2;
    }
    out += " " + reference;
    column += reference.size() + 1;
  }
  out += "\n";
  return out;
}

}  // namespace lx::tools
