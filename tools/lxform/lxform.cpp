// lxform: converts a form between its text form and its binary form stream.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FormTranslation.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "framework/streaming/TextForm.h"
#include "platform/Exception.h"

namespace {

using namespace lx;

constexpr int kDone = 0;
constexpr int kBadInput = 1;
constexpr int kBadUsage = 2;

constexpr std::string_view kUsage =
    "Usage: lxform [--to-binary | --to-text] IN -o OUT\n"
    "       lxform --translate DICT.pld --language N IN [-o OUT]\n"
    "\n"
    "Converts a form between its text form and its binary form stream.\n"
    "Without a direction, a binary form (it starts with \"TPF0\") becomes text\n"
    "and anything else is read as a text form and becomes binary.\n"
    "\n"
    "  --to-binary  read IN as a text form, write the binary form\n"
    "  --to-text    read IN as a binary form, write the text form\n"
    "  -o OUT       the file to write (written only when the conversion succeeds)\n"
    "  --translate DICT.pld\n"
    "               let the form's translator translate IN (text or binary) with the\n"
    "               dictionary DICT.pld, and write the form as text (to standard\n"
    "               output without -o)\n"
    "  --language N the dictionary's language for --translate, by index (0: native)\n"
    "  --help       show this help\n"
    "\n"
    "Exit status: 0 done, 1 bad input, 2 bad usage.\n";

enum class TDirection { Detect, ToBinary, ToText };

struct TOptions {
  TDirection direction = TDirection::Detect;
  std::string input;
  std::string output;
  bool help = false;
  std::string dictionary;  // --translate
  int language = 0;
};

struct TUsageError {
  std::string message;
};

TOptions ParseArguments(const std::vector<std::string_view>& args) {
  TOptions options;
  bool haveInput = false;
  bool haveOutput = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--to-binary" || arg == "--to-text") {
      const TDirection direction = arg == "--to-binary" ? TDirection::ToBinary : TDirection::ToText;
      if (options.direction != TDirection::Detect && options.direction != direction) {
        throw TUsageError{"--to-binary and --to-text exclude each other"};
      }
      options.direction = direction;
    } else if (arg == "--translate" || arg == "--language") {
      if (i + 1 == args.size()) throw TUsageError{std::string(arg) + " needs a value"};
      const std::string value(args[++i]);
      if (arg == "--translate") {
        options.dictionary = value;
      } else {
        try {
          options.language = std::stoi(value);
        } catch (const std::exception&) {
          throw TUsageError{"--language needs a number"};
        }
      }
    } else if (arg == "-o") {
      if (i + 1 == args.size()) throw TUsageError{"-o needs a file name"};
      if (haveOutput) throw TUsageError{"more than one output file"};
      options.output = args[++i];
      haveOutput = true;
    } else if (arg.size() > 1 && arg.front() == '-') {
      throw TUsageError{"unknown option " + std::string(arg)};
    } else {
      if (haveInput) throw TUsageError{"more than one input file"};
      options.input = arg;
      haveInput = true;
    }
  }
  if (options.help) return options;
  if (!haveInput) throw TUsageError{"no input file"};
  if (!haveOutput && options.dictionary.empty()) throw TUsageError{"no output file (-o OUT)"};
  return options;
}

bool IsBinaryForm(const std::vector<std::uint8_t>& bytes) {
  const std::string_view signature = framework::kFormSignature;
  return bytes.size() >= signature.size() &&
         std::string_view(reinterpret_cast<const char*>(bytes.data()), signature.size()) ==
             signature;
}

std::vector<std::uint8_t> Convert(const TOptions& options, const std::vector<std::uint8_t>& in) {
  const bool toText = options.direction == TDirection::ToText ||
                      (options.direction == TDirection::Detect && IsBinaryForm(in));
  if (toText) {
    const std::string text = framework::FormBinaryToText(in);
    return std::vector<std::uint8_t>(text.begin(), text.end());
  }
  return framework::FormTextToBinary(
      std::string_view(reinterpret_cast<const char*>(in.data()), in.size()));
}

std::vector<std::uint8_t> Translate(const TOptions& options, const std::vector<std::uint8_t>& in) {
  const std::string text = tools::TranslatedFormText(in, options.dictionary, options.language);
  if (options.output.empty()) std::cout << text;
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

int Run(const TOptions& options) {
  try {
    framework::TMemoryStream input;
    input.LoadFromFile(options.input);
    const std::vector<std::uint8_t> output = options.dictionary.empty()
                                                 ? Convert(options, input.Bytes())
                                                 : Translate(options, input.Bytes());
    if (options.output.empty()) return kDone;
    framework::TMemoryStream(output).SaveToFile(options.output);
    return kDone;
  } catch (const framework::EParserError& e) {
    std::cerr << options.input << ':' << e.Line() << ':' << e.Column() << ": error: " << e.Reason()
              << '\n';
  } catch (const platform::Exception& e) {
    std::cerr << "lxform: " << options.input << ": " << e.Message() << '\n';
  }
  return kBadInput;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  TOptions options;
  try {
    options = ParseArguments(args);
  } catch (const TUsageError& e) {
    std::cerr << "lxform: " << e.message << "\nTry 'lxform --help'.\n";
    return kBadUsage;
  }
  if (options.help) {
    std::cout << kUsage;
    return kDone;
  }
  return Run(options);
}
