// Qt's QTranslator on .qm catalogs built by lrelease. Keyed texts lie in the
// context "Form", texts by word alone in the empty context. The answer is the
// QString that translate() builds: Qt's own copy of it, not converted further.
#include <QString>
#include <QTranslator>
#include <filesystem>
#include <fstream>

#include "Engine.h"

namespace lx::bench {

namespace {

namespace fs = std::filesystem;

std::string XmlEscaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string CatalogFile(const std::string& folder, int language) {
  return folder + "/l" + std::to_string(language) + ".qm";
}

const char* ContextOf(Keys keys) {
  return keys == Keys::Context ? kContext : "";
}

bool BuildCatalog(const Corpus& corpus, int language, Keys keys, const std::string& folder) {
  const std::string ts = folder + "/l" + std::to_string(language) + ".ts";
  {
    std::ofstream out(ts);
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
           "<TS version=\"2.1\" language=\"l"
        << language << "\">\n<context>\n<name>" << ContextOf(keys) << "</name>\n";
    const auto& texts = corpus.translations[static_cast<std::size_t>(language - 1)];
    for (std::size_t i = 0; i < corpus.keys.size(); ++i) {
      out << "<message><source>" << XmlEscaped(corpus.keys[i]) << "</source><translation>"
          << XmlEscaped(texts[i]) << "</translation></message>\n";
    }
    out << "</context>\n</TS>\n";
  }
  const std::string target = CatalogFile(folder, language);
  return RunCommand(std::string(LX_LRELEASE) + " -silent " + ts + " -qm " + target +
                    ".partial.qm && mv " + target + ".partial.qm " + target);
}

class QtEngine : public Engine {
 public:
  QtEngine(std::string folder, Keys keys) : folder_(std::move(folder)), context_(ContextOf(keys)) {}

  void Open(int language) override {
    translator_ = std::make_unique<QTranslator>();
    Switch(language);
  }

  void Switch(int language) override {
    if (!translator_->load(QString::fromStdString(CatalogFile(folder_, language)))) std::abort();
  }

  std::size_t Lookup(const std::string& key) override {
    return static_cast<std::size_t>(translator_->translate(context_, key.c_str()).size());
  }

 private:
  std::string folder_;
  const char* context_;
  std::unique_ptr<QTranslator> translator_;
};

}  // namespace

std::unique_ptr<Engine> MakeQtEngine(const Corpus& corpus, const std::string& folder, Keys keys,
                                     std::string& why) {
  const std::string root = folder + (keys == Keys::Context ? "/qt-context" : "/qt-word");
  fs::create_directories(root);
  for (int language = 1; language < corpus.LanguageCount(); ++language) {
    if (fs::exists(CatalogFile(root, language))) continue;
    if (!BuildCatalog(corpus, language, keys, root)) {
      why = "lrelease failed";
      return nullptr;
    }
  }
  return std::make_unique<QtEngine>(root, keys);
}

}  // namespace lx::bench
