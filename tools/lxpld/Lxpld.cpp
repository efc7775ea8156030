#include "lxpld/Lxpld.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "dict/LxPLDFil.h"
#include "framework/streaming/Streams.h"
#include "lxpld/PldJson.h"
#include "pldimage/PldImage.h"

namespace lx::tools {

namespace {

constexpr char kUsage[] = R"(Usage:
  lxpld build SOURCE.json -o FILE.pld [--version N] [--big-endian | --little-endian]
                                      [--utf16 | --8bit]
  lxpld dump FILE.pld
  lxpld check FILE.pld
  lxpld --help

build  writes the dictionary image that the JSON source describes (see
       tools/lxpld/README.md); the options override the source's version, byte
       order and text width.
dump   prints an image as JSON; a build of that JSON gives the same bytes.
check  reads every record as the engine does and prints "ok" with the counts, or
       the error the engine raises and the record that raises it.

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
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InputError(path + ": cannot be opened: " + std::strerror(errno));
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw InputError(path + ": cannot be read");
  return text;
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw InputError(path + ": cannot be written");
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
    throw UsageError("--version takes a number from 0 to 255, not \"" + text + "\"");
  }
  return version;
}

BuildOptions ParseBuild(const std::vector<std::string>& args) {
  BuildOptions options;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "-o" && hasValue) {
      options.output = args[++i];
    } else if (arg == "--version" && hasValue) {
      options.version = VersionOption(args[++i]);
    } else if (arg == "--big-endian" || arg == "--little-endian") {
      options.bigEndian = arg == "--big-endian";
    } else if (arg == "--utf16" || arg == "--8bit") {
      options.utf16 = arg == "--utf16";
    } else if (!arg.starts_with("-") && options.source.empty()) {
      options.source = arg;
    } else {
      throw UsageError("build: unexpected \"" + arg + "\"");
    }
  }
  if (options.source.empty()) throw UsageError("build: no SOURCE.json given");
  if (options.output.empty()) throw UsageError("build: no output file given (-o FILE.pld)");
  return options;
}

std::string Plural(std::size_t count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

int Build(const std::vector<std::string>& args, std::ostream& out) {
  const BuildOptions options = ParseBuild(args);
  PldImage image;
  Bytes bytes;
  try {
    image = ImageFromJson(ReadFileText(options.source));
    if (options.version) image.version = *options.version;
    if (options.bigEndian) image.bigEndian = *options.bigEndian;
    if (options.utf16) image.utf16 = *options.utf16;
    bytes = WritePldImage(image);
  } catch (const PldImageError& error) {
    throw InputError(options.source + ": " + error.Message());
  }
  WriteFileBytes(options.output, bytes);
  out << options.output << ": " << bytes.size() << " bytes, "
      << Plural(image.languages.size(), "language") << ", "
      << Plural(image.translations.size(), "translation") << ", "
      << Plural(image.locales.size(), "locale") << "\n";
  return kLxpldOk;
}

std::string SingleFile(const std::vector<std::string>& args) {
  if (args.size() != 2 || args[1].starts_with("-")) {
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
  const std::string text = ReadFileText(path);
  const Bytes bytes(text.begin(), text.end());
  PldImage image;
  try {
    image = ParsePldImage(bytes);
  } catch (const PldImageError& error) {
    throw InputError(path + ": " + error.Message());
  }
  out << ImageToJson(image);
  // Images that lxpld did not write may hold what the JSON form leaves out.
  try {
    const Bytes rebuilt = WritePldImage(image);
    if (rebuilt != bytes) {
      err << "lxpld: note: " << path << " is laid out otherwise than lxpld writes; a build of "
          << "this dump differs from byte " << FirstDifference(bytes, rebuilt) << " on\n";
    }
  } catch (const PldImageError& error) {
    err << "lxpld: note: a build of this dump fails: " << error.Message() << "\n";
  }
  return kLxpldOk;
}

// Reads every record the way the dictionaries do; `where` follows the reading.
void ReadAll(dict::TLxPLDFile& file, std::string& where) {
  where = "languages";
  file.SeekLanguages();
  int codePage = 0;
  for (int i = 0; i < file.LanguageCount(); ++i) {
    where = "languages[" + std::to_string(i) + "]";
    const lang::TLxLanguage& language = file.ReadLanguage();
    if (i == 1) codePage = language.CodePage;
  }
  where = "translations";
  file.SeekTranslations();
  lang::TLxTranslation translation;
  for (int i = 0; i < file.TranslationCount(); ++i) {
    where = "translations[" + std::to_string(i) + "]";
    file.ReadTranslation(translation, 1, 2, codePage);
  }
  if (file.LocaleCount() == 0) return;
  where = "locales";
  file.SeekLocales();
  for (int i = 0; i < file.LocaleCount(); ++i) {
    where = "locales[" + std::to_string(i) + "]";
    file.ReadLocale();
  }
}

int Check(const std::vector<std::string>& args, std::ostream& out) {
  const std::string path = SingleFile(args);
  dict::TLxPLDFile file;
  std::string where = "header";
  try {
    file.OpenStream(
        std::make_unique<framework::TFileStream>(path, framework::TFileStream::Mode::OpenRead));
    ReadAll(file, where);
  } catch (const platform::EFOpenError& error) {
    throw InputError(error.Message());
  } catch (const platform::Exception& error) {
    throw InputError(path + ": " + where + ": " + error.Message());
  }
  out << "ok: version " << file.Version() << ", "
      << (file.LittleEndian() ? "little-endian" : "big-endian") << ", "
      << (file.AnsiStrings() ? "8-bit" : "UTF-16") << " texts, content flags "
      << file.ContentFlags() << ", " << Plural(file.LanguageCount(), "language") << ", "
      << Plural(file.TranslationCount(), "translation") << ", "
      << Plural(file.LocaleCount(), "locale") << "\n";
  return kLxpldOk;
}

int Dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) throw UsageError("no command given");
  const std::string& command = args[0];
  if (command == "build") return Build(args, out);
  if (command == "dump") return Dump(args, out, err);
  if (command == "check") return Check(args, out);
  throw UsageError("unknown command \"" + command + "\"");
}

}  // namespace

int RunLxpld(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      out << kUsage;
      return kLxpldOk;
    }
  }
  try {
    return Dispatch(args, out, err);
  } catch (const UsageError& error) {
    err << "lxpld: " << error.Message() << "\n" << kUsage;
    return kLxpldBadUsage;
  } catch (const InputError& error) {
    err << "lxpld: " << error.Message() << "\n";
    return kLxpldBadInput;
  }
}

}  // namespace lx::tools
