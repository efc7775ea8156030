#include "lxpo/Lxpo.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <tuple>

#include "lang/LxIsoLanguages.h"
#include "lx/LxVersion.h"
#include "lxpld/PldJson.h"
#include "lxpo/FitCheck.h"
#include "lxpo/PluralForms.h"
#include "lxpo/PoCheck.h"
#include "lxpo/PoExtract.h"
#include "lxpo/PoFile.h"
#include "lxpo/Pseudo.h"
#include "lxpo/TsFile.h"
#include "lxpo/XliffFile.h"
#include "platform/CodePages.h"
#include "platform/PluralRules.h"
#include "pldimage/PldImage.h"
#include "pldimage/PldText.h"
#include "toolfiles/ToolFiles.h"

namespace lx::tools {
namespace {

constexpr char kUsage[] = R"(Usage:
  lxpo extract [--strings TABLE.strings]... [--no-framework] [--code-page N]
               [--ancestor FORM]... [--size-flags] FORM|FOLDER... -o FILE.pot
  lxpo build [--strict] MANIFEST.json -o FILE.pld
  lxpo check [--strict] MANIFEST.json | FILE.po|.xlf|.xliff|.ts...
  lxpo check --fit FILE.pld [--ancestor FORM]... FORM|FOLDER...
  lxpo export FILE.pld -d FOLDER [--template FILE.pot]
              [--format po|xliff12|xliff20|ts] [--form FORM|FOLDER]...
              [--size-flags]
  lxpo pseudo FILE.pot -o FILE.po [--language CODE]
  lxpo --help | --version

extract  writes the PO template of a program: the texts its forms' translators
         translate (their TargetsData, or the default targets when a form has no
         translator), the program's string tables, the framework's resource
         strings, the system-menu texts and the shortcut key names. msgctxt is
         "context|id" (form class and component name; "|identifier" for a
         resource string; none for texts looked up alone), msgid the native text.
         The program's texts are taken in code page N (1252): give the
         manifest's textCodePage when it has one. A folder is walked for its
         forms (.lfm, .dfm, .lxfm, .xfm, .fmx); a form found there that cannot
         be read is named with its reason and the others go on (the template is
         written, the exit code is 1). --ancestor
         names the form an inherited form derives from.
build    turns a manifest (JSON: the languages, each with its PO file) and the
         PO files into a dictionary image. Fuzzy and obsolete entries are left
         out and counted; characters that a language's code page cannot carry
         are errors. Plural entries (msgstr[n]) go in by the language's CLDR
         plural categories, read through the file's Plural-Forms. A language's
         file may be PO, XLIFF 1.2 or 2.0 (.xlf, .xliff) or TS (.ts). The
         checks of "check" run on every file; an error (with --strict, a
         warning) leaves no image.
check    checks translations against their native texts: placeholders of the
         format routine, hot keys, hot-key clashes in a menu level or among
         sibling controls, white space and line breaks at the ends, and (of a
         manifest's files) the language's code page. Findings go to standard
         error as "FILE:LINE: error: KEY: what" or "...: warning: ...", then a
         summary line per file; --strict makes warnings errors.
         With --fit, translates each form into every language of the dictionary
         (fonts, far-east scale and mirroring as the program gets them) and
         measures every text of its labels, buttons, check boxes, group boxes,
         panels, list and combo boxes and memos against the room its control
         gives it on screen; each text that does not fit is named with the
         pixels it needs and has, and the exit code is 1. Menus grow: never cut.
export   writes FOLDER/messages.pot, one PO file per language and
         FOLDER/dictionary.json, the manifest that builds the image again.
         --template takes the comments, references and flags of a template's
         entries (and its entries not yet translated); --format writes the
         languages' files as XLIFF 1.2 (.xlf), XLIFF 2.0 (.xliff) or Qt's TS
         (.ts).
         With --form, each text of the forms notes the picture it is on
         ("#. picture: Main.de_DE.png", as lxpictures names them) and the
         room its control gives it in that language ("#. room: 65 x 23 px,
         Tahoma 8"); extract notes them alike for the native language.
         --size-flags adds the room as the flag "max-size:65" that translation
         platforms read (gettext's tools drop it when they rewrite a file).
pseudo   writes a PO file whose translations are pseudo-texts: accented
         look-alike letters, about 35 % longer, in brackets; hot keys and
         format placeholders kept.

Files are written whole or not at all; "-" is standard input or output. The
summary of each command ("FILE.pot: 71 texts") goes to standard error.
Exit codes: 0 ok, 1 bad input, 2 bad usage. See lxpo(1), and translators.md
in share/doc/lx.
)";

class UsageError : public platform::Exception {
 public:
  using Exception::Exception;
};

using Key = std::tuple<std::string, std::string, std::string>;

constexpr std::size_t kMaxManifestSize = 256u << 20;

std::string ReadFileText(const std::string& path, std::size_t limit = kMaxManifestSize) {
  const std::vector<std::uint8_t> bytes = ReadInputFile(path, limit);
  return std::string(bytes.begin(), bytes.end());
}

std::span<const std::uint8_t> BytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Writes the output ("-": standard output); the stream where the summary then goes.
std::ostream& WriteResult(const std::string& path, std::string_view content, std::ostream& out,
                          std::ostream& err) {
  WriteOutput(path, BytesOf(content), out);
  return path == kStandardStream ? err : out;
}

// Written over, an input would be lost.
void RefuseInputAsOutput(const std::vector<std::string>& inputs, const std::string& output) {
  for (const std::string& input : inputs) {
    if (IsSameFile(input, output))
      throw UsageError("the output file " + output + " is the input file " + input);
  }
}

// ---- Arguments

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::vector<std::string>> options;
  bool noFramework = false;
  bool strict = false;
  bool sizeFlags = false;
};

Arguments ParseArguments(const std::vector<std::string>& args, std::size_t from,
                         const std::vector<std::string>& valued) {
  Arguments parsed;
  for (std::size_t i = from; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--no-framework") {
      parsed.noFramework = true;
    } else if (arg == "--strict") {
      parsed.strict = true;
    } else if (arg == "--size-flags") {
      parsed.sizeFlags = true;
    } else if (std::find(valued.begin(), valued.end(), arg) != valued.end()) {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      parsed.options[arg].push_back(args[++i]);
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option " + arg);
    } else {
      parsed.positional.push_back(arg);
    }
  }
  return parsed;
}

std::string OneOption(const Arguments& arguments, const std::string& name) {
  const auto found = arguments.options.find(name);
  if (found == arguments.options.end()) throw UsageError(name + " is required");
  if (found->second.size() > 1) throw UsageError(name + " given twice");
  return found->second.front();
}

std::string OneInput(const Arguments& arguments) {
  if (arguments.positional.size() != 1) throw UsageError("one input file expected");
  return arguments.positional.front();
}

// ---- extract

// msgcat and msgmerge drop the flags they do not know ("max-size:65"), so a file that carries
// them is not gettext's own layout: they are written only when asked for.
void DropFlags(std::vector<PoEntry>& entries) {
  for (PoEntry& entry : entries)
    entry.flags.clear();
}

int Extract(const Arguments& arguments, std::ostream& out, std::ostream& err) {
  ExtractSources sources;
  sources.forms = arguments.positional;
  std::vector<std::string> failures;
  sources.failures = &failures;
  if (const auto found = arguments.options.find("--ancestor"); found != arguments.options.end())
    sources.ancestors = found->second;
  if (const auto tables = arguments.options.find("--strings"); tables != arguments.options.end())
    sources.stringTables = tables->second;
  sources.framework = !arguments.noFramework;
  if (arguments.options.contains("--code-page")) {
    const std::string page = OneOption(arguments, "--code-page");
    if (page.empty() || page.size() > 5 ||
        page.find_first_not_of("0123456789") != std::string::npos)
      throw UsageError("--code-page takes a code page number, not \"" + page + "\"");
    sources.codePage = std::stoi(page);
    detail::CheckCodePage(sources.codePage);
  }
  const std::string output = OneOption(arguments, "-o");
  RefuseInputAsOutput(sources.forms, output);
  RefuseInputAsOutput(sources.stringTables, output);
  std::vector<PoEntry> entries = ExtractTemplate(sources);
  if (!arguments.sizeFlags) DropFlags(entries);
  const bool plurals = std::any_of(entries.begin(), entries.end(),
                                   [](const PoEntry& entry) { return !entry.msgidPlural.empty(); });
  WriteResult(output, WritePo(entries, "", plurals ? kTemplatePluralForms : ""), out, err);
  // Summaries go to standard error, as msgfmt --statistics does.
  err << "lxpo: " << output << ": " << entries.size() << " texts\n";
  for (const std::string& failure : failures)
    err << "lxpo: " << failure << "\n";
  return failures.empty() ? kLxpoOk : kLxpoBadInput;
}

// ---- build

struct Manifest {
  PldImage image;
  /// Per language; empty for none.
  std::vector<std::string> poFiles;
};

nlohmann::json ParseManifest(const std::string& path) {
  const std::string text = ReadFileText(path);
  try {
    // The library recurses into what it has parsed when it writes it out again.
    CheckJsonNesting(text);
    return nlohmann::json::parse(text);
  } catch (const nlohmann::json::exception& error) {
    throw PoError(InputName(path) + ": " + JsonMessage(error.what()));
  } catch (const platform::Exception& error) {
    throw PoError(InputName(path) + ": " + error.Message());
  }
}

// A language named by its ISO code takes what it leaves out from the locale database: the
// ids (not for the native language, which is language 0) and the code page and names.
void CompleteByIsoCode(nlohmann::json& record, std::size_t index, const std::string& where) {
  if (!record.is_object() || !record.contains("isoLanguage") || !record["isoLanguage"].is_string())
    return;
  const bool needsIds = index > 0 && !record.contains("primaryLanguage");
  const bool needsMore = !record.contains("codePage") || !record.contains("englishName") ||
                         (index > 0 && !record.contains("nativeName"));
  if (!needsIds && !needsMore) return;
  const std::string iso = record["isoLanguage"].get<std::string>();
  std::string country;
  if (record.contains("isoCountry") && record["isoCountry"].is_string())
    country = record["isoCountry"].get<std::string>();
  lang::TLxLanguage language;
  if (!lang::LanguageFromIsoCode(iso, country, language))
    throw PoError(where + ".isoLanguage: \"" + iso + (country.empty() ? "" : "_" + country) +
                  "\" is no language of the locale database; give primaryLanguage and codePage");
  auto take = [&record](const char* field, const nlohmann::json& value) {
    if (!record.contains(field)) record[field] = value;
  };
  if (needsIds) {
    take("primaryLanguage", language.PrimaryLanguage);
    take("subLanguage", language.SubLanguage);
    if (!language.IsoCountryName.empty()) take("isoCountry", language.IsoCountryName);
  }
  const auto page = static_cast<platform::CodePage>(language.CodePage);
  auto utf8 = [page](const std::string& text) {
    return platform::WideToMultiByte(platform::MultiByteToWide(text, page), 65001);
  };
  take("codePage", language.CodePage);
  take("englishName", utf8(language.EnglishName));
  if (index > 0) take("nativeName", utf8(language.NativeName));
}

Manifest ReadManifest(const std::string& path) {
  nlohmann::json json = ParseManifest(path);
  if (!json.is_object()) throw PoError(InputName(path) + ": the manifest must be a JSON object");
  if (json.contains("translations"))
    throw PoError(InputName(path) +
                  ": translations: a manifest takes its translations from PO files");
  if (!json.contains("contentFlags")) json["contentFlags"] = 1;
  Manifest manifest;
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (json.contains("languages") && json["languages"].is_array()) {
    auto& languages = json["languages"];
    for (std::size_t i = 0; i < languages.size(); ++i) {
      CompleteByIsoCode(languages[i], i,
                        InputName(path) + ": languages[" + std::to_string(i) + "]");
      std::string po;
      if (languages[i].is_object() && languages[i].contains("po")) {
        const std::string where = InputName(path) + ": languages[" + std::to_string(i) + "].po";
        if (!languages[i]["po"].is_string()) throw PoError(where + ": a file name expected");
        if (i == 0) throw PoError(where + ": the native language's texts are the msgids");
        po = (folder / languages[i]["po"].get<std::string>()).string();
        languages[i].erase("po");
      }
      manifest.poFiles.push_back(po);
    }
  }
  try {
    manifest.image = ImageFromJson(json.dump());
  } catch (const platform::Exception& error) {
    throw PoError(InputName(path) + ": " + error.Message());
  }
  return manifest;
}

std::string EntryName(const std::string& path, const PoEntry& entry) {
  std::string name = path;
  if (entry.line > 0) name += ":" + std::to_string(entry.line);
  name += ": ";
  const std::string msgctxt = MsgctxtOf(entry.context, entry.id);
  if (!msgctxt.empty()) name += "msgctxt \"" + msgctxt + "\" ";
  return name + "msgid \"" + entry.msgid + "\"";
}

void CheckWritable(const std::string& text, int codePage, const std::string& what,
                   const std::string& entryName) {
  const std::string character = UnwritableCharacter(text, codePage);
  if (!character.empty())
    throw PoError(entryName + ": " + what + " holds " + character + ", which code page " +
                  std::to_string(codePage) + " cannot carry");
}

struct BuildCounts {
  int translated = 0;
  int untranslated = 0;
  PoReadCounts leftOut;
};

std::string LanguageCode(const PldLanguage& language);
using Texts = std::vector<std::string>;

bool AllForms(const PoEntry& entry) {
  return !entry.msgstrPlural.empty() &&
         std::none_of(entry.msgstrPlural.begin(), entry.msgstrPlural.end(),
                      [](const std::string& form) { return form.empty(); });
}

std::string LanguageName(const PldLanguage& language) {
  const std::string code = LanguageCode(language);
  return code.empty() ? "language " + std::to_string(LcidOf(language)) : code;
}

// An entry with fewer forms than its file's header names has a hole where a count goes.
void CheckFormCount(const PoEntry& entry, const std::string& pluralForms,
                    const std::string& entryName) {
  const int count = ParsePluralForms(pluralForms).count;
  if (static_cast<int>(entry.msgstrPlural.size()) != count)
    throw PoError(entryName + ": " + std::to_string(entry.msgstrPlural.size()) +
                  " plural forms, the Plural-Forms header gives " + std::to_string(count));
}

// Which msgstr[n] of the file is which CLDR category of its language.
std::map<std::string, int> PluralFormsOfFile(const std::string& path, const PoReadCounts& read,
                                             const PldImage& image, std::size_t language) {
  const std::string name = InputName(path);
  if (read.pluralForms.empty())
    throw PoError(name + ": plural entries need a \"Plural-Forms\" header");
  try {
    return FormOfCategories(read.pluralForms, LcidOf(image.languages[language]),
                            LanguageName(image.languages[language]));
  } catch (const PoError& error) {
    throw PoError(name + ": " + error.Message());
  }
}

// A language's translations, in the format its file name says: XLIFF, TS, else PO.
std::vector<PoEntry> ReadTranslations(const std::string& path, PoReadCounts& counts,
                                      bool keepFuzzy = false) {
  if (path.ends_with(".xlf") || path.ends_with(".xliff")) return ReadXliff(path, counts, keepFuzzy);
  if (path.ends_with(".ts")) return ReadTs(path, counts, keepFuzzy);
  return ReadPo(path, counts, keepFuzzy);
}

void AddLanguage(PldImage& image, std::map<Key, std::size_t>& index, std::size_t language,
                 const std::string& path, BuildCounts& counts) {
  const std::vector<PoEntry> entries = ReadTranslations(path, counts.leftOut);
  const int codePage = image.languages[language].codePage;
  const int textCodePage = EffectiveTextCodePage(image);
  std::optional<std::map<std::string, int>> formOf;
  for (const PoEntry& entry : entries) {
    const bool plural = !entry.msgidPlural.empty();
    if (entry.msgid.empty() || (plural ? !AllForms(entry) : entry.msgstr.empty())) {
      ++counts.untranslated;
      continue;
    }
    if (plural && !formOf) formOf = PluralFormsOfFile(path, counts.leftOut, image, language);
    if (plural) CheckFormCount(entry, counts.leftOut.pluralForms, EntryName(path, entry));
    if (!image.utf16) {
      const std::string name = EntryName(path, entry);
      for (const std::string& text : plural ? entry.msgstrPlural : Texts{entry.msgstr})
        CheckWritable(text, codePage, "msgstr", name);
      CheckWritable(entry.msgid + entry.msgidPlural + entry.context + entry.id, textCodePage,
                    "the key", name);
    }
    const auto [place, added] =
        index.emplace(Key{entry.context, entry.id, entry.msgid}, image.translations.size());
    if (added) {
      PldTranslation translation;
      translation.texts.assign(image.languages.size(), std::string());
      translation.texts[0] = entry.msgid;
      translation.context = entry.context;
      translation.id = entry.id;
      image.translations.push_back(std::move(translation));
    }
    PldTranslation& translation = image.translations[place->second];
    if (plural) {
      AddPluralEntry(translation, language, image.languages.size(), entry, *formOf);
    } else {
      translation.texts[language] = entry.msgstr;
    }
    ++counts.translated;
  }
}

// Writes the findings of one PO file to `report` and its summary line to `summary`; false
// when it has errors (or, `strict`, warnings). `codePage` 0 leaves the code page unchecked.
bool CheckLanguage(const std::string& path, int codePage, bool strict, std::ostream& report,
                   std::string& summary) {
  PoReadCounts counts;
  const CheckResult result =
      CheckEntries(ReadTranslations(path, counts, true), InputName(path), codePage);
  for (const CheckFinding& finding : result.findings)
    report << Printable(FindingText(finding)) << "\n";
  summary += "  " + Printable(CheckSummary(InputName(path), result)) + "\n";
  return result.errors == 0 && (!strict || result.warnings == 0);
}

int Build(const Arguments& arguments, std::ostream& out, std::ostream& err) {
  const std::string source = OneInput(arguments);
  const std::string output = OneOption(arguments, "-o");
  RefuseInputAsOutput({source}, output);
  Manifest manifest = ReadManifest(source);
  RefuseInputAsOutput(manifest.poFiles, output);
  std::map<Key, std::size_t> index;
  std::string summary;
  std::string checkSummary;
  bool failed = false;
  for (std::size_t language = 1; language < manifest.poFiles.size(); ++language) {
    const std::string& path = manifest.poFiles[language];
    if (path.empty()) continue;
    BuildCounts counts;
    AddLanguage(manifest.image, index, language, path, counts);
    failed |= !CheckLanguage(path, 0, arguments.strict, err, checkSummary);
    summary += "  " + path + ": " + std::to_string(counts.translated) + " translated, " +
               std::to_string(counts.untranslated) + " untranslated, " +
               std::to_string(counts.leftOut.fuzzy) + " fuzzy and " +
               std::to_string(counts.leftOut.obsolete) + " obsolete left out\n";
  }
  if (failed) {
    err << checkSummary << "lxpo: " << output << ": not written: the checks failed\n";
    return kLxpoBadInput;
  }
  std::vector<std::uint8_t> bytes;
  try {
    bytes = WritePldImageInKeyOrder(manifest.image);
  } catch (const platform::Exception& error) {
    throw PoError(source + ": " + error.Message());
  }
  WriteOutput(output, bytes, out);
  err << "lxpo: " << output << ": " << manifest.image.languages.size() << " languages, "
      << manifest.image.translations.size() << " translations\n"
      << summary;
  return kLxpoOk;
}

// ---- check

int CheckFitOf(const Arguments& arguments, std::ostream& out, std::ostream& err) {
  const std::string dictionary = OneOption(arguments, "--fit");
  if (arguments.positional.empty()) throw UsageError("forms expected after --fit FILE.pld");
  TFormOptions options;
  if (const auto found = arguments.options.find("--ancestor"); found != arguments.options.end())
    options.ancestors = found->second;
  const FitSummary summary = CheckFit(dictionary, FormFilesOf(arguments.positional), options);
  for (const FitFinding& finding : summary.findings)
    err << Printable(FitFindingText(finding)) << "\n";
  for (const std::string& failure : summary.failures)
    err << "lxpo: " << Printable(failure) << "\n";
  const bool failed = !summary.findings.empty() || !summary.failures.empty();
  out << "lxpo: check --fit: " << (failed ? "failed" : "passed") << "\n  " << summary.forms
      << " forms, " << summary.languages << " languages, " << summary.texts << " texts, "
      << summary.findings.size() << " do not fit\n";
  return failed ? kLxpoBadInput : kLxpoOk;
}

int Check(const Arguments& arguments, std::ostream& out, std::ostream& err) {
  if (arguments.options.contains("--fit")) return CheckFitOf(arguments, out, err);
  if (arguments.positional.empty()) throw UsageError("a manifest or PO files expected");
  std::string summary;
  bool failed = false;
  for (const std::string& input : arguments.positional) {
    if (!input.ends_with(".json")) {
      failed |= !CheckLanguage(input, 0, arguments.strict, err, summary);
      continue;
    }
    const Manifest manifest = ReadManifest(input);
    for (std::size_t language = 1; language < manifest.poFiles.size(); ++language) {
      const std::string& path = manifest.poFiles[language];
      const int codePage = manifest.image.utf16 ? 0 : manifest.image.languages[language].codePage;
      if (!path.empty()) failed |= !CheckLanguage(path, codePage, arguments.strict, err, summary);
    }
  }
  out << "lxpo: check" << (arguments.strict ? " --strict" : "") << ": "
      << (failed ? "failed" : "passed") << "\n"
      << summary;
  return failed ? kLxpoBadInput : kLxpoOk;
}

// ---- export

std::string LanguageCode(const PldLanguage& language) {
  auto trimmed = [](std::string text) {
    text.erase(std::find(text.begin(), text.end(), '\0'), text.end());
    return text;
  };
  const std::string iso = trimmed(language.isoLanguage);
  const std::string country = trimmed(language.isoCountry);
  if (iso.empty()) return std::string();
  return country.empty() ? iso : iso + "_" + country;
}

bool IsPlainName(const std::string& name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-';
  });
}

