// lxform: converts a form between its text form and its binary form stream, embeds a
// dictionary file into a form (Embed.h) and shows a form after its translator's pass
// (FormTranslation.h).
#include <charconv>
#include <cstdio>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Embed.h"
#include "FormTranslation.h"
#include "dict/LxBinDic.h"
#include "formtools/FormBatch.h"
#include "formtools/StandInForm.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "framework/streaming/TextForm.h"
#include "lx/LxVersion.h"
#include "platform/CodePages.h"
#include "platform/Exception.h"
#include "toolfiles/ToolFiles.h"

namespace {

using namespace lx;

constexpr int kDone = 0;
constexpr int kBadInput = 1;
constexpr int kBadUsage = 2;

constexpr std::string_view kUsage =
    "Usage: lxform [--to-binary | --to-text] [--codepage N] IN -o OUT\n"
    "       lxform --embed PLD [--dictionary NAME] [--to-binary | --to-text] IN -o OUT\n"
    "       lxform --translate DICT.pld --language N [--byte-codes] IN [-o OUT]\n"
    "       lxform --translate DICT.pld --language N --output-dir OUT IN...\n"
    "\n"
    "Converts a form between its text form and its binary form stream.\n"
    "Without a direction, a binary form (it starts with \"TPF0\") becomes text\n"
    "and anything else is read as a text form and becomes binary.\n"
    "\n"
    "  --to-binary  read IN as a text form, write the binary form\n"
    "  --to-text    read IN as a binary form, write the text form\n"
    "  --codepage N read a text form saved in Windows code page N (936, 1251, ...)\n"
    "               instead of UTF-8 (.dfm text forms without a UTF-8 byte-order\n"
    "               mark are read in 1252 unless told otherwise)\n"
    "  -o OUT       the file to write; it is replaced only once the conversion\n"
    "               succeeded and the new file is complete, and may not be IN;\n"
    "               \"-\" is standard output (and as IN standard input)\n"
    "  --translate DICT.pld\n"
    "               let the form's translator translate IN (text or binary) with the\n"
    "               dictionary DICT.pld, and write the form as text in UTF-8 (to\n"
    "               standard output without -o); only texts change, and what the\n"
    "               pass leaves alone stays as it stood; a language read right to\n"
    "               left is named on standard error\n"
    "  --language N the dictionary's language for --translate, by index (0: native)\n"
    "  --byte-codes with --translate: write the texts as the form stores them, \"#n\"\n"
    "               codes of their bytes in the language's code page, a text that\n"
    "               compiles back to the same binary form\n"
    "  --output-dir OUT  with --translate: every form of IN... (files, and folders\n"
    "               walked for .lfm, .dfm, .lxfm, .xfm and .fmx forms) translated into\n"
    "               OUT under its name, and the summary in OUT/summary.txt; a form that\n"
    "               fails is named with its reason and the others go on\n"
    "  --ancestor FORM  with --translate: the form that an inherited IN derives from\n"
    "               (repeat for each generation, the oldest first)\n"
    "  --embed PLD  copy the dictionary file PLD into the form's TLxBinaryDictionary\n"
    "               (Storage becomes lxsEmbedded, FileName PLD), so that the program\n"
    "               needs no dictionary file; IN may be text or binary, and OUT is of\n"
    "               the same kind unless --to-binary or --to-text says otherwise.\n"
    "               PLD must hold 8-bit texts.\n"
    "  --dictionary NAME  with --embed: the dictionary component, when the form's\n"
    "               root has more than one\n"
    "  --help       show this help\n"
    "  --version    show the version\n"
    "\n"
    "Exit status: 0 done, 1 bad input, 2 bad usage.\n";

enum class TDirection { Detect, ToBinary, ToText };

struct TOptions {
  TDirection direction = TDirection::Detect;
  std::string input;
  std::string output;
  std::optional<platform::CodePage> codePage;
  std::string embed;
  std::string dictionaryName;  // --dictionary, with --embed
  bool help = false;
  bool version = false;
  std::string translateDictionary;  // --translate
  int language = 0;
  bool byteCodes = false;              // --byte-codes, with --translate
  std::string outputDir;               // --output-dir
  std::vector<std::string> inputs;     // every input, with --output-dir
  std::vector<std::string> ancestors;  // --ancestor
};

struct TUsageError {
  std::string message;
};

platform::CodePage ParseCodePage(std::string_view text) {
  platform::CodePage codePage = 0;
  const auto parsed = std::from_chars(text.data(), text.data() + text.size(), codePage);
  if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size() || codePage == 0) {
    throw TUsageError{"--codepage needs a code page number, not '" + std::string(text) + "'"};
  }
  if (!platform::IsValidCodePage(codePage)) {
    throw TUsageError{"code page " + std::string(text) + " is not installed"};
  }
  return codePage;
}

