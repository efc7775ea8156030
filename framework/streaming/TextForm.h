// Text forms: the readable form of a stored form, converted to and from the binary stream.
//
//   object Form1: TMainForm
//     Caption = 'Hello'#13#10'world'      strings: quoted, '' for a quote, #n for a code
//     Font.Name = 'Arial'                 properties of sub-objects by dotted path
//     Ratio = 2.5                         80-bit floats; 2.5s single, 2.5d date, 2.5c currency
//     Shades = [shLight, shDark]          sets
//     Lines.Strings = (                   lists, one item a line
//       'one'
//       'two')
//     Data = {                            binary data in hex
//       0A0B0C}
//     Items = <                           collections, each item optionally with [index]
//       item
//         Caption = 'first'
//       end>
//     OnClick = ButtonClick               identifiers; True, False and nil have kinds of their own
//     object Button1: TButton [2]         children; [n] is the child position
//     end
//   end
//
// A component starts with "object", "inherited" (it exists in the ancestor form), "inline"
// (a frame) or "inherited inline"; its name may be left out ("object TButton"). Integers are
// decimal, or hexadecimal after '$'; a string may be joined from parts with '+'.
//
// Characters: the text is UTF-8 (FormTextFromCodePage reads a form saved in a code page). An
// 8-bit string keeps its bytes: printable ASCII inside the quotes, every other byte as #n (0 to
// 255). A wide string writes its characters from 128 up as UTF-8 inside the quotes, control
// characters and unpaired surrogates as #n. Reading, a string is wide when it holds UTF-8
// beyond ASCII or a code above 255, and 8-bit otherwise. A character beyond ASCII outside a
// string is refused by name: "Invalid character 'П' (U+041F)".
//
// The conversion is purely a matter of syntax: no class needs to be registered. Named
// constants (Color = clBtnFace) are identifiers both ways; the reader and the writer map them.
//
// Converting a stream written by TWriter to text and back gives the same bytes; converting a
// text to a stream and back gives the same text when the text is laid out as the designers lay
// it out and this converter writes it: two blanks of indentation; a list opens at the end of
// its line, has one item a line two blanks further in and closes right after its last item; a
// string of more than 64 characters (a #n code counts as one) starts on a line of its own after
// "Name = ", two blanks further in, in pieces of 64 characters joined by " +", one a line;
// binary data has 32 bytes a line.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/streaming/Streams.h"
#include "platform/CodePages.h"
#include "platform/Exception.h"

namespace lx::framework {

/// A text form that does not parse: the message ends with " on line L, column C" (both
/// counted from 1, columns in characters).
class EParserError : public platform::EFilerError {
 public:
  EParserError(std::string reason, int line, int column);

  const std::string& Reason() const { return reason_; }
  int Line() const { return line_; }
  int Column() const { return column_; }

 private:
  std::string reason_;
  int line_;
  int column_;
};

/// Converts the text form in `input` (from its position to its end) into a binary form
/// stream written to `output`. Raises EParserError; nothing is written when it fails.
void ObjectTextToBinary(TStream& input, TStream& output);
/// Converts the binary form stream in `input` into its text form written to `output`. Raises
/// the reader's errors (EReadError); data after the root component is refused with
/// "Unexpected data after the form". Nothing is written when it fails.
void ObjectBinaryToText(TStream& input, TStream& output);

/// Where the parts of a text form went in the binary stream made of it, each by its position
/// in the stream: a property's start (the start of its line in the text; the same position
/// also names the value's start, just after the '=' in the text), a value's end, and the end
/// of a component's properties (the start of the line where a new property would go).
struct TFormTextMap {
  std::map<std::int64_t, std::size_t> starts;
  std::map<std::int64_t, std::size_t> valueEnds;
  std::map<std::int64_t, std::size_t> propertiesEnds;
};

/// The same conversions on bytes in memory; `map`, when given, is filled in.
std::vector<std::uint8_t> FormTextToBinary(std::string_view text, TFormTextMap* map = nullptr);
std::string FormBinaryToText(std::span<const std::uint8_t> bytes);
/// The text form with every 8-bit string taken as text in `codePage` and written as its
/// characters, as wide strings are, instead of "#n" codes for the bytes above 127: a form to
/// read. Compiled back, those strings become wide strings.
std::string FormBinaryToText(std::span<const std::uint8_t> bytes, platform::CodePage codePage);

/// The text of one stored value (its bytes, kind first) as it follows "Name =" on a line
/// indented by `indent` blanks, with the blank after the '='; with `narrowCodePage`, its 8-bit
/// strings written as characters, as FormBinaryToText does.
std::string FormValueText(std::span<const std::uint8_t> value, std::size_t indent,
                          std::optional<platform::CodePage> narrowCodePage = std::nullopt);

/// A text form saved in the Windows code page `codePage` (936, 1251, ...) as the UTF-8 text
/// that FormTextToBinary reads. Raises EParserError "Invalid text in code page N" at the first
/// byte sequence that is no character of the code page, and EConvertError "Code page N is not
/// installed" for a code page the platform cannot convert. UTF-8 (65001) is given back as it
/// is, for FormTextToBinary to check.
std::string FormTextFromCodePage(std::string_view text, platform::CodePage codePage);

}  // namespace lx::framework
