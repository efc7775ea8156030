#include "formtools/FormBatch.h"

#include <algorithm>
#include <filesystem>
#include <new>

#include "dict/LxBinDic.h"
#include "framework/streaming/TextForm.h"
#include "platform/CodePages.h"
#include "platform/Exception.h"
#include "platform/TextUtils.h"
#include "toolfiles/ToolFiles.h"
#include "translator/LxPoly.h"

namespace lx::tools {

namespace {

namespace fs = std::filesystem;

bool IsFormFile(const fs::path& path) {
  const std::string extension = path.extension().string();
  for (const char* kind : {".lfm", ".dfm", ".lxfm", ".xfm", ".fmx"})
    if (platform::SameTextAscii(extension, kind)) return true;
  return false;
}

void AddFolder(const fs::path& folder, std::vector<TFormFile>& files) {
  std::vector<TFormFile> found;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_symlink() || !entry.is_regular_file() || !IsFormFile(entry.path())) continue;
    found.push_back({entry.path().string(), fs::relative(entry.path(), folder).string(), true});
  }
  std::sort(found.begin(), found.end(),
            [](const TFormFile& a, const TFormFile& b) { return a.name < b.name; });
  files.insert(files.end(), found.begin(), found.end());
}

}  // namespace

std::vector<TFormFile> FormFilesOf(const std::vector<std::string>& inputs) {
  std::vector<TFormFile> files;
  for (const std::string& input : inputs) {
    std::error_code error;
    if (fs::is_directory(input, error) && !fs::is_symlink(input, error)) {
      AddFolder(input, files);
    } else {
      files.push_back({input, fs::path(input).filename().string()});
    }
  }
  return files;
}

// A dictionary that cannot be used is named in the message, not the form.
void OpenToolDictionary(dict::TLxBinaryDictionary& dictionary, const std::string& file,
                        int language) {
  const std::string name = InputName(file);
  const std::string opened = RegularInputFile(file);
  try {
    dictionary.SetFileName(fs::absolute(opened).string());
    dictionary.SetBinding(lang::lxbiNone);
    dictionary.SetCheckLevel(lang::lxclNone);
    dictionary.SetLanguage(language);
    dictionary.Open();
  } catch (const platform::Exception& error) {
    throw ToolFileError(name + ": " + ShortenQuoted(error.Message()));
  }
  if (!dictionary.IsOpen()) throw ToolFileError(name + ": cannot be opened as a dictionary");
}

TPassCount TranslateToolForm(TToolForm& form, dict::TLxBinaryDictionary& dictionary) {
  translator::TLxTranslator& formTranslator = form.Translator();
  // Bound to this dictionary whatever name the form gives (the only one registered).
  formTranslator.SetDictionary(&dictionary);
  form.TranslateTexts();
  TPassCount count;
  const translator::TLxTranslatorTable& table = formTranslator.Table();
  count.texts = table.Count();
  for (int i = 0; i < table.Count(); ++i) {
    const translator::TLxTranslatorTableItem& item = table.Items(i);
    if (item.CurrentStripped != item.NativeStripped) ++count.translated;
  }
  return count;
}

std::string FormPictureName(const std::string& formName, const std::string& isoLanguage,
                            const std::string& isoCountry) {
  auto plain = [](const std::string& code) {
    return !code.empty() && std::all_of(code.begin(), code.end(), [](char c) {
      return std::isalnum(static_cast<unsigned char>(c)) != 0;
    });
  };
  std::string code = "native";
  if (plain(isoLanguage)) code = plain(isoCountry) ? isoLanguage + "_" + isoCountry : isoLanguage;
  // The picture of a form in a folder goes beside the others, named by its path there.
  std::string stem = fs::path(formName).replace_extension().string();
  std::replace(stem.begin(), stem.end(), '/', '-');
  return stem + "." + code + ".png";
}

std::string TBatchSummary::Text() const {
  return "forms " + std::to_string(forms) + ", texts " + std::to_string(texts) + ", translated " +
         std::to_string(translated) + ", left alone " + std::to_string(texts - translated) +
         ", failed " + std::to_string(failed);
}

// One line of UTF-8, whatever bytes a broken stream put into the message.
std::string OneLine(const std::string& message) {
  std::string line = Excerpt(message, 200);
  const std::u16string wide = platform::MultiByteToWide(line, platform::CP_UTF8);
  const bool utf8 = wide.find(u'\uFFFD') == std::u16string::npos;
  for (char& c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127 || (byte >= 128 && !utf8)) c = '?';
  }
  return line;
}

std::string FailureLine(const std::string& file) {
  try {
    throw;
  } catch (const framework::EParserError& e) {
    std::string reason = e.Reason();
    if (reason == "Invalid UTF-8 text")
      reason += " (a form saved in a Windows code page needs --codepage N, such as 1252)";
    return file + ":" + std::to_string(e.Line()) + ": error: " + reason;
  } catch (const platform::Exception& e) {
    return file + ": error: " + OneLine(e.Message());
  } catch (const std::bad_alloc&) {
    return file + ": error: out of memory";
  } catch (const std::exception& e) {
    return file + ": error: " + OneLine(e.what());
  }
}

TBatchSummary TranslateForms(const std::vector<TFormFile>& files,
                             dict::TLxBinaryDictionary& dictionary, const std::string& outputDir,
                             const TFormOptions& options, std::ostream& errors) {
  TBatchSummary summary;
  for (const TFormFile& file : files) {
    ++summary.forms;
    try {
      TToolForm form(file.path, ReadInputFile(file.path), options);
      for (const std::string& note : form.Notes())
        errors << file.path << ": note: " << note << '\n';
      const TPassCount count = TranslateToolForm(form, dictionary);
      const fs::path target = fs::path(outputDir) / file.name;
      fs::create_directories(target.parent_path());
      WriteOutputFile(target.string(), form.Form().Write());
      summary.texts += count.texts;
      summary.translated += count.translated;
    } catch (...) {
      ++summary.failed;
      errors << FailureLine(file.path) << '\n';
    }
  }
  const std::string text = summary.Text() + "\n";
  WriteOutputFile((fs::path(outputDir) / "summary.txt").string(),
                  std::vector<std::uint8_t>(text.begin(), text.end()));
  return summary;
}

}  // namespace lx::tools
