// probe: a desktop utility that comes up in the user's language.
//
// Start-up order: module initialisation (companion files, scratch folder,
// formats, then the help file) before any window exists; the main window and
// its start routine; finalisation in reverse order at exit (the help engine
// unloaded before the scratch folder is removed), on every way out: a normal
// return, exit(), an exception and every signal that ends a program by default.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/LanguageChoice.h"
#include "app/ProbeForm.h"
#include "app/ProbeText.h"
#include "app/TextEdits.h"
#include "frame/dmLanguages.h"
#include "frame/lbHelp.h"
#include "frame/lbPaths.h"
#include "framework/runtime/Application.h"
#include "lx/LxVersion.h"
#include "platform/FileSystem.h"
#include "screen/EditMode.h"
#include "screen/Screen.h"

namespace {

using namespace lx;

// Module initialisation and finalisation, in dependency order. The frame's
// part of finalisation runs once, whichever way out comes first; exit()
// reaches it through atexit, before the statics it uses are gone.
bool frameFinalized = false;

void FinalizeFrame() {
  if (frameFinalized) return;
  frameFinalized = true;
  frame::FinalizeHelp();
  frame::FinalizeCompanionFiles();
}

class ProgramModules {
 public:
  ProgramModules() {
    framework::Application();
    frame::InitializeCompanionFiles();
    frame::InitializeHelp();
    frame::dmlg = nullptr;
    std::atexit(FinalizeFrame);
  }
  ~ProgramModules() { Finalize(); }
  ProgramModules(const ProgramModules&) = delete;
  ProgramModules& operator=(const ProgramModules&) = delete;

  /// The application object goes last, with the data module it owns.
  void Finalize() {
    FinalizeFrame();
    framework::DoneApplication();
  }
};

ProgramModules* modules = nullptr;

// The signals that end a program by default (and can be caught) only note the signal and
// wake the wait; the program then finalises as usual and ends by the signal. A system call
// that waits (a read, a write to a full pipe, an open) is interrupted rather than resumed,
// so the program gets there whatever it waited for; a second signal ends it at once.
constexpr int kEndingSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM, SIGPIPE,
                                  SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU, SIGVTALRM};

volatile std::sig_atomic_t pendingSignal = 0;
int wakeUp[2] = {-1, -1};

void NoteSignal(int signal) {
  if (pendingSignal != 0) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  pendingSignal = signal;
  const char byte = 1;
  if (wakeUp[1] >= 0) (void)!write(wakeUp[1], &byte, 1);
}

void InstallSignalHandlers() {
  if (pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0) wakeUp[0] = wakeUp[1] = -1;
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  for (int signal : kEndingSignals)
    sigaction(signal, &action, nullptr);
  std::set_terminate([] {
    FinalizeFrame();
    std::abort();
  });
}

// Ends by the noted signal, once finalised, so that the caller sees how it ended.
void EndBySignal() {
  const int signal = pendingSignal;
  if (signal == 0) return;
  if (modules != nullptr) modules->Finalize();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// Until standard input closes (the window is closed) or a signal comes.
void WaitForClose() {
  pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {wakeUp[0], POLLIN, 0}};
  char buffer[256];
  while (pendingSignal == 0) {
    if (poll(watched, 2, -1) < 0) continue;
    if ((watched[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0 &&
        read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
      return;
    }
  }
}

// ---- Command line

struct Options {
  bool help = false;
  bool version = false;
  bool listLanguages = false;
  bool wait = false;
  bool headless = false;
  bool follow = false;
  bool edit = false;
  std::optional<std::string> language;
  std::optional<std::string> poFolder;
};

// Each option: its name, whether it takes a value, and what it sets.
struct OptionSpec {
  std::string_view name;
  std::string_view value;
  std::string_view description;
  void (*apply)(Options& options, const std::string& value);
};

const std::vector<OptionSpec>& OptionSpecs() {
  static const std::vector<OptionSpec> specs = {
      {"--edit", "",
       "edit mode: Ctrl+Shift+E or Ctrl+Shift+click on a text corrects its translation in the "
       "language's PO file",
       [](Options& o, const std::string&) { o.edit = true; }},
      {"--follow", "",
       "follow probe.pld: a dictionary replaced or rewritten while the window shows is shown "
       "at once",
       [](Options& o, const std::string&) { o.follow = true; }},
      {"--headless", "", "write the window to standard output as text, even with a display",
       [](Options& o, const std::string&) { o.headless = true; }},
      {"--help", "", "show this help and end",
       [](Options& o, const std::string&) { o.help = true; }},
      {"--language", "NAME|ID",
       "show the window in this language (English or own name, or position), not the stored one",
       [](Options& o, const std::string& v) { o.language = v; }},
      {"--list-languages", "", "list the dictionary's languages and end",
       [](Options& o, const std::string&) { o.listLanguages = true; }},
      {"--po", "DIR", "the folder of the PO files --edit corrects (po/ beside probe)",
       [](Options& o, const std::string& v) { o.poFolder = v; }},
      {"--wait", "", "keep the window until standard input closes",
       [](Options& o, const std::string&) { o.wait = true; }},
      {"--version", "", "show the version and end",
       [](Options& o, const std::string&) { o.version = true; }},
  };
  return specs;
}

void PrintUsage(std::ostream& out) {
  out << "Usage: probe [OPTION]...\n"
         "Shows the program's main window in the language stored in the settings file\n"
         "beside it (probe.ini, section [language], keys activeName and activeId), with\n"
         "the dictionary probe.pld; without a dictionary the window stays in English.\n"
         "Its Language menu switches the window to another language and stores the\n"
         "choice there. Without a display ($DISPLAY, $WAYLAND_DISPLAY), or with\n"
         "--headless, the window is written to standard output as text.\n\n";
  for (const OptionSpec& option : OptionSpecs()) {
    std::string head = std::string(option.name);
    if (!option.value.empty()) head += " " + std::string(option.value);
    out << "  " << head << std::string(head.size() < 24 ? 24 - head.size() : 1, ' ')
        << option.description << "\n";
  }
}

// False, with a message, for an unknown option or a missing value.
bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const OptionSpec* found = nullptr;
    for (const OptionSpec& option : OptionSpecs()) {
      if (option.name == argument) found = &option;
    }
    if (found == nullptr) {
      std::cerr << "probe: unknown option '" << argument << "'\n";
      return false;
    }
    std::string value;
    if (!found->value.empty()) {
      if (i + 1 >= argc) {
        std::cerr << "probe: option '" << argument << "' needs a value\n";
        return false;
      }
      value = argv[++i];
    }
    found->apply(options, value);
  }
  return true;
}