// Unique file names: the ISO code when the record has one, else "language<N>".
std::vector<std::string> PoFileNames(const PldImage& image) {
  std::vector<std::string> names(image.languages.size());
  for (std::size_t i = 1; i < names.size(); ++i) {
    std::string code = LanguageCode(image.languages[i]);
    if (!IsPlainName(code)) code = "language" + std::to_string(i);
    if (std::find(names.begin(), names.end(), code + ".po") != names.end())
      code += "-" + std::to_string(i);
    names[i] = code + ".po";
  }
  return names;
}

bool HasPlurals(const PldImage& image) {
  return std::any_of(
      image.translations.begin(), image.translations.end(),
      [](const PldTranslation& t) { return t.variantKind == PldVariantKind::Plural; });
}

std::vector<PoEntry> ExportEntries(const PldImage& image, std::size_t language) {
  std::vector<PoEntry> entries;
  for (const PldTranslation& translation : image.translations) {
    if (translation.texts.empty() || translation.texts[0].empty()) continue;
    PoEntry entry;
    entry.context = translation.context;
    entry.id = translation.id;
    entry.msgid = translation.texts[0];
    if (translation.variantKind == PldVariantKind::Plural) {
      ExportPluralEntry(translation, language,
                        LcidOf(image.languages[std::min(language, image.languages.size() - 1)]),
                        entry);
    } else if (language > 0 && language < translation.texts.size()) {
      entry.msgstr = translation.texts[language];
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

// The entries of a template given to export, in its order, with the image's translations;
// then what only the image has. The template brings comments, references and flags.
std::vector<PoEntry> WithTemplate(const std::vector<PoEntry>& entries,
                                  const std::vector<PoEntry>& templateEntries) {
  std::map<Key, std::size_t> translated;
  for (std::size_t i = 0; i < entries.size(); ++i)
    translated.emplace(Key{entries[i].context, entries[i].id, entries[i].msgid}, i);
  std::vector<PoEntry> merged;
  std::vector<bool> used(entries.size(), false);
  for (const PoEntry& templateEntry : templateEntries) {
    PoEntry entry = templateEntry;
    entry.fuzzy = false;
    entry.msgstr.clear();
    entry.line = 0;
    const auto found =
        translated.find(Key{templateEntry.context, templateEntry.id, templateEntry.msgid});
    if (found != translated.end()) {
      if (used[found->second]) continue;
      entry.msgstr = entries[found->second].msgstr;
      used[found->second] = true;
    }
    merged.push_back(std::move(entry));
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!used[i]) merged.push_back(entries[i]);
  }
  return merged;
}

enum class ExportFormat { kPo, kXliff12, kXliff20, kTs };

ExportFormat FormatOption(const Arguments& arguments) {
  if (!arguments.options.contains("--format")) return ExportFormat::kPo;
  const std::string format = OneOption(arguments, "--format");
  if (format == "po") return ExportFormat::kPo;
  if (format == "xliff12") return ExportFormat::kXliff12;
  if (format == "xliff20") return ExportFormat::kXliff20;
  if (format == "ts") return ExportFormat::kTs;
  throw UsageError("--format takes po, xliff12, xliff20 or ts, not \"" + format + "\"");
}

// A language's file in the format asked for.
std::string LanguageFile(const std::vector<PoEntry>& entries, ExportFormat format,
                         const std::string& source, const std::string& language,
                         const std::string& pluralForms) {
  if (format != ExportFormat::kPo && !pluralForms.empty())
    throw PoError("plural entries are exported as PO files only (without --format)");
  switch (format) {
    case ExportFormat::kXliff12:
      return WriteXliff(entries, source, language, XliffVersion::k12);
    case ExportFormat::kXliff20:
      return WriteXliff(entries, source, language, XliffVersion::k20);
    case ExportFormat::kTs:
      return WriteTs(entries, source, language);
    case ExportFormat::kPo:
      break;
  }
  return WritePo(entries, language, pluralForms);
}

std::string FileExtension(ExportFormat format) {
  switch (format) {
    case ExportFormat::kXliff12:
      return ".xlf";
    case ExportFormat::kXliff20:
      return ".xliff";
    case ExportFormat::kTs:
      return ".ts";
    case ExportFormat::kPo:
      break;
  }
  return ".po";
}

// The entries of --template, if given, which becomes one of `inputs`.
std::vector<PoEntry> ReadTemplate(const Arguments& arguments, std::vector<std::string>& inputs) {
  if (!arguments.options.contains("--template")) return {};
  inputs.push_back(OneOption(arguments, "--template"));
  PoReadCounts counts;
  return ReadPo(inputs.back(), counts, true);
}

void AddUnique(std::vector<std::string>& to, const std::vector<std::string>& more) {
  for (const std::string& line : more) {
    if (std::find(to.begin(), to.end(), line) == to.end()) to.push_back(line);
  }
}

// The pictures and rooms of the forms' texts in language `language`, on the entries of their
// keys; an entry looked up by its text alone takes those of every text of the forms like it.
// With `sizeFlags`, the rooms measured replace the size flags of the template.
void AddFormNotes(std::vector<PoEntry>& entries, const std::vector<TFormFile>& forms,
                  const std::string& dictionary, std::size_t language, int textCodePage,
                  bool sizeFlags) {
  std::map<Key, std::vector<const FormNote*>> byKey;
  std::vector<std::vector<FormNote>> notes;
  for (const TFormFile& form : forms)
    notes.push_back(FormNotes(form, dictionary, static_cast<int>(language), {}, textCodePage));
  for (const std::vector<FormNote>& ofForm : notes) {
    for (const FormNote& note : ofForm) {
      byKey[Key{note.context, note.id, note.msgid}].push_back(&note);
      byKey[Key{"", "", note.msgid}].push_back(&note);
    }
  }
  for (PoEntry& entry : entries) {
    const auto found = byKey.find(Key{entry.context, entry.id, entry.msgid});
    if (found == byKey.end()) continue;
    std::vector<std::string> rooms;
    for (const FormNote* note : found->second) {
      AddUnique(entry.comments, note->comments);
      AddUnique(rooms, note->flags);
    }
    if (!sizeFlags || rooms.empty()) continue;
    std::erase_if(entry.flags,
                  [](const std::string& flag) { return flag.starts_with("max-size:"); });
    AddUnique(entry.flags, rooms);
  }
}

int Export(const Arguments& arguments, std::ostream& summary) {
  const std::string source = OneInput(arguments);
  const std::filesystem::path folder = OneOption(arguments, "-d");
  const ExportFormat format = FormatOption(arguments);
  std::vector<std::string> inputs{source};
  const bool withTemplate = arguments.options.contains("--template");
  const std::vector<PoEntry> templateEntries = ReadTemplate(arguments, inputs);
  const std::vector<std::uint8_t> bytes = ReadInputFile(source);
  PldImage image;
  try {
    image = ParsePldImage(bytes);
  } catch (const platform::Exception& error) {
    throw PoError(InputName(source) + ": " + error.Message());
  }
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error))
    throw PoError(folder.string() + ": not a folder");
  // Everything is made before the first file is written.
  std::vector<TFormFile> forms;
  if (const auto found = arguments.options.find("--form"); found != arguments.options.end())
    forms = FormFilesOf(found->second);
  auto entriesOf = [&](const PldImage& image, std::size_t language) {
    std::vector<PoEntry> entries = ExportEntries(image, language);
    if (withTemplate) entries = WithTemplate(entries, templateEntries);
    // The template's flags, its size flags too, were its author's choice: they stay.
    if (!forms.empty())
      AddFormNotes(entries, forms, source, language, EffectiveTextCodePage(image),
                   arguments.sizeFlags);
    return entries;
  };
  std::vector<std::pair<std::string, std::string>> files;
  files.emplace_back("messages.pot", WritePo(entriesOf(image, 0), "",
                                             HasPlurals(image) ? kTemplatePluralForms : ""));
  std::vector<std::string> names = PoFileNames(image);
  for (std::string& name : names) {
    if (!name.empty()) name.replace(name.size() - 3, 3, FileExtension(format));
  }
  std::string sourceLanguage = LanguageCode(image.languages[0]);
  if (sourceLanguage.empty()) sourceLanguage = "en";
  nlohmann::json manifest = nlohmann::json::parse(ImageToJson(image));
  manifest.erase("translations");
  for (std::size_t i = 1; i < image.languages.size(); ++i) {
    const std::string pluralForms =
        HasPlurals(image) ? platform::GettextPlurals(LcidOf(image.languages[i])).Header() : "";
    files.emplace_back(names[i], LanguageFile(entriesOf(image, i), format, sourceLanguage,
                                              LanguageCode(image.languages[i]), pluralForms));
    manifest["languages"][i]["po"] = names[i];
  }
  files.emplace_back("dictionary.json", manifest.dump(2) + "\n");
  // All files are written before any replaces its target: a failure leaves the old set whole.
  OutputFiles outputs;
  for (const auto& [name, content] : files) {
    RefuseInputAsOutput(inputs, (folder / name).string());
    outputs.Add((folder / name).string(), BytesOf(content));
  }
  outputs.Commit();
  summary << "lxpo: " << folder.string() << ": messages.pot, " << image.languages.size() - 1 << " "
          << (format == ExportFormat::kPo ? "PO" : FileExtension(format).substr(1))
          << " files and dictionary.json; " << image.translations.size() << " translations\n";
  return kLxpoOk;
}

