// Qt's QTranslator on .qm catalogs built by lrelease.
#include <QString>
#include <QTranslator>
#include <filesystem>
#include <fstream>

#include "Engine.h"

namespace lx::bench {

namespace {

namespace fs = std::filesystem;
constexpr const char* kContext = "Form";

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

bool BuildCatalog(const Corpus& corpus, int language, const std::string& folder) {
  const std::string ts = folder + "/l" + std::to_string(language) + ".ts";
  {
    std::ofstream out(ts);
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
           "<TS version=\"2.1\" language=\"l"
        << language << "\">\n<context>\n<name>" << kContext << "</name>\n";
    const auto& texts = corpus.translations[language - 1];
    for (std::size_t i = 0; i < corpus.keys.size(); ++i) {
      out << "<message><source>" << XmlEscaped(corpus.keys[i]) << "</source><translation>"
          << XmlEscaped(texts[i]) << "</translation></message>\n";
    }
    out << "</context>\n</TS>\n";
  }
  return RunCommand(std::string(LX_LRELEASE) + " -silent " + ts + " -qm " +
                    CatalogFile(folder, language));
}

class QtEngine : public Engine {
 public:
  explicit QtEngine(std::string folder) : folder_(std::move(folder)) {}

  std::string Name() const override { return "Qt"; }

  void Open(int language) override {
    translator_ = std::make_unique<QTranslator>();
    Switch(language);
  }

  void Switch(int language) override {
    if (!translator_->load(QString::fromStdString(CatalogFile(folder_, language)))) std::abort();
  }

  std::size_t Lookup(const std::string& key) override {
    return static_cast<std::size_t>(translator_->translate(kContext, key.c_str()).size());
  }

 private:
  std::string folder_;
  std::unique_ptr<QTranslator> translator_;
};

}  // namespace

std::unique_ptr<Engine> MakeQtEngine(const Corpus& corpus, const std::string& folder,
                                     std::string& why) {
  const std::string root = folder + "/qt";
  fs::create_directories(root);
  for (int language = 1; language < corpus.LanguageCount(); ++language) {
    if (!BuildCatalog(corpus, language, root)) {
      why = "lrelease failed";
      return nullptr;
    }
  }
  return std::make_unique<QtEngine>(root);
}

}  // namespace lx::bench