lang::TLxDictionary* ProgramDictionary() {
  lang::TLxDictionary* dictionary = frame::dmlg == nullptr ? nullptr : frame::dmlg->Dictionary;
  return dictionary != nullptr && dictionary->IsOpen() ? dictionary : nullptr;
}

// The language --language names, for this run only; false, with the choices, when it names none.
bool ChooseLanguage(const std::string& text) {
  frame::LanguageSetup("");
  lang::TLxDictionary* dictionary = ProgramDictionary();
  const std::optional<int> position = app::FindLanguageChoice(dictionary, text);
  if (!position) {
    std::cerr << "probe: unknown language '" << text << "'; the choices are:\n"
              << app::LanguageChoices(dictionary);
    return false;
  }
  if (dictionary != nullptr && *position != dictionary->Language())
    frame::OpenDictionaryById(frame::dmlg, frame::dmlg->Dictionary->FileName(), *position);
  return true;
}

void ListLanguages() {
  frame::LanguageSetup("");
  lang::TLxDictionary* dictionary = ProgramDictionary();
  if (dictionary == nullptr) {
    std::cout << "No dictionary: the program runs in English.\n";
    return;
  }
  for (int i = 0; i < dictionary->GetLanguageCount(); ++i) {
    std::cout << i << "  " << app::EnglishNameAt(dictionary, i) << "  "
              << app::OwnNameAt(dictionary, i) << (i == dictionary->Language() ? "  (active)" : "")
              << "\n";
  }
}

// A replaced probe.pld is taken at once; one that cannot be taken is named on standard error
// (once) and the window keeps its texts.
void FollowDictionary() {
  frame::LanguageSetup("");
  if (frame::dmlg == nullptr || frame::dmlg->Dictionary == nullptr) return;
  dict::TLxBinaryDictionary& dictionary = *frame::dmlg->Dictionary;
  dictionary.OnReloadError = [](framework::TObject*, const std::string& message) {
    std::cerr << "probe: " << message << "; the window keeps its texts\n";
  };
  dictionary.SetFollow(true);
}

dict::TLxBinaryDictionary* OpenProgramDictionary() {
  dict::TLxBinaryDictionary* dictionary =
      frame::dmlg == nullptr ? nullptr : frame::dmlg->Dictionary;
  return dictionary != nullptr && dictionary->IsOpen() ? dictionary : nullptr;
}

// The folder of probe's PO files: --po, else po/ beside probe.
std::string PoFolder(const Options& options) {
  if (options.poFolder) return *options.poFolder;
  const std::string executable = platform::ExecutablePath();
  return executable.substr(0, executable.rfind('/') + 1) + "po";
}

