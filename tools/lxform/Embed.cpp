#include "Embed.h"

#include <optional>

#include "dict/LxBinDic.h"
#include "framework/controls/Dialogs.h"
#include "framework/core/ScopeExit.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/streaming/Filer.h"
#include "toolfiles/ToolFiles.h"

namespace lx::tools {

namespace {

using framework::TReader;

// Where the dictionary component lies in the form: its header (prefix, class and name) and
// the whole component.
struct TSpan {
  std::int64_t start = 0;
  std::int64_t headerEnd = 0;
  std::int64_t end = 0;
  std::string name;
  std::string className;
};

// A stored component split in two: its events, which name methods of a form this tool does
// not have and so pass through untouched, and everything else.
struct TSplitComponent {
  std::vector<std::uint8_t> events;
  std::vector<std::uint8_t> rest;
};

bool IsDictionaryClass(const std::string& className) {
  const framework::TClassInfo* found = framework::GetClass(className);
  return found != nullptr && found->InheritsFrom(dict::TLxBinaryDictionary::StaticClassInfo());
}

// The root's direct children that may be the dictionary.
std::vector<TSpan> FindCandidates(framework::TMemoryStream& form,
                                  const std::string& componentName) {
  TReader reader(form, 4096);
  reader.ReadSignature();
  framework::TFilerFlags flags;
  int childPos = 0;
  reader.ReadPrefix(flags, childPos);
  reader.ReadStr();
  reader.ReadStr();
  while (!reader.EndOfList())
    reader.SkipProperty();
  reader.ReadListEnd();
  std::vector<TSpan> candidates;
  while (!reader.EndOfList()) {
    TSpan span;
    span.start = reader.Position();
    reader.ReadPrefix(flags, childPos);
    const std::string className = reader.ReadStr();
    span.className = className;
    span.name = reader.ReadStr();
    span.headerEnd = reader.Position();
    reader.SkipComponent(false);
    span.end = reader.Position();
    const bool named = !componentName.empty() && span.name == componentName;
    if (named && !IsDictionaryClass(className)) {
      throw EEmbedError(componentName + " is a " + className + ", not a TLxBinaryDictionary");
    }
    if (named || (componentName.empty() && IsDictionaryClass(className)))
      candidates.push_back(span);
  }
  return candidates;
}

TSpan FindDictionary(const std::vector<std::uint8_t>& bytes, const std::string& componentName) {
  framework::TMemoryStream form(bytes);
  const std::vector<TSpan> candidates = FindCandidates(form, componentName);
  if (candidates.empty()) {
    throw EEmbedError(componentName.empty()
                          ? "the form has no TLxBinaryDictionary among the root's components"
                          : "the form's root has no component " + componentName);
  }
  if (candidates.size() > 1) {
    throw EEmbedError("the form has " + std::to_string(candidates.size()) +
                      " dictionaries; choose one with --dictionary");
  }
  return candidates.front();
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::int64_t from,
                                std::int64_t to) {
  return std::vector<std::uint8_t>(bytes.begin() + from, bytes.begin() + to);
}

TSplitComponent SplitEvents(const std::vector<std::uint8_t>& bytes, const TSpan& span) {
  const framework::TClassInfo& classInfo = *framework::GetClass(span.className);
  framework::TMemoryStream form(bytes);
  form.SetPosition(span.headerEnd);
  TReader reader(form, 4096);
  TSplitComponent split;
  split.rest = Slice(bytes, span.start, span.headerEnd);
  while (!reader.EndOfList()) {
    const std::int64_t start = reader.Position();
    const framework::TPropInfo* property = classInfo.FindProperty(reader.ReadStr());
    reader.SkipValue();
    auto& part =
        property != nullptr && property->Kind() == framework::tkMethod ? split.events : split.rest;
    const std::vector<std::uint8_t> piece = Slice(bytes, start, reader.Position());
    part.insert(part.end(), piece.begin(), piece.end());
  }
  const std::vector<std::uint8_t> end = Slice(bytes, reader.Position(), span.end);
  split.rest.insert(split.rest.end(), end.begin(), end.end());
  return split;
}

// A form of its own holding only the dictionary, so that it can be read as forms are read.
std::vector<std::uint8_t> HolderForm(const std::vector<std::uint8_t>& component) {
  framework::TMemoryStream stream;
  {
    framework::TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteComponentHeader({}, 0, "TComponent", "");
    writer.WriteListEnd();
    writer.Write(component.data(), static_cast<std::int64_t>(component.size()));
    writer.WriteListEnd();
    writer.FlushBuffer();
  }
  return stream.Bytes();
}

// The dictionary's properties as it writes them now, its events as they were, and its empty
// list of children.
std::vector<std::uint8_t> WrittenProperties(framework::TComponent& holder,
                                            dict::TLxBinaryDictionary& dictionary,
                                            const std::vector<std::uint8_t>& events) {
  framework::TMemoryStream stream;
  framework::TWriter writer(stream);
  writer.SetRoot(&holder);
  writer.WriteProperties(dictionary);
  writer.Write(events.data(), static_cast<std::int64_t>(events.size()));
  writer.WriteListEnd();
  writer.WriteListEnd();
  writer.FlushBuffer();
  return stream.Bytes();
}

}  // namespace

std::vector<std::uint8_t> EmbedDictionary(const std::vector<std::uint8_t>& form,
                                          const std::string& pldFile,
                                          const std::string& componentName) {
  framework::RegisterClass(dict::TLxBinaryDictionary::StaticClassInfo());
  const TSpan span = FindDictionary(form, componentName);
  const TSplitComponent split = SplitEvents(form, span);

  framework::TComponent holder(nullptr);
  holder.SetDesigning(true);
  framework::TMemoryStream holderForm(HolderForm(split.rest));
  framework::ReadComponentFrom(holderForm, &holder);
  auto& dictionary = dynamic_cast<dict::TLxBinaryDictionary&>(*holder.Components(0));

  // The dictionary tells in a message box why it stores no data; that is an error here.
  std::optional<std::string> refusal;
  const framework::TDialogSink previous =
      framework::SetDialogSink([&refusal](const framework::TDialogRequest& request) {
        if (request.kind == framework::TDialogRequest::TKind::MessageBox) refusal = request.text;
        return request.defaultResult;
      });
  framework::TScopeExit restore([&previous] { framework::SetDialogSink(previous); });
  dictionary.SetFileName(pldFile);
  dictionary.SetStorage(dict::lxsEmbedded);
  if (pldFile.empty()) throw EEmbedError("no dictionary file");
  RegularInputFile(pldFile);
  std::vector<std::uint8_t> properties;
  // What goes wrong now is the dictionary file's fault, not the form's.
  try {
    properties = WrittenProperties(holder, dictionary, split.events);
  } catch (const platform::Exception& error) {
    throw ToolFileError(pldFile + ": " + ShortenQuoted(error.Message()));
  }
  if (refusal) throw ToolFileError(*refusal);

  std::vector<std::uint8_t> result = Slice(form, 0, span.headerEnd);
  result.insert(result.end(), properties.begin(), properties.end());
  result.insert(result.end(), form.begin() + span.end, form.end());
  return result;
}

}  // namespace lx::tools
