// GNU gettext as the benchmark measures it: glibc's dgettext on catalogs
// built by msgfmt, under a de_DE.UTF-8 message locale, switching languages
// through LANGUAGE as the gettext manual describes. Keyed texts carry msgctxt
// and are looked up as pgettext does for a text known only at run time: the
// context, the character 4 and the text, in a buffer reused from call to call.
#include <libintl.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Engine.h"

extern "C" int _nl_msg_cat_cntr;  // bumped to tell gettext the language changed

namespace lx::bench {

namespace {

namespace fs = std::filesystem;
constexpr const char* kDomain = "lxbench";

std::string PoQuoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string CatalogName(int language) {
  return "/l" + std::to_string(language) + "/LC_MESSAGES/" + kDomain + ".mo";
}

bool BuildCatalog(const Corpus& corpus, int language, Keys keys, const std::string& root) {
  const std::string po = root + "/l" + std::to_string(language) + ".po";
  {
    std::ofstream out(po);
    out << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
    const auto& texts = corpus.translations[static_cast<std::size_t>(language - 1)];
    for (std::size_t i = 0; i < corpus.keys.size(); ++i) {
      if (keys == Keys::Context) out << "msgctxt " << PoQuoted(kContext) << '\n';
      out << "msgid " << PoQuoted(corpus.keys[i]) << "\nmsgstr " << PoQuoted(texts[i]) << "\n\n";
    }
  }
  const std::string target = root + "/base" + CatalogName(language);
  fs::create_directories(fs::path(target).parent_path());
  return RunCommand("msgfmt -o " + target + ".partial " + po + " && mv " + target + ".partial " +
                    target);
}

class GettextEngine : public Engine {
 public:
  GettextEngine(std::string root, int languages, Keys keys)
      : root_(std::move(root)), languages_(languages), keys_(keys) {
    bind_textdomain_codeset(kDomain, "UTF-8");  // the catalogs' own: no conversion per call
  }

  ~GettextEngine() override {
    std::error_code ignored;
    for (const std::string& copy : copies_)
      fs::remove_all(copy, ignored);
  }

  // glibc never forgets a catalog it loaded, so every open binds a copy it has not seen:
  // hard links to the catalogs under a new folder name.
  void PrepareOpen() override {
    const std::string copy =
        root_ + "/open-" + std::to_string(getpid()) + "-" + std::to_string(copies_.size());
    for (int language = 1; language < languages_; ++language) {
      const std::string target = copy + CatalogName(language);
      fs::create_directories(fs::path(target).parent_path());
      fs::create_hard_link(root_ + "/base" + CatalogName(language), target);
    }
    copies_.push_back(copy);
  }

  void Open(int language) override {
    if (copies_.empty()) PrepareOpen();
    bindtextdomain(kDomain, copies_.back().c_str());
    Switch(language);
  }

  void Switch(int language) override {
    setenv("LANGUAGE", ("l" + std::to_string(language)).c_str(), 1);
    ++_nl_msg_cat_cntr;
  }

  std::size_t Lookup(const std::string& key) override {
    const char* query = key.c_str();
    if (keys_ == Keys::Context) {
      keyed_.assign(kContext).append(1, '\004').append(key);
      query = keyed_.c_str();
    }
    const char* answer = dgettext(kDomain, query);
    if (answer == query) return 0;  // gettext hands back the key it was given
    value_.assign(answer);
    return value_.size();
  }

 private:
  std::string root_;
  int languages_;
  Keys keys_;
  std::vector<std::string> copies_;
  std::string keyed_;
  std::string value_;
};

}  // namespace

std::unique_ptr<Engine> MakeGettextEngine(const Corpus& corpus, const std::string& folder,
                                          Keys keys, std::string& why) {
  if (std::setlocale(LC_MESSAGES, "de_DE.UTF-8") == nullptr) {
    why = "no de_DE.UTF-8 locale (make bench compiles one into LOCPATH)";
    return nullptr;
  }
  const std::string root = folder + (keys == Keys::Context ? "/gettext-context" : "/gettext-word");
  for (int language = 1; language < corpus.LanguageCount(); ++language) {
    fs::create_directories(root);
    if (fs::exists(root + "/base" + CatalogName(language))) continue;
    if (!BuildCatalog(corpus, language, keys, root)) {
      why = "msgfmt failed";
      return nullptr;
    }
  }
  return std::make_unique<GettextEngine>(root, corpus.LanguageCount(), keys);
}

}  // namespace lx::bench