// ---- pseudo

int Pseudo(const Arguments& arguments, std::ostream& out, std::ostream& err) {
  const std::string source = OneInput(arguments);
  const std::string output = OneOption(arguments, "-o");
  std::string language;
  if (arguments.options.contains("--language")) language = OneOption(arguments, "--language");
  RefuseInputAsOutput({source}, output);
  PoReadCounts counts;
  std::vector<PoEntry> entries = ReadPo(source, counts, true);
  const auto lcid = static_cast<unsigned>(language.empty() ? platform::kEnglishUnitedStates
                                                           : platform::LcidOfPosixLocale(language));
  bool plurals = false;
  for (PoEntry& entry : entries) {
    if (!entry.msgidPlural.empty()) {
      PseudoPluralEntry(entry, lcid, PseudoText);
      plurals = true;
    } else {
      entry.msgstr = PseudoText(entry.msgid);
    }
    entry.fuzzy = false;
  }
  const std::string pluralForms = plurals ? platform::GettextPlurals(lcid).Header() : "";
  WriteResult(output, WritePo(entries, language, pluralForms), out, err);
  err << "lxpo: " << output << ": " << entries.size() << " pseudo-texts\n";
  return kLxpoOk;
}

int Dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) throw UsageError("a command is required");
  const std::string& command = args[0];
  if (command == "extract")
    return Extract(ParseArguments(args, 1, {"-o", "--strings", "--code-page", "--ancestor"}), out,
                   err);
  if (command == "build") return Build(ParseArguments(args, 1, {"-o"}), out, err);
  if (command == "check") return Check(ParseArguments(args, 1, {"--fit", "--ancestor"}), out, err);
  if (command == "export")
    return Export(ParseArguments(args, 1, {"-d", "--template", "--format", "--form"}), err);
  if (command == "pseudo") return Pseudo(ParseArguments(args, 1, {"-o", "--language"}), out, err);
  if (command.size() > 1 && command[0] == '-') throw UsageError("unknown option " + command);
  throw UsageError("unknown command " + command);
}

}  // namespace

int RunLxpo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (std::find(args.begin(), args.end(), "--help") != args.end() ||
      (!args.empty() && args[0] == "-h")) {
    out << kUsage;
    return kLxpoOk;
  }
  if (args.size() == 1 && args[0] == "--version") {
    out << "lxpo (Lx) " << kLxVersion << "\n";
    return kLxpoOk;
  }
  try {
    return Dispatch(args, out, err);
  } catch (const UsageError& error) {
    err << "lxpo: " << Printable(error.Message()) << "\nTry 'lxpo --help'.\n";
    return kLxpoBadUsage;
  } catch (const platform::Exception& error) {
    // Input bytes in a message are never sent to the terminal as they are.
    err << "lxpo: " << Printable(error.Message()) << "\n";
  } catch (const std::bad_alloc&) {
    err << "lxpo: out of memory\n";
  } catch (const std::exception& error) {
    err << "lxpo: " << Printable(Excerpt(JsonMessage(error.what()), 200)) << "\n";
  }
  return kLxpoBadInput;
}

}  // namespace lx::tools
