#include "FormPictures.h"

#include <filesystem>
#include <set>

#include "dict/LxBinDic.h"
#include "formtools/FormBatch.h"
#include "formtools/ToolForm.h"
#include "framework/controls/Controls.h"
#include "framework/controls/Menus.h"
#include "lx/LxVersion.h"
#include "platform/Exception.h"
#include "screen/Pictures.h"
#include "screen/Screen.h"
#include "toolfiles/ToolFiles.h"
#include "translator/LxPoly.h"
#include "translator/LxTargetProperties.h"

namespace lx::tools {
namespace {

constexpr char kUsage[] = R"(Usage:
  lxpictures FILE.pld FORM|FOLDER... -d FOLDER
  lxpictures --help | --version

Shows each form in every language of the dictionary FILE.pld through the
screen layer, translated by the form's own translator (texts, fonts,
far-east scale, mirroring), and writes FOLDER/<form>.<language>.png (the
language's ISO code, "native" for the native language), each translated
control and top menu item outlined and its key (msgctxt "Class|Component")
written beside it; the items of the drop-down menus are listed with their
keys in a legend under the window. The PO notes "#. picture:" name these files. A folder is walked for its
forms. Needs an X display: run it under xvfb-run. Exit codes: 0 ok, 1 bad
input, 2 bad usage.
)";

constexpr std::size_t kMaxFormSize = 64u << 20;

struct Arguments {
  std::string dictionary;
  std::vector<std::string> forms;
  std::string folder;
};

bool ParseArguments(const std::vector<std::string>& args, Arguments& parsed, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-d") {
      if (i + 1 >= args.size()) return error = "-d needs a value", false;
      parsed.folder = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return error = "unknown option " + args[i], false;
    } else if (parsed.dictionary.empty()) {
      parsed.dictionary = args[i];
    } else {
      parsed.forms.push_back(args[i]);
    }
  }
  if (parsed.dictionary.empty() || parsed.forms.empty()) error = "a dictionary and forms expected";
  if (error.empty() && parsed.folder.empty()) error = "-d is required";
  return error.empty();
}

// The keys of the controls and menu items the translator translated, as the template names
// them.
std::vector<screen::TPictureMark> MarksOf(TToolForm& loaded) {
  const translator::TLxTranslatorTable& table = loaded.Translator().Table();
  std::vector<screen::TPictureMark> marks;
  std::set<const framework::TObject*> marked;
  for (int i = 0; i < table.Count(); ++i) {
    const translator::TLxTranslatorTableItem& item = table.Items(i);
    const auto* control = dynamic_cast<const framework::TControl*>(item.Control);
    const auto* menuItem = dynamic_cast<const framework::TMenuItem*>(item.Control);
    if ((control == nullptr && menuItem == nullptr) || control == &loaded.Root() ||
        item.PropertyName == "Hint" || !marked.insert(item.Control).second)
      continue;
    marks.push_back({control, loaded.Root().ClassName() + "|" + item.ComponentName, menuItem});
  }
  return marks;
}

// The picture of one form in one language, written to `folder`; its file name.
std::string TakePicture(const TFormFile& file, const std::vector<std::uint8_t>& bytes,
                        const std::string& dictionaryFile, int language,
                        const std::string& folder) {
  dict::TLxBinaryDictionary dictionary(nullptr);
  OpenToolDictionary(dictionary, dictionaryFile, language);
  TToolForm loaded(file.path, bytes, {});
  const lang::TLxLanguage& current = dictionary.CurrentLanguage();
  const unsigned codePage = current.CodePage == 0 ? 1252u : static_cast<unsigned>(current.CodePage);
  screen::SetTextCodePage([codePage](const framework::TControl&) { return codePage; });
  translator::TLxTranslator& formTranslator = loaded.Translator();
  formTranslator.SetDictionary(&dictionary);
  if (formTranslator.Targets()->Count() == 0) formTranslator.Targets()->AddDefaults();
  // On screen first, as a program's window is when its language changes.
  loaded.Root().Show();
  formTranslator.Open();
  screen::Refresh();
  const std::vector<std::uint8_t> png = screen::FormPicture(loaded.Root(), MarksOf(loaded));
  loaded.Root().Hide();
  screen::Refresh();
  formTranslator.SetDictionary(nullptr);
  if (png.empty()) throw platform::Exception(InputName(file.path) + ": the form shows no window");
  const std::string name =
      FormPictureName(file.name, current.IsoLanguageName, current.IsoCountryName);
  WriteOutputFile((std::filesystem::path(folder) / name).string(), png);
  return name;
}

int LanguageCount(const std::string& dictionaryFile) {
  dict::TLxBinaryDictionary dictionary(nullptr);
  OpenToolDictionary(dictionary, dictionaryFile, 0);
  return dictionary.GetLanguageCount();
}

int TakePictures(const Arguments& arguments, std::ostream& out, std::ostream& err) {
  std::error_code error;
  if (!std::filesystem::is_directory(arguments.folder, error))
    throw ToolFileError(arguments.folder + ": not a folder");
  const int languages = LanguageCount(arguments.dictionary);
  int pictures = 0;
  int failed = 0;
  for (const TFormFile& file : FormFilesOf(arguments.forms)) {
    try {
      const std::vector<std::uint8_t> bytes = ReadInputFile(file.path, kMaxFormSize);
      for (int language = 0; language < languages; ++language) {
        out << TakePicture(file, bytes, arguments.dictionary, language, arguments.folder) << "\n";
        ++pictures;
      }
    } catch (...) {
      ++failed;
      err << "lxpictures: " << Printable(FailureLine(file.path)) << "\n";
    }
  }
  err << "lxpictures: " << arguments.folder << ": " << pictures << " pictures, " << failed
      << " forms failed\n";
  return failed == 0 ? 0 : 1;
}

}  // namespace

int RunLxpictures(int& argc, char**& argv, std::ostream& out, std::ostream& err) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") return out << kUsage, 0;
  }
  if (args.size() == 1 && args[0] == "--version") {
    out << "lxpictures (Lx) " << kLxVersion << "\n";
    return 0;
  }
  Arguments arguments;
  std::string usage;
  if (!ParseArguments(args, arguments, usage)) {
    err << "lxpictures: " << Printable(usage) << "\nTry 'lxpictures --help'.\n";
    return 2;
  }
  if (!screen::Install(argc, argv)) {
    err << "lxpictures: no display (run it under xvfb-run)\n";
    return 1;
  }
  int code = 1;
  try {
    code = TakePictures(arguments, out, err);
  } catch (const platform::Exception& error) {
    err << "lxpictures: " << Printable(error.Message()) << "\n";
  }
  screen::Uninstall();
  return code;
}

}  // namespace lx::tools
