#include "lxpld/Lxpld.h"

#include <algorithm>
#include <new>
#include <optional>

#include "dict/LxPLDFil.h"
#include "framework/streaming/Streams.h"
#include "lx/LxVersion.h"
#include "lxpld/PldJson.h"
#include "pldimage/PldImage.h"
#include "toolfiles/ToolFiles.h"

namespace lx::tools {

namespace {

constexpr char kUsage[] = R"(Usage:
  lxpld build SOURCE.json -o FILE.pld [--image-version N]
                                      [--big-endian | --little-endian] [--utf16 | --8bit]
  lxpld dump FILE.pld
  lxpld check FILE.pld
  lxpld --help | --version

build  writes the dictionary image that the JSON source describes (see
       lxpld(1) and lxpld-json.md in share/doc/lx); the options override the source's format version,
       byte order and text width. The image replaces FILE.pld only once it is
       complete; FILE.pld may not be the source itself. The summary
       ("FILE.pld: 270 bytes, ...") goes to standard error.
dump   prints an image as JSON; a build of that JSON gives the same bytes.
check  reads every record as the engine does and prints "ok" with the counts, or
       the error the engine raises and the record that raises it.

A file named "-" is standard input or output.
Exit codes: 0 ok, 1 bad input, 2 bad usage.
)";

// A command line that lxpld does not take.
class UsageError : public platform::Exception {
 public:
  using Exception::Exception;
};

// Input that cannot be used; the message names the file and the place.
class InputError : public platform::Exception {
 public:
  using Exception::Exception;
};

using Bytes = std::vector<std::uint8_t>;

std::string ReadFileText(const std::string& path) {
  const Bytes bytes = ReadInputFile(path);
  return std::string(bytes.begin(), bytes.end());
}

struct BuildOptions {
  std::string source;
  std::string output;
  std::optional<int> version;
  std::optional<bool> bigEndian;
  std::optional<bool> utf16;
};

int VersionOption(const std::string& text) {
  std::size_t used = 0;
  int version = -1;
  try {
    version = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || version < 0 || version > 255) {
    throw UsageError("--image-version takes a number from 0 to 255, not \"" + Excerpt(text) + "\"");
  }
  return version;
}

// The value after an option that takes one.
const std::string& OptionValue(const std::vector<std::string>& args, std::size_t& i,
                               const char* needs) {
  if (i + 1 == args.size()) throw UsageError("build: " + args[i] + " needs " + needs);
  return args[++i];
}

BuildOptions ParseBuild(const std::vector<std::string>& args) {
  BuildOptions options;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-o") {
      if (!options.output.empty()) throw UsageError("build: more than one output file");
      options.output = OptionValue(args, i, "a file name");
      if (options.output.empty()) throw UsageError("build: -o needs a file name");
    } else if (arg == "--image-version") {
      options.version = VersionOption(OptionValue(args, i, "a number"));
    } else if (arg == "--version") {
      throw UsageError("build: the image's format version is set with --image-version N");
    } else if (arg == "--big-endian" || arg == "--little-endian") {
      options.bigEndian = arg == "--big-endian";
    } else if (arg == "--utf16" || arg == "--8bit") {
      options.utf16 = arg == "--utf16";
    } else if (arg.size() > 1 && arg.starts_with("-")) {
      throw UsageError("unknown option " + Excerpt(arg));
    } else if (options.source.empty()) {
      options.source = arg;
    } else {
      throw UsageError("build: unexpected \"" + Excerpt(arg) + "\"");
    }
  }
  if (options.source.empty()) throw UsageError("build: no SOURCE.json given");
  if (options.output.empty()) throw UsageError("build: no output file given (-o FILE.pld)");
  // Written over, the source would be lost.
  if (IsSameFile(options.source, options.output)) {
    throw UsageError("build: the output file " + options.output + " is the source itself");
  }
  return options;
}

// The summary goes to standard error, as msgfmt --statistics does.
int Build(const std::vector<std::string>& args, std::ostream& out, std::ostream& summary) {
  const BuildOptions options = ParseBuild(args);
  PldImage image;
  Bytes bytes;
  try {
    image = ImageFromJson(ReadFileText(options.source));
    if (options.version) image.version = *options.version;
    if (options.bigEndian) image.bigEndian = *options.bigEndian;
    if (options.utf16) image.utf16 = *options.utf16;
    bytes = WritePldImageInKeyOrder(image);
  } catch (const PldImageError& error) {
    throw InputError(InputName(options.source) + ": " + error.Message());
  }
  WriteOutput(options.output, bytes, out);
  summary << options.output << ": " << bytes.size() << " bytes, "
          << Counted(image.languages.size(), "language") << ", "
          << Counted(image.translations.size(), "translation") << ", "
          << Counted(image.locales.size(), "locale") << "\n";
  return kLxpldOk;
}

std::string SingleFile(const std::vector<std::string>& args) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] != kStandardStream && args[i].starts_with("-"))
      throw UsageError("unknown option " + Excerpt(args[i]));
  }
  if (args.size() != 2) {
    throw UsageError(args[0] + " takes exactly one FILE.pld");
  }
  return args[1];
}

std::size_t FirstDifference(const Bytes& a, const Bytes& b) {
  const auto [left, right] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return static_cast<std::size_t>(left - a.begin());
}

int Dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string path = SingleFile(args);
  const Bytes bytes = ReadInputFile(path);
  PldImage image;
  try {
    image = ParsePldImage(bytes);
  } catch (const PldImageError& error) {
    throw InputError(InputName(path) + ": " + error.Message());
  }
  out << ImageToJson(image);
  // Images that lxpld did not write may hold what the JSON form leaves out.
  try {
    const Bytes rebuilt = WritePldImageInKeyOrder(image);
    if (rebuilt != bytes) {
      err << "lxpld: note: " << Printable(InputName(path))
          << " is laid out otherwise than lxpld writes; a build of "
          << "this dump differs from byte " << FirstDifference(bytes, rebuilt) << " on\n";
    }
  } catch (const PldImageError& error) {
    err << "lxpld: note: a build of this dump fails: " << error.Message() << "\n";
  }
  return kLxpldOk;
}

// A version-3 record whose length runs past the image is skipped by the reader
// without a complaint; it is that record, not the next one read, that is wrong.
void CheckRecordEnd(const dict::TLxPLDFile& file, std::size_t imageSize) {
  if (file.Position() > static_cast<std::int64_t>(imageSize)) {
    throw platform::Exception("the record length runs past the end of the image (byte " +
                              std::to_string(imageSize) + ")");
  }
}

// Reads every record the way the dictionaries do; `where` follows the reading.
void ReadAll(dict::TLxPLDFile& file, std::size_t imageSize, std::string& where) {
  where = "languages";
  file.SeekLanguages();
  int codePage = 0;
  for (int i = 0; i < file.LanguageCount(); ++i) {
    where = "languages[" + std::to_string(i) + "]";
    const lang::TLxLanguage& language = file.ReadLanguage();
    if (i == 1) codePage = language.CodePage;
    CheckRecordEnd(file, imageSize);
  }
  where = "translations";
  file.SeekTranslations();
  lang::TLxTranslation translation;
  for (int i = 0; i < file.TranslationCount(); ++i) {
    where = "translations[" + std::to_string(i) + "]";
    file.ReadTranslation(translation, 1, 2, codePage);
  }
  if (file.LocaleCount() != 0) {
    where = "locales";
    file.SeekLocales();
    for (int i = 0; i < file.LocaleCount(); ++i) {
      where = "locales[" + std::to_string(i) + "]";
      file.ReadLocale();
      CheckRecordEnd(file, imageSize);
    }
  }
  if (file.VariantCount() == 0) return;
  where = "variants";
  file.SeekVariants();
  dict::TLxPLDFile::TLxVariantRecord variants;
  for (int i = 0; i < file.VariantCount(); ++i) {
    where = "variants[" + std::to_string(i) + "]";
    file.ReadVariants(variants, 1, 2, codePage);
    CheckRecordEnd(file, imageSize);
  }
}

int Check(const std::vector<std::string>& args, std::ostream& out) {
  const std::string path = SingleFile(args);
  const Bytes bytes = ReadInputFile(path);
  const std::size_t size = bytes.size();
  dict::TLxPLDFile file;
  std::string where = "header";
  try {
    file.OpenStream(std::make_unique<framework::TMemoryStream>(bytes));
    ReadAll(file, size, where);
  } catch (const platform::Exception& error) {
    throw InputError(InputName(path) + ": " + where + ": " + error.Message());
  }
  out << "ok: version " << file.Version() << ", "
      << (file.LittleEndian() ? "little-endian" : "big-endian") << ", "
      << (file.AnsiStrings() ? "8-bit" : "UTF-16") << " texts, content flags "
      << file.ContentFlags() << ", " << Counted(file.LanguageCount(), "language") << ", "
      << Counted(file.TranslationCount(), "translation") << ", "
      << Counted(file.LocaleCount(), "locale") << "\n";
  return kLxpldOk;
}

int Dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) throw UsageError("no command given");
  const std::string& command = args[0];
  if (command == "build") return Build(args, out, err);
  if (command == "dump") return Dump(args, out, err);
  if (command == "check") return Check(args, out);
  if (command.size() > 1 && command.starts_with("-"))
    throw UsageError("unknown option " + Excerpt(command));
  throw UsageError("unknown command \"" + Excerpt(command) + "\"");
}

}  // namespace

int RunLxpld(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      out << kUsage;
      return kLxpldOk;
    }
  }
  if (args.size() == 1 && args[0] == "--version") {
    out << "lxpld (Lx) " << kLxVersion << "\n";
    return kLxpldOk;
  }
  try {
    return Dispatch(args, out, err);
  } catch (const UsageError& error) {
    err << "lxpld: " << Printable(error.Message()) << "\nTry 'lxpld --help'.\n";
    return kLxpldBadUsage;
  } catch (const platform::Exception& error) {  // InputError, ToolFileError
    // Input bytes in a message are never sent to the terminal as they are.
    err << "lxpld: " << Printable(error.Message()) << "\n";
  } catch (const std::bad_alloc&) {
    err << "lxpld: out of memory\n";
  } catch (const std::exception& error) {
    err << "lxpld: " << Printable(Excerpt(error.what(), 200)) << "\n";
  }
  return kLxpldBadInput;
}

}  // namespace lx::tools
