// Texts and fonts of the framework as GTK wants them: UTF-8 from the 8-bit texts of a code
// page, "&" hot keys as "_" mnemonics, a TFont as a style sheet for Pango.
#pragma once

#include <pango/pango.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Font.h"
#include "framework/core/Graphics.h"

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

/// The Windows code page that 8-bit text in a font of `charset` is written in;
/// DEFAULT_CHARSET (and any unknown one) is the system's ANSI code page.
unsigned CharsetCodePage(framework::TFontCharset charset);

/// `text` of `codePage` as UTF-8; characters the code page cannot hold become U+FFFD.
std::string ToUtf8(std::string_view text, unsigned codePage);
/// UTF-8 `text` in `codePage`; what the code page cannot hold becomes "?".
std::string FromUtf8(std::string_view text, unsigned codePage);

/// A caption with its hot key as GTK writes mnemonics: "&x" becomes "_x", "&&" a plain "&",
/// "_" a literal "__"; a "&" at the end shows nothing.
std::string MnemonicText(std::string_view caption);

/// The way the first character of `text` that reads one way or the other reads; neutral when
/// it has none.
PangoDirection OwnDirection(std::string_view text);
bool HasOwnDirection(std::string_view text);

/// `text` as a widget that reads right to left shows it, for widgets that keep GTK's left to
/// right: a text with no character that reads one way or the other starts with a
/// right-to-left mark, so that it is laid out from the right; any other text reads the way its
/// own first such character does, as in a right-to-left widget.
std::string RightToLeftText(std::string text);

/// The byte offsets in framework::ShownCaption(caption) of the characters that hot keys mark
/// ("&x"), as GTK underlines them in a mnemonic text.
std::vector<std::size_t> HotKeyPlaces(std::string_view caption);

/// What a font looks like on screen; a size of 0 or less keeps the toolkit's.
struct TFontFace {
  std::string family;
  int size = 0;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool operator==(const TFontFace&) const = default;
};
TFontFace FaceOf(const framework::TFont& font);

/// A style sheet that gives a widget the font: family, size in points (none when the font has
/// no positive size), bold, italic, underline and strike-out.
std::string FontCss(const framework::TFont& font);

}  // namespace lx::screen
#pragma GCC visibility pop