TOptions ParseArguments(const std::vector<std::string_view>& args) {
  TOptions options;
  bool haveInput = false;
  bool haveOutput = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--byte-codes") {
      options.byteCodes = true;
    } else if (arg == "--to-binary" || arg == "--to-text") {
      const TDirection direction = arg == "--to-binary" ? TDirection::ToBinary : TDirection::ToText;
      if (options.direction != TDirection::Detect && options.direction != direction) {
        throw TUsageError{"--to-binary and --to-text exclude each other"};
      }
      options.direction = direction;
    } else if (arg == "--codepage") {
      if (i + 1 == args.size()) throw TUsageError{"--codepage needs a code page number"};
      options.codePage = ParseCodePage(args[++i]);
    } else if (arg == "--translate" || arg == "--language") {
      if (i + 1 == args.size()) throw TUsageError{std::string(arg) + " needs a value"};
      const std::string value(args[++i]);
      if (arg == "--translate") {
        options.translateDictionary = value;
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
    } else if (arg == "--output-dir" || arg == "--ancestor") {
      if (i + 1 == args.size()) throw TUsageError{std::string(arg) + " needs a value"};
      const std::string value(args[++i]);
      if (arg == "--ancestor") {
        options.ancestors.push_back(value);
      } else {
        options.outputDir = value;
      }
    } else if (arg == "--embed" || arg == "--dictionary") {
      if (i + 1 == args.size()) throw TUsageError{std::string(arg) + " needs a value"};
      (arg == "--embed" ? options.embed : options.dictionaryName) = args[++i];
    } else if (arg.size() > 1 && arg.front() == '-') {
      throw TUsageError{"unknown option " + std::string(arg)};
    } else {
      if (!haveInput) options.input = arg;
      options.inputs.emplace_back(arg);
      haveInput = true;
    }
  }
  if (options.help || options.version) return options;
  if (!haveInput) throw TUsageError{"no input file"};
  if (options.inputs.size() > 1 && options.outputDir.empty())
    throw TUsageError{"more than one input file"};
  if (!options.outputDir.empty() && (options.translateDictionary.empty() || haveOutput))
    throw TUsageError{"--output-dir needs --translate and no -o"};
  if (!haveOutput && options.translateDictionary.empty())
    throw TUsageError{"no output file (-o OUT)"};
  if (!haveOutput) options.output = std::string(tools::kStandardStream);
  if (options.codePage && options.direction == TDirection::ToText) {
    throw TUsageError{"--codepage reads text forms, not binary ones"};
  }
  if (!options.dictionaryName.empty() && options.embed.empty()) {
    throw TUsageError{"--dictionary needs --embed"};
  }
  if (options.byteCodes && options.translateDictionary.empty()) {
    throw TUsageError{"--byte-codes needs --translate"};
  }
  return options;
}

// A form in a Windows code page is converted to UTF-8 first; without --codepage, text that is
// not UTF-8 says how to read it.
std::vector<std::uint8_t> TextToBinary(const TOptions& options, std::string_view text) {
  const std::vector<std::uint8_t> bytes(text.begin(), text.end());
  const platform::CodePage codePage =
      tools::TextCodePageOf(options.input, bytes, tools::TFormOptions{options.codePage, {}});
  if (options.codePage || codePage != platform::CP_UTF8) {
    return framework::FormTextToBinary(framework::FormTextFromCodePage(text, codePage));
  }
  try {
    return framework::FormTextToBinary(text);
  } catch (const framework::EParserError& e) {
    if (e.Reason() != "Invalid UTF-8 text") throw;
    throw framework::EParserError(
        e.Reason() + " (a form saved in a Windows code page needs --codepage N, such as 936)",
        e.Line(), e.Column());
  }
}

