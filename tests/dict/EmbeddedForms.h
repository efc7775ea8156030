// Stored forms that carry a dictionary's data, for the tests of embedded data.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dict/LxBinDic.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "pldimage/PldImage.h"

namespace lx::dict::test {

/// The root of the test forms; its stored form is the resource "TEmbedModule".
class TEmbedModule : public framework::TDataModule {
  LX_CLASS(TEmbedModule, framework::TDataModule)

 public:
  explicit TEmbedModule(framework::TComponent* owner) : TDataModule(owner) {}
};

/// The bytes of a text form.
std::vector<std::uint8_t> CompileForm(std::string_view text);

/// Links `bytes` into the program as the form resource of `className` for as long as it
/// lives, like a form the build compiled in.
class TFormResource {
 public:
  TFormResource(std::string className, std::vector<std::uint8_t> bytes);
  ~TFormResource();
  TFormResource(const TFormResource&) = delete;
  TFormResource& operator=(const TFormResource&) = delete;
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::string className_;
  std::vector<std::uint8_t> bytes_;
};

/// Writes `image` to the file `fileName`.
void WriteImageFile(const tools::PldImage& image, const std::string& fileName);

/// Saves a module in design state whose dictionary "Dictionary" embeds the file `pldFile`
/// (or, with another storage, only names it).
std::vector<std::uint8_t> SaveEmbeddedModule(const std::string& pldFile,
                                             TLxStorage storage = lxsEmbedded);

/// A new module with its form resource "TEmbedModule" read, as a program creates it.
std::unique_ptr<TEmbedModule> LoadEmbedModule();

/// The module's dictionary "Dictionary".
TLxBinaryDictionary& DictionaryOf(TEmbedModule& module);

/// Answers every dialog with its default button and keeps it, while it lives.
class TDialogLog {
 public:
  TDialogLog();
  ~TDialogLog();
  TDialogLog(const TDialogLog&) = delete;
  TDialogLog& operator=(const TDialogLog&) = delete;
  std::vector<framework::TDialogRequest> requests;

 private:
  framework::TDialogSink previous_;
};

}  // namespace lx::dict::test
