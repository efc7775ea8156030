#include "EmbeddedForms.h"

#include <fstream>

#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/TextForm.h"
#include "platform/Resources.h"

namespace lx::dict::test {

LX_PUBLISHED(TEmbedModule)

std::vector<std::uint8_t> CompileForm(std::string_view text) {
  return framework::FormTextToBinary(text);
}

TFormResource::TFormResource(std::string className, std::vector<std::uint8_t> bytes)
    : className_(std::move(className)), bytes_(std::move(bytes)) {
  platform::RegisterResource(platform::RT_RCDATA, className_, bytes_);
}

TFormResource::~TFormResource() {
  platform::UnregisterResource(platform::RT_RCDATA, className_);
}

void WriteImageFile(const tools::PldImage& image, const std::string& fileName) {
  const std::vector<std::uint8_t> bytes = tools::WritePldImage(image);
  std::ofstream(fileName, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> SaveEmbeddedModule(const std::string& pldFile, TLxStorage storage) {
  TEmbedModule module(nullptr);
  module.SetName("EmbedModule");
  module.SetDesigning(true);
  auto* dictionary = new TLxBinaryDictionary(&module);
  dictionary->SetName("Dictionary");
  dictionary->SetFileName(pldFile);
  dictionary->SetStorage(storage);
  framework::TMemoryStream stream;
  framework::WriteComponentTo(stream, module);
  return stream.Bytes();
}

std::unique_ptr<TEmbedModule> LoadEmbedModule() {
  framework::RegisterClass(TLxBinaryDictionary::StaticClassInfo());
  auto module = std::make_unique<TEmbedModule>(nullptr);
  framework::LoadFormResource(*module);
  return module;
}

TLxBinaryDictionary& DictionaryOf(TEmbedModule& module) {
  return dynamic_cast<TLxBinaryDictionary&>(*module.FindComponent("Dictionary"));
}

TDialogLog::TDialogLog() {
  previous_ = framework::SetDialogSink([this](const framework::TDialogRequest& request) {
    requests.push_back(request);
    return request.defaultResult;
  });
}

TDialogLog::~TDialogLog() {
  framework::SetDialogSink(previous_);
}

}  // namespace lx::dict::test