std::vector<std::uint8_t> Embed(const TOptions& options, const std::vector<std::uint8_t>& in) {
  const bool binaryIn = tools::IsBinaryForm(in);
  std::vector<std::uint8_t> form =
      binaryIn ? tools::BareBinaryForm(in)
               : TextToBinary(options, std::string_view(reinterpret_cast<const char*>(in.data()),
                                                        in.size()));
  form = tools::EmbedDictionary(form, options.embed, options.dictionaryName);
  const bool textOut = options.direction == TDirection::ToText ||
                       (options.direction == TDirection::Detect && !binaryIn);
  if (!textOut) return form;
  const std::string text = framework::FormBinaryToText(form);
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> Convert(const TOptions& options, const std::vector<std::uint8_t>& in) {
  if (!options.embed.empty()) return Embed(options, in);
  const bool toText = options.direction == TDirection::ToText ||
                      (options.direction == TDirection::Detect && tools::IsBinaryForm(in));
  if (toText) {
    const std::string text =
        framework::FormBinaryToText(tools::IsBinaryForm(in) ? tools::BareBinaryForm(in) : in);
    return std::vector<std::uint8_t>(text.begin(), text.end());
  }
  return TextToBinary(options,
                      std::string_view(reinterpret_cast<const char*>(in.data()), in.size()));
}

tools::TFormOptions FormOptions(const TOptions& options) {
  return tools::TFormOptions{options.codePage, options.ancestors};
}

std::vector<std::uint8_t> Translate(const TOptions& options, const std::vector<std::uint8_t>& in) {
  const tools::TranslatedForm form =
      tools::TranslateForm(options.input, in, options.translateDictionary, options.language,
                           FormOptions(options), options.byteCodes);
  if (form.rightToLeft) std::cerr << "lxform: " << form.language << " reads right to left\n";
  return std::vector<std::uint8_t>(form.text.begin(), form.text.end());
}

// Input bytes in a message are never sent to the terminal as they are.
void Report(const std::string& message) {
  std::cerr << tools::Printable(message) << '\n';
}

int TranslateAll(const TOptions& options) {
  try {
    dict::TLxBinaryDictionary dictionary(nullptr);
    tools::OpenToolDictionary(dictionary, options.translateDictionary, options.language);
    const tools::TBatchSummary summary =
        tools::TranslateForms(tools::FormFilesOf(options.inputs), dictionary, options.outputDir,
                              FormOptions(options), std::cerr);
    std::cout << summary.Text() << '\n';
    return summary.failed == 0 ? kDone : kBadInput;
  } catch (const tools::ToolFileError& e) {
    Report("lxform: " + e.Message());
  } catch (...) {
    Report("lxform: " + tools::FailureLine(options.outputDir));
  }
  return kBadInput;
}

int Run(const TOptions& options) {
  if (!options.outputDir.empty()) return TranslateAll(options);
  const std::string input = tools::InputName(options.input);
  try {
    const std::vector<std::uint8_t> bytes = tools::ReadInputFile(options.input);
    const std::vector<std::uint8_t> output =
        options.translateDictionary.empty() ? Convert(options, bytes) : Translate(options, bytes);
    tools::WriteOutput(options.output, output, std::cout);
    return kDone;
  } catch (const tools::ToolFileError& e) {
    Report("lxform: " + e.Message());
  } catch (const framework::EParserError& e) {
    Report(input + ':' + std::to_string(e.Line()) + ':' + std::to_string(e.Column()) +
           ": error: " + e.Reason());
  } catch (const platform::Exception& e) {
    Report("lxform: " + input + ": " + tools::ShortenQuoted(e.Message()));
  } catch (const std::bad_alloc&) {
    Report("lxform: " + input + ": out of memory");
  } catch (const std::exception& e) {
    Report("lxform: " + input + ": " + tools::Excerpt(e.what(), 200));
  }
  return kBadInput;
}

// An output that is one of the inputs would be lost when written; the message, or empty.
std::string InputAsOutput(const TOptions& options) {
  const std::string prefix = "the output file " + options.output;
  if (lx::tools::IsSameFile(options.input, options.output)) return prefix + " is the input file";
  for (const std::string& dictionary : {options.embed, options.translateDictionary}) {
    if (!dictionary.empty() && lx::tools::IsSameFile(dictionary, options.output))
      return prefix + " is the dictionary file";
  }
  // The form stores the name of the file it embeds.
  if (options.embed == lx::tools::kStandardStream) return "--embed needs a file name, not \"-\"";
  return std::string();
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
  if (options.version) {
    std::cout << "lxform (Lx) " << lx::kLxVersion << '\n';
    return kDone;
  }
  if (const std::string refusal = InputAsOutput(options); !refusal.empty()) {
    std::cerr << "lxform: " << refusal << "\nTry 'lxform --help'.\n";
    return kBadUsage;
  }
  lx::tools::PrepareToolProcess();
  return lx::tools::FinishStandardOutput("lxform", Run(options));
}
