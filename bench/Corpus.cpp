#include "Corpus.h"

#include <algorithm>
#include <random>
#include <unordered_set>

namespace lx::bench {

namespace {

const char* const kWords[] = {
    "Open",    "file",    "settings",   "the",     "selected", "window",   "save",    "changes",
    "before",  "closing", "print",      "preview", "page",     "layout",   "insert",  "table",
    "column",  "row",     "delete",     "all",     "items",    "export",   "report",  "to",
    "folder",  "new",     "document",   "recent",  "search",   "replace",  "text",    "in",
    "current", "project", "show",       "hidden",  "options",  "user",     "account", "password",
    "confirm", "cancel",  "download",   "update",  "install",  "language", "font",    "size",
    "color",   "zoom",    "undo",       "redo",    "copy",     "paste",    "format",  "image",
    "toolbar", "status",  "bar",        "help",    "about",    "version",  "license", "network",
    "server",  "connect", "disconnect", "sync",    "backup",   "restore",  "archive", "mail",
    "send",    "receive", "filter",     "sort",    "group",
};
constexpr std::size_t kWordCount = sizeof kWords / sizeof kWords[0];

std::string Phrase(std::mt19937& random) {
  std::string phrase;
  while (phrase.size() < 26) {
    if (!phrase.empty()) phrase += ' ';
    phrase += kWords[random() % kWordCount];
  }
  return phrase;
}

// A stand-in translation: letters shifted by the language number, framed by
// a language tag, so that every language differs and sizes stay comparable.
std::string Translate(const std::string& text, int language) {
  std::string result = "[" + std::to_string(language) + "] ";
  for (char c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>('a' + (c - 'a' + language) % 26);
    if (c >= 'A' && c <= 'Z') c = static_cast<char>('A' + (c - 'A' + language) % 26);
    result += c;
  }
  return result;
}

}  // namespace

Corpus MakeCorpus(std::size_t count, int languages, std::uint32_t seed) {
  Corpus corpus;
  std::mt19937 random(seed);
  std::unordered_set<std::string> seen;
  while (corpus.keys.size() < count) {
    std::string phrase = Phrase(random);
    if (seen.insert(phrase).second) corpus.keys.push_back(std::move(phrase));
  }
  while (corpus.missingKeys.size() < count) {
    std::string phrase = Phrase(random) + "?";
    if (seen.insert(phrase).second) corpus.missingKeys.push_back(std::move(phrase));
  }
  for (int language = 1; language < languages; ++language) {
    std::vector<std::string>& texts = corpus.translations.emplace_back();
    texts.reserve(count);
    for (const std::string& key : corpus.keys)
      texts.push_back(Translate(key, language));
  }
  corpus.shuffled.resize(count);
  for (std::size_t i = 0; i < count; ++i)
    corpus.shuffled[i] = i;
  std::shuffle(corpus.shuffled.begin(), corpus.shuffled.end(), random);
  return corpus;
}

const Corpus& BenchmarkCorpus() {
  static const Corpus corpus = MakeCorpus(50000, 10, 20261208);
  return corpus;
}

}  // namespace lx::bench
