// GNU gettext as the benchmark measures it: glibc's dgettext on catalogs
// built by msgfmt, under a de_DE.UTF-8 message locale, switching languages
// through LANGUAGE as the gettext manual describes.
#include <libintl.h>

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
// gettext never forgets a catalog it loaded, so every open binds a fresh copy.
constexpr int kOpenCopies = 64;

std::string PoQuoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

bool BuildCatalog(const Corpus& corpus, int language, const std::string& folder) {
  const std::string po = folder + "/l" + std::to_string(language) + ".po";
  {
    std::ofstream out(po);
    out << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
    const auto& texts = corpus.translations[language - 1];
    for (std::size_t i = 0; i < corpus.keys.size(); ++i) {
      out << "msgid " << PoQuoted(corpus.keys[i]) << "\nmsgstr " << PoQuoted(texts[i]) << "\n\n";
    }
  }
  const std::string target = folder + "/base/l" + std::to_string(language) + "/LC_MESSAGES";
  fs::create_directories(target);
  return RunCommand("msgfmt -o " + target + "/" + kDomain + ".mo " + po);
}

class GettextEngine : public Engine {
 public:
  explicit GettextEngine(std::string folder) : folder_(std::move(folder)) {
    bind_textdomain_codeset(kDomain, "UTF-8");  // the catalogs' own: no conversion per call
  }

  std::string Name() const override { return "gettext"; }

  void Open(int language) override {
    const std::string copy = folder_ + "/open" + std::to_string(nextCopy_++ % kOpenCopies);
    bindtextdomain(kDomain, copy.c_str());
    Switch(language);
  }

  void Switch(int language) override {
    setenv("LANGUAGE", ("l" + std::to_string(language)).c_str(), 1);
    ++_nl_msg_cat_cntr;
  }

  std::size_t Lookup(const std::string& key) override {
    return reinterpret_cast<std::size_t>(dgettext(kDomain, key.c_str()));
  }

 private:
  std::string folder_;
  int nextCopy_ = 0;
};

bool MakeOpenCopies(const Corpus& corpus, const std::string& folder) {
  for (int copy = 0; copy < kOpenCopies; ++copy) {
    for (int language = 1; language < corpus.LanguageCount(); ++language) {
      const std::string name = "/l" + std::to_string(language) + "/LC_MESSAGES/" + kDomain + ".mo";
      const std::string target = folder + "/open" + std::to_string(copy) + name;
      std::error_code error;
      fs::create_directories(fs::path(target).parent_path(), error);
      fs::create_hard_link(folder + "/base" + name, target, error);
      if (error) return false;
    }
  }
  return true;
}

}  // namespace

std::unique_ptr<Engine> MakeGettextEngine(const Corpus& corpus, const std::string& folder,
                                          std::string& why) {
  if (std::setlocale(LC_MESSAGES, "de_DE.UTF-8") == nullptr) {
    why = "no de_DE.UTF-8 locale (make bench compiles one into LOCPATH)";
    return nullptr;
  }
  const std::string root = folder + "/gettext";
  fs::create_directories(root);
  for (int language = 1; language < corpus.LanguageCount(); ++language) {
    if (!BuildCatalog(corpus, language, root)) {
      why = "msgfmt failed";
      return nullptr;
    }
  }
  if (!MakeOpenCopies(corpus, root)) {
    why = "cannot link catalog copies";
    return nullptr;
  }
  return std::make_unique<GettextEngine>(root);
}

}  // namespace lx::bench