// The edit mode on probe's window: a caption its translator translated is corrected in the PO
// file of the window's language and in the running window.
void StartEditMode(app::TProbeForm& form, const std::string& folder) {
  static std::unique_ptr<app::TPoFolder> poFolder;
  poFolder = std::make_unique<app::TPoFolder>(folder);
  const auto translated = [&form](framework::TControl& control) {
    translator::TLxTranslator* translator = form.Translator();
    return translator == nullptr ? std::nullopt : app::TranslatedCaption(*translator, control);
  };
  screen::TTextEditor editor;
  editor.find = [&form,
                 translated](framework::TControl& control) -> std::optional<screen::TEditableText> {
    dict::TLxBinaryDictionary* dictionary = OpenProgramDictionary();
    const std::optional<app::TTranslatedText> text = translated(control);
    if (dictionary == nullptr || !text) return std::nullopt;
    try {
      poFolder->Read(*dictionary, *text);
    } catch (const platform::Exception&) {
      // Saving tells why the file cannot take the text.
    }
    return screen::TEditableText{
        text->context + "|" + text->id, app::ToUtf8(text->native, dictionary->NativeCodePage()),
        app::ToUtf8(text->translation, form.TextCodePage()),
        std::to_string(control.Width()) + " x " + std::to_string(control.Height()) + " pixels"};
  };
  editor.save = [translated](framework::TControl& control, const std::string& utf8) {
    dict::TLxBinaryDictionary* dictionary = OpenProgramDictionary();
    const std::optional<app::TTranslatedText> text = translated(control);
    if (dictionary == nullptr || !text) return std::string("The text is no longer there");
    return poFolder->Save(*dictionary, *text, utf8);
  };
  screen::SetTextEditor(std::move(editor));
}

// The window through the on-screen backend, until it is closed or a signal comes; false,
// with nothing shown, when the display cannot be opened.
bool RunOnScreen(int& argc, char**& argv, const Options& options) {
  if (!screen::Install(argc, argv)) return false;
  if (options.follow) FollowDictionary();
  screen::WakeOnReadable(wakeUp[0]);
  app::TProbeForm* form = nullptr;
  framework::TApplication& application = framework::Application();
  application.CreateForm(form);
  // The window's texts are in the code page of the language it shows.
  screen::SetTextCodePage(
      [form](const framework::TControl&) { return static_cast<unsigned>(form->TextCodePage()); });
  screen::SetMenuTextCodePage([form](const framework::TMenuItem& item, unsigned) {
    return static_cast<unsigned>(form->CaptionCodePage(item));
  });
  form->StartUp();
  if (options.edit) StartEditMode(*form, PoFolder(options));
  while (pendingSignal == 0 && !application.Terminated() && form->Visible())
    application.HandleMessage();
  screen::Uninstall();
  return true;
}

void ShowMainWindow(bool wait) {
  app::TProbeForm* form = nullptr;
  framework::Application().CreateForm(form);
  form->StartUp();
  app::RenderWindowAsText(
      *form, form->TextCodePage(), std::cout,
      [form](const framework::TMenuItem& item) { return form->CaptionCodePage(item); });
  const std::string& helpFile = framework::Application().HelpFile();
  std::cout << "Help file: " << (helpFile.empty() ? "(none)" : helpFile) << "\n";
  std::cout << "Hand cursor: " << (app::HandCursorInstalled() ? "MANO" : "standard") << "\n";
  std::cout.flush();
  if (wait) WaitForClose();
}

// A display to show the window on: an X server or a Wayland compositor.
bool DisplayNamed() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

void ShowWindow(const Options& options, int& argc, char**& argv) {
  if (!options.headless && DisplayNamed()) {
    if (RunOnScreen(argc, argv, options)) return;
    std::cerr << "probe: cannot open the display; the window follows as text\n";
  }
  ShowMainWindow(options.wait);
}

int Run(const Options& options, int& argc, char**& argv) {
  // Signals are only noted until the program is ready to end by them.
  InstallSignalHandlers();
  ProgramModules programModules;
  modules = &programModules;
  framework::Application().Initialize();
  app::RegisterProbeClasses();
  try {
    if (options.language && !ChooseLanguage(*options.language)) {
      modules = nullptr;
      return 2;
    }
    if (options.listLanguages) {
      ListLanguages();
    } else {
      ShowWindow(options, argc, argv);
    }
  } catch (...) {
    framework::Application().HandleException(nullptr);
    EndBySignal();
    modules = nullptr;
    return 1;
  }
  EndBySignal();
  modules = nullptr;
  // A window or list that did not reach its reader is no success.
  if (!std::cout.flush()) {
    std::cerr << "probe: standard output cannot be written\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    PrintUsage(std::cerr);
    return 2;
  }
  if (options.help) {
    PrintUsage(std::cout);
    return 0;
  }
  if (options.version) {
    std::printf("probe (Lx) %s\n", lx::kLxVersion);
    return 0;
  }
  return Run(options, argc, argv);
}
